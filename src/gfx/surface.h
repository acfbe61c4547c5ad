// Pixel buffers: every picture and the frame itself.
//
// A Surface is an RGB565 (or, for soft-edged sprites, ARGB4444) buffer of width x height
// pixels with rows pitch bytes apart. A DepthSurface is the frame the 3D renderers draw into:
// 32 bits per pixel, each row holding width colours followed, at byte offset pitch / 2, by
// width 16-bit depths (view distance x 32, 0xFFFF = nothing drawn).
//
// Drawing code reads the fields directly and walks rows with a running pointer; only Create,
// Release and the moves change them. An empty surface (no pixels, width and height 0) is what
// a missing or broken picture gives, and every drawing routine clips it away to nothing.
#pragma once

#include <cstdint>

class Surface {
 public:
  // The packed format word.
  static constexpr uint32_t kOwnsMemory = 1u << 0;  // freed on destruction or re-creation
  // Bits 1-3 are kind flags that no drawing reads; every surface here leaves them clear.
  static constexpr uint32_t kBitsPerPixelShift = 4;  // bits 4-9: 16, or 32 for a DepthSurface
  static constexpr uint32_t kBitsPerPixelMask = 0x3Fu << kBitsPerPixelShift;
  static constexpr uint32_t kLevelCountShift = 10;  // bits 10-12: stacked images, always 1
  static constexpr uint32_t kLevelCountMask = 0x7u << kLevelCountShift;
  static constexpr uint32_t kPaletteCountShift = 13;  // bits 13-20: palette entries, always 0
  static constexpr uint32_t kPaletteCountMask = 0xFFu << kPaletteCountShift;
  static constexpr uint32_t kHeaderSizeShift = 22;  // bits 22-31: bytes in front of the pixels
  static constexpr uint32_t kHeaderSizeMask = 0x3FFu << kHeaderSizeShift;

  Surface();
  ~Surface();
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;
  Surface(Surface&& other) noexcept;
  Surface& operator=(Surface&& other) noexcept;

  // Frees owned memory, then allocates width x height pixels (one level, no palette) with
  // pitch = (bits per pixel x width + 31) / 8 rounded down to a multiple of 4. False, with the
  // surface left empty, when memory runs out or the size does not fit the 16-bit fields.
  bool Create(uint32_t newWidth, uint32_t newHeight);
  // Frees owned memory and leaves the surface empty.
  void Release();

  // Fills every row's colours, two pixels per 32-bit write: an odd width also writes the
  // padding pixel just past the last column where the row has one.
  void Clear(uint16_t colour);

  uint32_t BitsPerPixel() const { return (format & kBitsPerPixelMask) >> kBitsPerPixelShift; }
  bool OwnsMemory() const { return (format & kOwnsMemory) != 0; }
  bool HasPixels() const { return pixels != nullptr; }
  // Colour values of row y (y < height).
  uint16_t* Row(uint32_t y) const {
    return reinterpret_cast<uint16_t*>(reinterpret_cast<uint8_t*>(pixels) + y * pitch);
  }

  uint16_t* pixels = nullptr;
  uint16_t width = 0;
  uint16_t height = 0;
  uint16_t pitch = 0;  // bytes from one row to the next
  uint32_t format;

 protected:
  explicit Surface(uint32_t bitsPerPixel);
  // Bytes of colour at the start of each row (the rest of a DepthSurface row is depths).
  uint32_t ColourBytesPerRow() const { return pitch * 16u / BitsPerPixel(); }
  // Fills count 16-bit values at byteOffset in every row, in 32-bit pairs; an odd count writes
  // one value more only when roomBytes allows it.
  void FillRows(uint32_t byteOffset, uint32_t count, uint32_t roomBytes, uint16_t value);

 private:
  void TakeFrom(Surface& other);
};

class DepthSurface : public Surface {
 public:
  // Depth value of a pixel where nothing has been drawn.
  static constexpr uint16_t kEmptyDepth = 0xFFFF;

  DepthSurface();
  DepthSurface(DepthSurface&& other) noexcept;
  DepthSurface& operator=(DepthSurface&& other) noexcept;

  // Sets every depth to kEmptyDepth; the colours are left alone.
  void ClearDepth();
  // Depth values of row y (y < height).
  uint16_t* DepthRow(uint32_t y) const {
    return reinterpret_cast<uint16_t*>(reinterpret_cast<uint8_t*>(pixels) + y * pitch + pitch / 2);
  }

  // Non-zero: the terrain renderer fills two rows per ray step (half the vertical detail).
  uint8_t lineDouble = 1;
};
