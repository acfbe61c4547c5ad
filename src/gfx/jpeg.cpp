#include "gfx/jpeg.h"

// jpeglib.h needs size_t and FILE declared before it.
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <string>

#include <jpeglib.h>
#include <jerror.h>

#include "core/memory.h"
#include "core/wide_string.h"

// libjpeg reports a fatal error by calling error_exit, which must not return. Ours jumps back to
// the setjmp in the Run* functions below. Between such a setjmp and any call into the library
// there must be no object with a destructor (the jump would skip it), so those functions and the
// steps they call work only on plain structs, raw pointers and the caller's Surface reference.

namespace {

struct ErrorTrap {
  jpeg_error_mgr manager;  // first, so the library's err pointer is also the trap's address
  jmp_buf jump;
  bool dataLost;  // the decoder met compressed data it could not use (set by the warnings)
};

[[noreturn]] void JumpToTrap(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorTrap*>(info->err)->jump, 1);
}

// Warnings and errors alike: the game shows no library text.
void DiscardMessage(j_common_ptr) {}

// The decoder goes on after damaged compressed data, filling what it lost with grey; such a
// picture counts as broken. Warnings about harmless oddities (padding before a marker, an
// unknown header revision) do not.
void NoteWarning(j_common_ptr info, int level) {
  if (level >= 0) return;  // trace messages
  switch (info->err->msg_code) {
    case JWRN_HIT_MARKER:  // the data of the picture ended before the picture did
    case JWRN_HUFF_BAD_CODE:
    case JWRN_ARITH_BAD_CODE:
    case JWRN_MUST_RESYNC:
      reinterpret_cast<ErrorTrap*>(info->err)->dataLost = true;
      break;
    default:
      break;
  }
}

jpeg_error_mgr* InstallErrorTrap(ErrorTrap& trap) {
  jpeg_std_error(&trap.manager);
  trap.manager.error_exit = JumpToTrap;
  trap.manager.output_message = DiscardMessage;
  trap.manager.emit_message = NoteWarning;
  trap.dataLost = false;
  return &trap.manager;
}

// Decoding straight from bytes in memory.
struct MemorySource {
  jpeg_source_mgr manager;  // first, so the library's src pointer is also the source's address
  bool ranOut;              // the decoder wanted more bytes than the picture has
};

const JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};

void InitSource(j_decompress_ptr) {}
void TermSource(j_decompress_ptr) {}

// Called only when the decoder has used up every byte. Handing it an end-of-image marker ends
// the picture where the data ends instead of letting it read past the buffer; the picture is
// then treated as broken.
boolean FillInputBuffer(j_decompress_ptr info) {
  MemorySource* source = reinterpret_cast<MemorySource*>(info->src);
  source->ranOut = true;
  source->manager.next_input_byte = kEndOfImage;
  source->manager.bytes_in_buffer = sizeof kEndOfImage;
  return TRUE;
}

// Skips unneeded data (comments, unknown markers). A length that points past the end empties
// the buffer, so the next read runs into the end-of-image marker above.
void SkipInputData(j_decompress_ptr info, long count) {
  if (count <= 0) return;
  jpeg_source_mgr* source = info->src;
  if (static_cast<unsigned long>(count) > source->bytes_in_buffer) {
    source->next_input_byte += source->bytes_in_buffer;
    source->bytes_in_buffer = 0;
    return;
  }
  source->next_input_byte += count;
  source->bytes_in_buffer -= static_cast<size_t>(count);
}

struct Decoder {
  jpeg_decompress_struct info;
  ErrorTrap trap;
  MemorySource source;
};

// Points the decoder at a new picture; the source object is reused for the mask.
void AttachSource(Decoder& decoder, const uint8_t* bytes, uint32_t size) {
  MemorySource& source = decoder.source;
  source.manager.init_source = InitSource;
  source.manager.fill_input_buffer = FillInputBuffer;
  source.manager.skip_input_data = SkipInputData;
  source.manager.resync_to_restart = jpeg_resync_to_restart;
  source.manager.term_source = TermSource;
  source.manager.next_input_byte = bytes;
  source.manager.bytes_in_buffer = bytes == nullptr ? 0 : size;
  source.ranOut = false;
  decoder.trap.dataLost = false;
  decoder.info.src = &source.manager;
}

// Reads the header of a new picture; false for sizes too large to be a real picture.
bool ReadHeader(Decoder& decoder, const uint8_t* bytes, uint32_t size) {
  AttachSource(decoder, bytes, size);
  jpeg_read_header(&decoder.info, TRUE);
  return decoder.info.image_width <= kMaxJpegSide && decoder.info.image_height <= kMaxJpegSide;
}

// Whether the picture just finished was decoded from its own data alone.
bool Complete(const Decoder& decoder) { return !decoder.source.ranOut && !decoder.trap.dataLost; }

// One scanline of output_width x output_components bytes, freed with the picture.
JSAMPROW AllocateScanline(Decoder& decoder) {
  jpeg_decompress_struct& info = decoder.info;
  return (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                   info.output_width * static_cast<JDIMENSION>(info.output_components), 1)[0];
}

// Reads the next scanline into row; false if the decoder gave none (it never suspends on
// memory input, so this only guards the loops against spinning).
bool ReadScanline(Decoder& decoder, JSAMPROW row) {
  JSAMPROW rows[1] = {row};
  return jpeg_read_scanlines(&decoder.info, rows, 1) == 1;
}

// The colour picture into target, as RGB565 or as ARGB4444 with alpha 0.
bool DecodeColour(Decoder& decoder, Surface& target, const uint8_t* bytes, uint32_t size, bool withAlpha) {
  jpeg_decompress_struct& info = decoder.info;
  if (!ReadHeader(decoder, bytes, size) || info.num_components != 3) return false;
  jpeg_start_decompress(&info);
  if (!target.Create(info.output_width, info.output_height)) return false;
  const JSAMPROW scanline = AllocateScanline(decoder);
  const uint32_t step = static_cast<uint32_t>(info.output_components);
  while (info.output_scanline < info.output_height) {
    uint16_t* out = target.Row(info.output_scanline);
    if (!ReadScanline(decoder, scanline)) return false;
    const JSAMPLE* in = scanline;
    for (uint32_t x = 0; x < info.output_width; ++x, in += step) {
      out[x] = withAlpha ? static_cast<uint16_t>((in[0] & 0xF0) << 4 | (in[1] & 0xF0) | in[2] >> 4)
                         : static_cast<uint16_t>((in[0] & 0xF8) << 8 | (in[1] & 0xFC) << 3 | in[2] >> 3);
    }
  }
  jpeg_finish_decompress(&info);
  return Complete(decoder);
}

// Ors the mask's first component, cut to four bits, into the alpha nibbles of target.
bool ApplyMask(Decoder& decoder, Surface& target, const uint8_t* bytes, uint32_t size) {
  jpeg_decompress_struct& info = decoder.info;
  if (!ReadHeader(decoder, bytes, size)) return false;
  jpeg_start_decompress(&info);
  const JSAMPROW scanline = AllocateScanline(decoder);
  const uint32_t step = static_cast<uint32_t>(info.output_components);
  const uint32_t columns = info.output_width < target.width ? info.output_width : target.width;
  while (info.output_scanline < info.output_height) {
    const uint32_t y = info.output_scanline;
    if (!ReadScanline(decoder, scanline)) return false;
    if (y >= target.height) continue;
    uint16_t* out = target.Row(y);
    const JSAMPLE* in = scanline;
    for (uint32_t x = 0; x < columns; ++x, in += step) out[x] |= static_cast<uint16_t>((in[0] & 0xF0) << 8);
  }
  jpeg_finish_decompress(&info);
  return Complete(decoder);
}

// maskBytes null: colour picture only.
bool RunDecoder(Decoder& decoder, Surface& target, const uint8_t* colourBytes, uint32_t colourSize,
                const uint8_t* maskBytes, uint32_t maskSize, bool withMask) {
  if (setjmp(decoder.trap.jump) != 0) return false;
  jpeg_create_decompress(&decoder.info);
  if (!DecodeColour(decoder, target, colourBytes, colourSize, withMask)) return false;
  return !withMask || ApplyMask(decoder, target, maskBytes, maskSize);
}

bool Decode(Surface& target, const uint8_t* colourBytes, uint32_t colourSize, const uint8_t* maskBytes,
            uint32_t maskSize, bool withMask) {
  // Zeroed, so that destroying works even if creating the decoder itself failed.
  Decoder decoder{};
  decoder.info.err = InstallErrorTrap(decoder.trap);
  const bool decoded = RunDecoder(decoder, target, colourBytes, colourSize, maskBytes, maskSize, withMask);
  jpeg_destroy_decompress(&decoder.info);
  if (!decoded) target.Release();
  return decoded && target.HasPixels();
}

struct Encoder {
  jpeg_compress_struct info;
  ErrorTrap trap;
};

bool RunEncoder(Encoder& encoder, const Surface& source, FILE* file, JSAMPROW scanline) {
  jpeg_compress_struct& info = encoder.info;
  if (setjmp(encoder.trap.jump) != 0) return false;
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, file);
  info.image_width = source.width;
  info.image_height = source.height;
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 100, TRUE);
  jpeg_start_compress(&info, TRUE);
  JSAMPROW rows[1] = {scanline};
  for (uint32_t y = 0; y < source.height; ++y) {
    const uint16_t* in = source.Row(y);
    JSAMPLE* out = scanline;
    // 5 and 6 bits widened to 8 by repeating their top bits, so white stays 255.
    for (uint32_t x = 0; x < source.width; ++x, out += 3) {
      const uint32_t red = in[x] >> 11, green = (in[x] >> 5) & 0x3F, blue = in[x] & 0x1F;
      out[0] = static_cast<JSAMPLE>(red << 3 | red >> 2);
      out[1] = static_cast<JSAMPLE>(green << 2 | green >> 4);
      out[2] = static_cast<JSAMPLE>(blue << 3 | blue >> 2);
    }
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  return true;
}

}  // namespace

bool DecodeJpeg(Surface& target, const uint8_t* bytes, uint32_t size) {
  return Decode(target, bytes, size, nullptr, 0, false);
}

bool DecodeJpegWithMask(Surface& target, const uint8_t* colourBytes, uint32_t colourSize,
                        const uint8_t* maskBytes, uint32_t maskSize) {
  return Decode(target, colourBytes, colourSize, maskBytes, maskSize, true);
}

bool SaveJpeg(const Surface& source, const char16_t* path) {
  if (!source.HasPixels() || source.width == 0 || source.height == 0 || path == nullptr) return false;
  const std::string fileName = Utf8FromWide(path);
  FILE* file = std::fopen(fileName.c_str(), "wb");
  if (file == nullptr) return false;
  JSAMPROW scanline = static_cast<JSAMPROW>(CheckedAlloc(source.width * 3u));
  bool written = false;
  if (scanline != nullptr) {
    Encoder encoder{};
    encoder.info.err = InstallErrorTrap(encoder.trap);
    written = RunEncoder(encoder, source, file, scanline);
    jpeg_destroy_compress(&encoder.info);
    Free(scanline);
  }
  if (std::fclose(file) != 0) written = false;
  if (!written) std::remove(fileName.c_str());
  return written;
}
