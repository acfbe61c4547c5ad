#include "content/ini.h"

#include <memory>

#include "core/memory.h"
#include "core/wide_string.h"

namespace {

// A blank is any character from 1 to 32: space, tab, carriage return, line feed and the other
// control characters. Only the line feed ends a line, so a carriage return before it is just a
// trailing blank.
bool IsBlank(char16_t c) { return c >= 1 && c <= 32; }

// Separators between unquoted values. A tab is not one: it belongs to the value.
bool IsValueSeparator(char16_t c) { return c == u' ' || c == u'"' || c == u'\n'; }

void SkipBlanks(const char16_t*& cursor) {
  while (IsBlank(*cursor)) ++cursor;
}

void SkipBlanksWithinLine(const char16_t*& cursor) {
  while (IsBlank(*cursor) && *cursor != u'\n') ++cursor;
}

// Reads a section or key name as words: a word is a run of characters above 32 other than
// `stop`, and words are joined by a single space, so inner runs of blanks collapse and blanks
// at either end are dropped. Reading ends at `stop`, at the end of the text, and, for key names
// (acrossLines false), at a line end. A name longer than 24 characters keeps its first 24; the
// rest of it is scanned over and dropped. `cursor` is left on the character that ended it.
void ReadName(const char16_t*& cursor, char16_t stop, bool acrossLines, char16_t (&name)[kIniNameSize]) {
  size_t length = 0;
  for (;;) {
    for (; *cursor > 32 && *cursor != stop; ++cursor) {
      if (length < kIniMaxNameLength) name[length++] = *cursor;
    }
    if (acrossLines) {
      SkipBlanks(cursor);
    } else {
      SkipBlanksWithinLine(cursor);
    }
    if (*cursor == 0 || *cursor == stop || *cursor == u'\n') break;
    if (length < kIniMaxNameLength) name[length++] = u' ';
  }
  name[length] = 0;
}

void CopyName(char16_t (&target)[kIniNameSize], const char16_t (&source)[kIniNameSize]) {
  for (size_t i = 0; i < kIniNameSize; ++i) target[i] = source[i];
}

// Puts a freshly made element into its holder's array; deletes it when the array cannot grow.
template <typename T>
T* AppendOrDelete(PtrArray<T*>& array, T* element) {
  if (array.Append(element)) return element;
  delete element;
  return nullptr;
}

struct BlockDeleter {
  void operator()(char16_t* block) const { Free(block); }
};
using OwnedText = std::unique_ptr<char16_t, BlockDeleter>;

}  // namespace

IniValue::IniValue(const char16_t* chars, size_t count) { DupStringN(&text, chars, count); }

IniValue::~IniValue() { FreeString(&text); }

uint32_t IniValue::ToInt() const {
  if (text == nullptr) return 0;
  uint32_t value = 0;
  if (text[0] == u'0' && text[1] == u'x') {
    for (const char16_t* c = text + 2;; ++c) {
      uint32_t digit;
      if (*c >= u'0' && *c <= u'9') {
        digit = *c - u'0';
      } else if (*c >= u'a' && *c <= u'f') {
        digit = *c - u'a' + 10;
      } else if (*c >= u'A' && *c <= u'F') {
        digit = *c - u'A' + 10;
      } else {
        break;
      }
      value = value * 16 + digit;
    }
    return value;
  }
  for (const char16_t* c = text; *c >= u'0' && *c <= u'9'; ++c) value = value * 10 + (*c - u'0');
  return value;
}

bool IniValue::ToBool() const {
  return text != nullptr && (text[0] == u'1' || text[0] == u't' || text[0] == u'T');
}

bool IniValue::Equals(const char16_t* word) const { return text != nullptr && EqualsNoCase(text, word); }

void IniKey::ParseValues(const char16_t* text, size_t length) {
  values.DeleteAll();
  if (text == nullptr) return;
  // Reads stop at `length` or at the terminator, whichever comes first; the scan never steps
  // past a zero, so nothing beyond the terminator is touched.
  auto at = [&](size_t i) -> char16_t { return i < length ? text[i] : 0; };
  size_t i = 0;
  for (;;) {
    while (IsBlank(at(i))) ++i;
    if (at(i) == 0) return;
    size_t start;
    size_t end;
    if (at(i) == u'"') {
      start = ++i;
      while (at(i) != 0 && at(i) != u'"' && at(i) != u'\n') ++i;
      end = i;
      if (at(i) == u'"') ++i;  // an unclosed quote runs to the end of the line
    } else {
      start = i;
      while (at(i) != 0 && !IsValueSeparator(at(i))) ++i;
      end = i;
      while (IsValueSeparator(at(i))) ++i;
    }
    if (end == start) continue;  // "" gives no value
    IniValue* value = new IniValue(text + start, end - start);
    if (value->text == nullptr) {
      delete value;  // out of memory: the value is left out
      continue;
    }
    AppendOrDelete(values, value);
  }
}

IniKey* IniSection::FindKey(const char16_t* name) const {
  for (IniKey* key : keys) {
    if (EqualsNoCase(key->name, name)) return key;
  }
  return nullptr;
}

void IniSection::ParseBody(const char16_t* text) {
  keys.DeleteAll();
  if (text == nullptr) return;
  const char16_t* cursor = text;
  for (;;) {
    SkipBlanks(cursor);
    if (*cursor == 0) return;
    if (*cursor == u'/') {  // a comment runs to the line end
      while (*cursor != 0 && *cursor != u'\n') ++cursor;
      continue;
    }
    char16_t keyName[kIniNameSize];
    ReadName(cursor, u'=', false, keyName);
    if (*cursor != u'=') continue;  // a line without "=" defines nothing
    ++cursor;
    SkipBlanksWithinLine(cursor);
    const char16_t* valueStart = cursor;
    while (*cursor != 0 && *cursor != u'\n') ++cursor;
    const char16_t* valueEnd = cursor;
    while (valueEnd > valueStart && IsBlank(valueEnd[-1])) --valueEnd;
    if (valueEnd == valueStart) continue;  // "Key =" alone defines nothing

    IniKey* key = AppendOrDelete(keys, new IniKey);
    if (key == nullptr) continue;
    CopyName(key->name, keyName);
    size_t valueLength = static_cast<size_t>(valueEnd - valueStart);
    if (valueLength > kIniMaxValueTextLength) valueLength = kIniMaxValueTextLength;
    key->ParseValues(valueStart, valueLength);
  }
}

bool IniDocument::LoadFromBuffer(const uint8_t* bytes, uint32_t size) {
  sections.DeleteAll();
  if (bytes == nullptr) size = 0;
  OwnedText wide(CheckedAllocArray<char16_t>(size_t{size} + 1));
  if (wide == nullptr) return false;
  // One character per byte; a zero byte becomes the terminator, which ends the parse there.
  for (uint32_t i = 0; i < size; ++i) wide.get()[i] = WideFromCp1252(bytes[i]);
  wide.get()[size] = 0;
  ParseText(wide.get());
  return true;
}

void IniDocument::ParseText(const char16_t* text) {
  sections.DeleteAll();
  if (text == nullptr) return;
  const char16_t* cursor = text;
  for (;;) {
    while (*cursor != 0 && *cursor != u'[') ++cursor;
    if (*cursor == 0) return;
    ++cursor;
    SkipBlanks(cursor);
    char16_t sectionName[kIniNameSize];
    ReadName(cursor, u']', true, sectionName);
    if (*cursor != u']' || sectionName[0] == 0) continue;  // unclosed header or empty name
    ++cursor;

    IniSection* section = AppendOrDelete(sections, new IniSection);
    SkipBlanks(cursor);
    const char16_t* bodyStart = cursor;
    while (*cursor != 0 && *cursor != u'[') ++cursor;
    const char16_t* bodyEnd = cursor;
    while (bodyEnd > bodyStart && IsBlank(bodyEnd[-1])) --bodyEnd;
    if (section == nullptr) continue;
    CopyName(section->name, sectionName);
    if (bodyEnd == bodyStart) continue;
    // The body gets its own terminated copy so that its parse stops at the "[" that ended it.
    char16_t* bodyCopy = nullptr;
    OwnedText body(DupStringN(&bodyCopy, bodyStart, static_cast<size_t>(bodyEnd - bodyStart)));
    section->ParseBody(body.get());
  }
}

IniSection* IniDocument::FindSection(const char16_t* name) const {
  for (IniSection* section : sections) {
    if (EqualsNoCase(section->name, name)) return section;
  }
  return nullptr;
}
