// The built core.bin as the game sees it: the registry loaded from the build's program folder,
// and small readers for what the checks need (INI files and pictures from the pack, the sizes
// in a JPEG header), written from the file formats rather than taken from the generator.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "content/content_registry.h"
#include "content/data_buffer.h"
#include "content/ini.h"
#include "core/wide_string.h"

namespace core_pack {

inline std::u16string BinFolder() { return WideFromUtf8(std::string(KESTREL_BIN_DIR) + "/"); }
inline std::string CorePackPath() { return std::string(KESTREL_BIN_DIR) + "/core.bin"; }

// One registry for the whole test program: loading it reads every list file of the pack.
inline const ContentRegistry& Registry() {
  static ContentRegistry* registry = [] {
    auto* r = new ContentRegistry;
    r->Load(BinFolder().c_str());
    return r;
  }();
  return *registry;
}

inline const ContentPack* CorePack() { return Registry().packs.Empty() ? nullptr : Registry().packs[0]; }

inline std::vector<uint8_t> ReadEntry(const ContentPack* pack, const char16_t* name) {
  const DataBuffer buffer(pack, name);
  return std::vector<uint8_t>(buffer.data, buffer.data + buffer.size);
}

// An INI file of the pack, parsed as the game parses it. Empty when the file is missing.
inline void ReadIni(const ContentPack* pack, const char16_t* name, IniDocument& document) {
  const DataBuffer buffer(pack, name);
  document.LoadFromBuffer(buffer.data, buffer.size);
}

inline std::string Text(const char16_t* text) { return text != nullptr ? Utf8FromWide(text) : std::string("(none)"); }

// Width, height and colour components from a JPEG's frame header (SOF0..SOF2); all zero when
// the bytes hold no frame header.
struct JpegFrame {
  uint32_t width = 0, height = 0, components = 0;
};

inline JpegFrame ReadJpegFrame(const std::vector<uint8_t>& bytes) {
  JpegFrame frame;
  if (bytes.size() < 4 || bytes[0] != 0xFF || bytes[1] != 0xD8) return frame;
  size_t at = 2;
  while (at + 4 <= bytes.size() && bytes[at] == 0xFF) {
    const uint8_t marker = bytes[at + 1];
    const size_t length = size_t{bytes[at + 2]} << 8 | bytes[at + 3];
    if (marker >= 0xC0 && marker <= 0xC2 && at + 10 <= bytes.size()) {
      frame.height = uint32_t{bytes[at + 5]} << 8 | bytes[at + 6];
      frame.width = uint32_t{bytes[at + 7]} << 8 | bytes[at + 8];
      frame.components = bytes[at + 9];
      return frame;
    }
    at += 2 + length;
  }
  return frame;
}

}  // namespace core_pack
