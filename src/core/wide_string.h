// Wide text helpers. All text in the game is UTF-16 (`char16_t`); 8-bit text from content
// files is Windows-1252 and is widened one byte to one character. Names of sections, keys,
// definitions and meshes are compared ignoring case.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Owned copies in CheckedAlloc blocks. Both store the new block in *out and return it (null,
// with *out null, when memory ran out).
char16_t* DupString(char16_t** out, const char16_t* source);
// Copies at most n characters (stopping early at a terminator) and terminates at position n.
char16_t* DupStringN(char16_t** out, const char16_t* source, size_t n);
// Frees the text if there is one and clears the holder.
void FreeString(char16_t** holder);

size_t StringLength(const char16_t* text);

// Like _wcsicmp: <0, 0 or >0, comparing the lower-case forms of ASCII and Latin-1 letters.
int CompareNoCase(const char16_t* a, const char16_t* b);
bool EqualsNoCase(const char16_t* a, const char16_t* b);
char16_t ToLowerChar(char16_t c);
char16_t ToUpperChar(char16_t c);

// Windows-1252 to UTF-16 and back (characters outside the code page become '?').
char16_t WideFromCp1252(uint8_t byte);
uint8_t Cp1252FromWide(char16_t c);
std::u16string WideFromCp1252(const char* text, size_t length);
std::u16string WideFromCp1252(const std::string& text);
std::string Cp1252FromWide(const char16_t* text);

// UTF-8 for file-system paths and the terminal, UTF-16 for everything the game holds.
std::string Utf8FromWide(const char16_t* text);
std::u16string WideFromUtf8(const std::string& text);
// `text` (null: empty) as a quoted JSON string in UTF-8, for the state lines of scripted runs.
std::string JsonString(const char16_t* text);
