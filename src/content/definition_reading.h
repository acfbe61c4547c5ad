// Small helpers shared by the readers of helicopter, weapon and mission sections.
#pragma once

#include <cstdint>

#include "content/ini.h"

// The key when it exists with at least `count` values, else null (the field keeps its default).
inline const IniKey* KeyWithValues(const IniSection& section, const char16_t* name, uint16_t count) {
  const IniKey* key = section.FindKey(name);
  return key != nullptr && key->values.Count() >= count ? key : nullptr;
}

inline uint32_t ValueInt(const IniKey& key, uint16_t index) { return key.values[index]->ToInt(); }
inline const char16_t* ValueText(const IniKey& key, uint16_t index) { return key.values[index]->text; }

// Copies a section name into a record's 25-character name field.
void CopyName(char16_t (&target)[kIniNameSize], const char16_t* name);

// Replaces an owned text (freeing the old one) by a copy of `text`.
void ReplaceText(char16_t** holder, const char16_t* text);
