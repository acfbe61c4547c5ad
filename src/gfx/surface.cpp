#include "gfx/surface.h"

#include <cstring>
#include <utility>

#include "core/memory.h"

namespace {

constexpr uint32_t FormatWord(uint32_t bitsPerPixel) {
  return (bitsPerPixel << Surface::kBitsPerPixelShift) | (1u << Surface::kLevelCountShift);
}

}  // namespace

Surface::Surface() : Surface(16) {}

Surface::Surface(uint32_t bitsPerPixel) : format(FormatWord(bitsPerPixel)) {}

Surface::~Surface() { Release(); }

Surface::Surface(Surface&& other) noexcept : format(other.format) { TakeFrom(other); }

Surface& Surface::operator=(Surface&& other) noexcept {
  if (this != &other) {
    Release();
    TakeFrom(other);
  }
  return *this;
}

void Surface::TakeFrom(Surface& other) {
  pixels = std::exchange(other.pixels, nullptr);
  width = std::exchange(other.width, 0);
  height = std::exchange(other.height, 0);
  pitch = std::exchange(other.pitch, 0);
  format = other.format;
  other.format &= ~kOwnsMemory;
}

bool Surface::Create(uint32_t newWidth, uint32_t newHeight) {
  Release();
  const uint64_t rowBytes = ((static_cast<uint64_t>(BitsPerPixel()) * newWidth + 31) / 8) & ~uint64_t{3};
  const uint64_t totalBytes = rowBytes * newHeight;
  if (newWidth > UINT16_MAX || newHeight > UINT16_MAX || rowBytes > UINT16_MAX || totalBytes > UINT32_MAX) {
    return false;
  }
  // No palette, so the header in front of the pixels is empty and the block starts with row 0.
  void* block = CheckedAlloc(static_cast<uint32_t>(totalBytes));
  if (block == nullptr) return false;
  pixels = static_cast<uint16_t*>(block);
  width = static_cast<uint16_t>(newWidth);
  height = static_cast<uint16_t>(newHeight);
  pitch = static_cast<uint16_t>(rowBytes);
  format |= kOwnsMemory;
  return true;
}

void Surface::Release() {
  if (OwnsMemory()) Free(pixels);
  pixels = nullptr;
  width = 0;
  height = 0;
  pitch = 0;
  format &= ~kOwnsMemory;
}

void Surface::FillRows(uint32_t byteOffset, uint32_t count, uint32_t roomBytes, uint16_t value) {
  if (pixels == nullptr) return;
  const uint32_t pair = value | (static_cast<uint32_t>(value) << 16);
  uint32_t pairs = (count + 1) / 2;
  // The pair rule writes one value past an odd count. In a 16-bit surface that lands in the
  // row's padding; in a DepthSurface there is none, and it would hit the first depth (or, for
  // the depths, the next row's first colour and past the end of the block), so the last value
  // is written alone there.
  const bool lastAlone = pairs * 4 > roomBytes;
  if (lastAlone) pairs = count / 2;
  uint8_t* row = reinterpret_cast<uint8_t*>(pixels) + byteOffset;
  for (uint32_t y = 0; y < height; ++y, row += pitch) {
    uint8_t* p = row;
    for (uint32_t i = 0; i < pairs; ++i, p += 4) std::memcpy(p, &pair, 4);
    if (lastAlone && (count & 1) != 0) std::memcpy(p, &value, 2);
  }
}

void Surface::Clear(uint16_t colour) { FillRows(0, width, ColourBytesPerRow(), colour); }

DepthSurface::DepthSurface() : Surface(32) {}

DepthSurface::DepthSurface(DepthSurface&& other) noexcept
    : Surface(std::move(other)), lineDouble(other.lineDouble) {}

DepthSurface& DepthSurface::operator=(DepthSurface&& other) noexcept {
  Surface::operator=(std::move(other));
  lineDouble = other.lineDouble;
  return *this;
}

void DepthSurface::ClearDepth() { FillRows(pitch / 2u, width, pitch / 2u, kEmptyDepth); }
