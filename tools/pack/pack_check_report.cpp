// The report of `kestrel-pack check` and the small helpers every part of it shares.
#include "content/data_buffer.h"
#include "core/wide_string.h"
#include "pack_check_internal.h"

namespace pack_check {

std::string Show(const char16_t* text) { return text != nullptr ? Utf8FromWide(text) : std::string(); }

std::string ShowFile(const char16_t* name) {
  std::string shown = Show(name);
  for (char& c : shown) c = c == '\\' ? '/' : c;
  return shown;
}

std::string Quote(const char16_t* text) { return "\"" + Show(text) + "\""; }
std::string QuoteFile(const char16_t* name) { return "\"" + ShowFile(name) + "\""; }

std::string KeyOf(const IniSection& section, const std::string& key) {
  return "[" + Show(section.name) + "]" + (key.empty() ? "" : " " + key);
}

std::string KeyOf(const IniSection& section, const char16_t* key) { return KeyOf(section, Show(key)); }

bool WholeNumber(const IniValue& value, uint64_t& number) {
  const char16_t* c = value.text;
  if (c == nullptr || *c == 0) return false;
  const bool hex = c[0] == u'0' && c[1] == u'x';
  if (hex) c += 2;
  number = 0;
  bool digits = false;
  for (; *c != 0; ++c, digits = true) {
    uint32_t digit;
    if (*c >= u'0' && *c <= u'9') {
      digit = *c - u'0';
    } else if (hex && *c >= u'a' && *c <= u'f') {
      digit = *c - u'a' + 10;
    } else if (hex && *c >= u'A' && *c <= u'F') {
      digit = *c - u'A' + 10;
    } else {
      return false;
    }
    number = number * (hex ? 16 : 10) + digit;
    if (number > UINT32_MAX) return false;  // the reader would wrap it
  }
  return digits;
}

void Report::Add(const Where& where, const std::string& problem) {
  const int number = lineFinder_.LineOf(where.file, where.key);
  std::string line = ShowFile(where.file) + (number > 0 ? ":" + std::to_string(number) : "") + ": " + where.key + ": " + problem;
  if (seen_.insert(line).second) lines_.push_back(std::move(line));
}

std::string MatchName(const std::string& stored) {
  std::string name = stored;
  for (char& c : name) {
    if (c == '/') c = '\\';
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return name;
}

bool Context::Listed(const char16_t* name) const {
  return name != nullptr && entrySizes.count(MatchName(Cp1252FromWide(name))) != 0;
}

std::string Context::WhyMissing(const char16_t* name) const {
  if (!Listed(name)) return "not in the pack";
  if (entrySizes.at(MatchName(Cp1252FromWide(name))) == 0) return "an empty file";
  return "damaged in the pack (its CRC or data check fails)";
}

bool Context::ReadMeshList() {
  if (!meshListRead) {
    meshListRead = true;
    const DataBuffer file(pack, u"meshes.ini");
    meshListPresent = !file.Empty();
    if (meshListPresent) meshList.LoadFromBuffer(file.data, file.size);
  }
  return meshListPresent;
}

bool JpegSize(const uint8_t* bytes, uint32_t size, uint32_t& width, uint32_t& height) {
  if (bytes == nullptr || size < 4 || bytes[0] != 0xFF || bytes[1] != 0xD8) return false;
  uint32_t at = 2;
  while (at + 4 <= size && bytes[at] == 0xFF) {
    const uint8_t marker = bytes[at + 1];
    const uint32_t length = static_cast<uint32_t>(bytes[at + 2] << 8 | bytes[at + 3]);
    // Start-of-frame markers: 0xC0..0xCF but for DHT (C4), JPG (C8) and DAC (CC).
    const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame && at + 9 <= size) {
      height = static_cast<uint32_t>(bytes[at + 5] << 8 | bytes[at + 6]);
      width = static_cast<uint32_t>(bytes[at + 7] << 8 | bytes[at + 8]);
      return true;
    }
    if (marker == 0xDA || length < 2) return false;  // the scan starts before any frame header
    at += 2 + length;
  }
  return false;
}

}  // namespace pack_check
