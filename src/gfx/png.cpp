#include "gfx/png.h"

#include <csetjmp>
#include <cstdio>
#include <string>

#include <png.h>

#include "core/memory.h"
#include "core/wide_string.h"

// libpng reports a fatal error through an error function that must not return; ours jumps
// back to the setjmp in RunWriter. No object with a destructor lives between that setjmp and
// the library calls.

namespace {

struct ErrorTrap {
  jmp_buf jump;
};

[[noreturn]] void JumpToTrap(png_structp png, png_const_charp) {
  std::longjmp(static_cast<ErrorTrap*>(png_get_error_ptr(png))->jump, 1);
}

// The game shows no library text.
void DiscardWarning(png_structp, png_const_charp) {}

bool RunWriter(png_structp png, png_infop info, ErrorTrap& trap, const Surface& source, FILE* file,
               png_bytep scanline) {
  if (setjmp(trap.jump) != 0) return false;
  png_init_io(png, file);
  png_set_IHDR(png, info, source.width, source.height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (uint32_t y = 0; y < source.height; ++y) {
    const uint16_t* in = source.Row(y);
    png_bytep out = scanline;
    for (uint32_t x = 0; x < source.width; ++x, out += 3) {
      const uint32_t red = in[x] >> 11, green = (in[x] >> 5) & 0x3F, blue = in[x] & 0x1F;
      out[0] = static_cast<png_byte>(red << 3 | red >> 2);
      out[1] = static_cast<png_byte>(green << 2 | green >> 4);
      out[2] = static_cast<png_byte>(blue << 3 | blue >> 2);
    }
    png_write_row(png, scanline);
  }
  png_write_end(png, info);
  return true;
}

}  // namespace

bool SavePng(const Surface& source, const char16_t* path) {
  if (!source.HasPixels() || source.width == 0 || source.height == 0 || path == nullptr) return false;
  const std::string fileName = Utf8FromWide(path);
  FILE* file = std::fopen(fileName.c_str(), "wb");
  if (file == nullptr) return false;
  bool written = false;
  ErrorTrap trap;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &trap, JumpToTrap, DiscardWarning);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  png_bytep scanline = static_cast<png_bytep>(CheckedAlloc(source.width * 3u));
  if (info != nullptr && scanline != nullptr) written = RunWriter(png, info, trap, source, file, scanline);
  png_destroy_write_struct(&png, &info);
  Free(scanline);
  if (std::fclose(file) != 0) written = false;
  if (!written) std::remove(fileName.c_str());
  return written;
}
