#include "content/definition_reading.h"

#include "core/wide_string.h"

void CopyName(char16_t (&target)[kIniNameSize], const char16_t* name) {
  size_t i = 0;
  for (; name != nullptr && i < kIniMaxNameLength && name[i] != 0; ++i) target[i] = name[i];
  target[i] = 0;
}

void ReplaceText(char16_t** holder, const char16_t* text) {
  FreeString(holder);
  DupString(holder, text);
}
