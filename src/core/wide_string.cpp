#include "core/wide_string.h"

#include <cstdio>

#include "core/memory.h"

namespace {

// Unicode code points of Windows-1252 bytes 0x80..0x9F; zero marks the five unassigned ones,
// which map to the same-numbered C1 control character as the Windows conversion does.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

}  // namespace

size_t StringLength(const char16_t* text) {
  if (text == nullptr) return 0;
  size_t length = 0;
  while (text[length] != 0) ++length;
  return length;
}

char16_t* DupString(char16_t** out, const char16_t* source) {
  return DupStringN(out, source, StringLength(source));
}

char16_t* DupStringN(char16_t** out, const char16_t* source, size_t n) {
  char16_t* copy = CheckedAllocArray<char16_t>(n + 1);
  if (copy != nullptr) {
    size_t i = 0;
    for (; i < n && source != nullptr && source[i] != 0; ++i) copy[i] = source[i];
    for (; i <= n; ++i) copy[i] = 0;
  }
  if (out != nullptr) *out = copy;
  return copy;
}

void FreeString(char16_t** holder) {
  if (holder == nullptr || *holder == nullptr) return;
  Free(*holder);
  *holder = nullptr;
}

char16_t ToLowerChar(char16_t c) {
  if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 32);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 32);
  return c;
}

char16_t ToUpperChar(char16_t c) {
  if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 32);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 32);
  return c;
}

int CompareNoCase(const char16_t* a, const char16_t* b) {
  if (a == nullptr) a = u"";
  if (b == nullptr) b = u"";
  for (;; ++a, ++b) {
    const int ca = ToLowerChar(*a);
    const int cb = ToLowerChar(*b);
    if (ca != cb || ca == 0) return ca - cb;
  }
}

bool EqualsNoCase(const char16_t* a, const char16_t* b) { return CompareNoCase(a, b) == 0; }

char16_t WideFromCp1252(uint8_t byte) {
  if (byte < 0x80 || byte >= 0xA0) return byte;
  const char16_t mapped = kCp1252High[byte - 0x80];
  return mapped != 0 ? mapped : byte;
}

uint8_t Cp1252FromWide(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<uint8_t>(c);
  for (int i = 0; i < 32; ++i) {
    if (kCp1252High[i] == c || (kCp1252High[i] == 0 && c == 0x80 + i)) return static_cast<uint8_t>(0x80 + i);
  }
  return '?';
}

std::u16string WideFromCp1252(const char* text, size_t length) {
  std::u16string wide(length, u'\0');
  for (size_t i = 0; i < length; ++i) wide[i] = WideFromCp1252(static_cast<uint8_t>(text[i]));
  return wide;
}

std::u16string WideFromCp1252(const std::string& text) { return WideFromCp1252(text.data(), text.size()); }

std::string Cp1252FromWide(const char16_t* text) {
  std::string narrow;
  for (size_t i = 0; text != nullptr && text[i] != 0; ++i) narrow.push_back(static_cast<char>(Cp1252FromWide(text[i])));
  return narrow;
}

std::string Utf8FromWide(const char16_t* text) {
  std::string out;
  for (size_t i = 0; text != nullptr && text[i] != 0; ++i) {
    uint32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;  // a lone surrogate
    }
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

std::u16string WideFromUtf8(const std::string& text) {
  std::u16string out;
  size_t i = 0;
  while (i < text.size()) {
    const uint8_t lead = static_cast<uint8_t>(text[i]);
    uint32_t c = 0xFFFD;
    size_t extra = 0;
    if (lead < 0x80) {
      c = lead;
    } else if ((lead & 0xE0) == 0xC0) {
      c = lead & 0x1F;
      extra = 1;
    } else if ((lead & 0xF0) == 0xE0) {
      c = lead & 0x0F;
      extra = 2;
    } else if ((lead & 0xF8) == 0xF0) {
      c = lead & 0x07;
      extra = 3;
    }
    ++i;
    for (size_t k = 0; k < extra; ++k, ++i) {
      if (i >= text.size() || (static_cast<uint8_t>(text[i]) & 0xC0) != 0x80) {
        c = 0xFFFD;
        break;
      }
      c = (c << 6) | (static_cast<uint8_t>(text[i]) & 0x3F);
    }
    if (c >= 0x10000 && c <= 0x10FFFF) {
      c -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(c > 0x10FFFF ? 0xFFFD : c));
    }
  }
  return out;
}

std::string JsonString(const char16_t* text) {
  std::string out = "\"";
  for (const char c : Utf8FromWide(text)) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + '"';
}
