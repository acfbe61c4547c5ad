// INI documents: the one text format of the content (pack manifests, mission, helicopter and
// weapon files, mesh lists).
//
// A document is a list of sections, a section a list of keys, a key a list of values, all in
// file order. Names are matched ignoring case and need not be unique: lookups return the first
// match. The grammar is lenient and reports nothing; whatever it cannot read it skips:
//
//   text before the first "[" is ignored
//   [ Section  Name ]        runs of blanks inside a name become one space
//   // comment               a line starting with "/"
//   Key Name = 100 250 -40   three values, separated by spaces
//   Text = "one phrase"      one value that keeps its spaces
//
// A "[" anywhere, even in a value or a comment, ends the section body: a value cannot hold one.
// Names hold at most 24 characters and a value line at most 255; longer ones are cut to that
// length (the excess is skipped), so nothing ever runs past the fixed name buffers.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/ptr_array.h"

constexpr size_t kIniMaxNameLength = 24;
constexpr size_t kIniNameSize = kIniMaxNameLength + 1;  // with the terminator
constexpr size_t kIniMaxValueTextLength = 255;        // characters after "=" on one line
constexpr size_t kIniUnlimitedLength = SIZE_MAX;      // ParseValues up to the terminator

class IniValue {
 public:
  IniValue() = default;
  // Copies `count` characters (fewer if a terminator comes first); text stays null when memory
  // ran out.
  IniValue(const char16_t* chars, size_t count);
  ~IniValue();
  IniValue(const IniValue&) = delete;
  IniValue& operator=(const IniValue&) = delete;

  // Decimal digits, or hexadecimal after a lower-case "0x", read up to the first other
  // character. No sign and no overflow check: "-5" is 0, "12.5" is 12, "0X1F" is 0, and larger
  // numbers wrap modulo 2^32.
  uint32_t ToInt() const;
  // True when the text starts with "1", "t" or "T" ("True", "true", "1", but also "10").
  bool ToBool() const;
  // Equality with `word` ignoring case.
  bool Equals(const char16_t* word) const;

  char16_t* text = nullptr;  // owned; never empty when made by the parser
};

class IniKey {
 public:
  IniKey() = default;
  ~IniKey() { values.DeleteAll(); }
  IniKey(const IniKey&) = delete;
  IniKey& operator=(const IniKey&) = delete;

  // Replaces the values by those read from the first `length` characters of `text` (or up to
  // its terminator): values are separated by spaces, double quotes and line ends; a value in
  // double quotes keeps its spaces; an empty pair of quotes gives no value.
  void ParseValues(const char16_t* text, size_t length = kIniUnlimitedLength);

  PtrArray<IniValue*> values;  // in line order; may be empty (Key = "")
  char16_t name[kIniNameSize] = {};
};

class IniSection {
 public:
  IniSection() = default;
  ~IniSection() { keys.DeleteAll(); }
  IniSection(const IniSection&) = delete;
  IniSection& operator=(const IniSection&) = delete;

  // The first key named `name` ignoring case, or null.
  IniKey* FindKey(const char16_t* name) const;
  // Replaces the keys by the "Name = values" lines of the zero-terminated `text`.
  void ParseBody(const char16_t* text);

  PtrArray<IniKey*> keys;  // in file order
  char16_t name[kIniNameSize] = {};
};

class IniDocument {
 public:
  IniDocument() = default;
  ~IniDocument() { sections.DeleteAll(); }
  IniDocument(const IniDocument&) = delete;
  IniDocument& operator=(const IniDocument&) = delete;

  // Replaces the document by the parse of `size` bytes of Windows-1252 text, one character per
  // byte; a zero byte ends the text. False (and an empty document) only when memory ran out.
  bool LoadFromBuffer(const uint8_t* bytes, uint32_t size);
  // Replaces all sections by those of the zero-terminated `text`.
  void ParseText(const char16_t* text);
  // The first section named `name` ignoring case, or null.
  IniSection* FindSection(const char16_t* name) const;

  PtrArray<IniSection*> sections;  // in file order
};
