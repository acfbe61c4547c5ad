#include "picture_files.h"

#include <jpeglib.h>
#include <png.h>

#include <cctype>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>

namespace {

// The largest picture read: well above every size a pack uses (and the game's own JPEG limit),
// small enough that a damaged header cannot ask for more than a few hundred megabytes.
constexpr uint32_t kLargestSide = 8192;

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    error = "cannot open " + path;
    return false;
  }
  bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  if (file.bad()) {
    error = "cannot read " + path;
    return false;
  }
  return true;
}

bool IsPng(const std::vector<uint8_t>& bytes) { return bytes.size() >= 8 && png_sig_cmp(bytes.data(), 0, 8) == 0; }
bool IsJpeg(const std::vector<uint8_t>& bytes) { return bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8; }
bool IsNetpbm(const std::vector<uint8_t>& bytes) { return bytes.size() >= 2 && bytes[0] == 'P'; }

// --- PNG ------------------------------------------------------------------------------------------

struct PngSource {
  const std::vector<uint8_t>* bytes;
  size_t at;
};

struct PngFailure {
  jmp_buf jump;
  char message[200] = "";
};

void PngRead(png_structp png, png_bytep out, png_size_t length) {
  auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
  if (source->bytes->size() - source->at < length) png_error(png, "the file ends before the picture does");
  std::memcpy(out, source->bytes->data() + source->at, length);
  source->at += length;
}

void PngError(png_structp png, png_const_charp message) {
  auto* failure = static_cast<PngFailure*>(png_get_error_ptr(png));
  std::snprintf(failure->message, sizeof failure->message, "%s", message);
  longjmp(failure->jump, 1);
}

void PngWarning(png_structp, png_const_charp) {}

// What the PNG decoding hands back: rows of `channels` samples of `bits` bits (8 or 16).
struct PngRows {
  uint32_t width = 0, height = 0;
  int channels = 0, bits = 0;
  bool grey = false;
  std::vector<uint8_t> data;  // 16-bit samples most significant byte first
};

// `wantGrey` keeps grey pictures grey (and reports colour ones); otherwise everything becomes
// 8-bit RGB.
bool DecodePng(const std::vector<uint8_t>& bytes, bool wantGrey, PngRows& rows, std::string& problem) {
  PngFailure failure;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &failure, PngError, PngWarning);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (info == nullptr) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    problem = "out of memory";
    return false;
  }
  PngSource source{&bytes, 0};
  std::vector<png_bytep> rowPointers;
  if (setjmp(failure.jump)) {
    png_destroy_read_struct(&png, &info, nullptr);
    problem = failure.message;
    return false;
  }
  png_set_read_fn(png, &source, PngRead);
  png_read_info(png, info);
  rows.width = png_get_image_width(png, info);
  rows.height = png_get_image_height(png, info);
  const int colourType = png_get_color_type(png, info);
  const int depth = png_get_bit_depth(png, info);
  if (rows.width > kLargestSide || rows.height > kLargestSide) {
    png_destroy_read_struct(&png, &info, nullptr);
    problem = "it is " + std::to_string(rows.width) + " x " + std::to_string(rows.height) +
              " pixels; at most " + std::to_string(kLargestSide) + " on a side";
    return false;
  }
  rows.grey = (colourType & PNG_COLOR_MASK_COLOR) == 0;
  if (wantGrey && !rows.grey) {
    png_destroy_read_struct(&png, &info, nullptr);
    problem = "it is a colour picture; heights need a greyscale one";
    return false;
  }
  if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (rows.grey && depth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
  png_set_strip_alpha(png);
  if (!wantGrey) {
    if (depth == 16) png_set_strip_16(png);
    if (rows.grey) png_set_gray_to_rgb(png);
  }
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  rows.channels = png_get_channels(png, info);
  rows.bits = png_get_bit_depth(png, info);
  const size_t rowBytes = png_get_rowbytes(png, info);
  rows.data.assign(rowBytes * rows.height, 0);
  rowPointers.resize(rows.height);
  for (uint32_t y = 0; y < rows.height; ++y) rowPointers[y] = rows.data.data() + rowBytes * y;
  png_read_image(png, rowPointers.data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}

// --- JPEG -----------------------------------------------------------------------------------------

struct JpegFailure {
  jpeg_error_mgr manager;
  jmp_buf jump;
  char message[JMSG_LENGTH_MAX] = "";
};

void JpegError(j_common_ptr info) {
  auto* failure = reinterpret_cast<JpegFailure*>(info->err);
  (*info->err->format_message)(info, failure->message);
  longjmp(failure->jump, 1);
}

void JpegQuiet(j_common_ptr, int) {}

bool DecodeJpegRgb(const std::vector<uint8_t>& bytes, Picture& picture, std::string& problem) {
  jpeg_decompress_struct info;
  JpegFailure failure;
  info.err = jpeg_std_error(&failure.manager);
  failure.manager.error_exit = JpegError;
  failure.manager.emit_message = JpegQuiet;
  if (setjmp(failure.jump)) {
    jpeg_destroy_decompress(&info);
    problem = failure.message;
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  if (info.image_width > kLargestSide || info.image_height > kLargestSide) {
    jpeg_destroy_decompress(&info);
    problem = "it is larger than " + std::to_string(kLargestSide) + " pixels on a side";
    return false;
  }
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  picture = Picture(info.output_width, info.output_height, 3);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = picture.At(0, info.output_scanline);
    jpeg_read_scanlines(&info, &row, 1);
  }
  // A JPEG cut short decodes with grey rows and a warning; for an author's source that is damage.
  const bool cutShort = failure.manager.num_warnings != 0;
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  if (cutShort) {
    problem = "the JPEG data is damaged or ends early";
    return false;
  }
  return true;
}

// --- Netpbm ---------------------------------------------------------------------------------------

class NetpbmReader {
 public:
  explicit NetpbmReader(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}

  // The next whole number of the header (or of a plain-text body), skipping blanks and comments.
  bool Number(uint32_t& value) {
    while (at_ < bytes_.size()) {
      if (bytes_[at_] == '#') {
        while (at_ < bytes_.size() && bytes_[at_] != '\n') ++at_;
      } else if (std::isspace(bytes_[at_])) {
        ++at_;
      } else {
        break;
      }
    }
    if (at_ == bytes_.size() || !std::isdigit(bytes_[at_])) return false;
    uint64_t number = 0;
    while (at_ < bytes_.size() && std::isdigit(bytes_[at_])) {
      number = number * 10 + (bytes_[at_++] - '0');
      if (number > 0xFFFFFFFFu) return false;
    }
    value = static_cast<uint32_t>(number);
    return true;
  }
  // Binary bodies start after exactly one blank following the header.
  bool SkipOneBlank() {
    if (at_ == bytes_.size() || !std::isspace(bytes_[at_])) return false;
    ++at_;
    return true;
  }
  size_t Remaining() const { return bytes_.size() - at_; }
  bool Sample(bool plain, int bytesPerSample, uint32_t& value) {
    if (plain) return Number(value);
    if (bytes_.size() - at_ < static_cast<size_t>(bytesPerSample)) return false;
    value = bytesPerSample == 1 ? bytes_[at_] : static_cast<uint32_t>(bytes_[at_] << 8 | bytes_[at_ + 1]);
    at_ += bytesPerSample;
    return true;
  }

 private:
  const std::vector<uint8_t>& bytes_;
  size_t at_ = 2;
};

struct NetpbmPicture {
  uint32_t width = 0, height = 0, maximum = 0;
  int channels = 0;
  std::vector<uint32_t> samples;
};

bool DecodeNetpbm(const std::vector<uint8_t>& bytes, NetpbmPicture& picture, std::string& problem) {
  const char kind = static_cast<char>(bytes[1]);
  const bool plain = kind == '2' || kind == '3';
  if (kind != '2' && kind != '3' && kind != '5' && kind != '6') {
    problem = "only PGM (P2, P5) and PPM (P3, P6) pictures are read";
    return false;
  }
  picture.channels = kind == '2' || kind == '5' ? 1 : 3;
  NetpbmReader reader(bytes);
  if (!reader.Number(picture.width) || !reader.Number(picture.height) || !reader.Number(picture.maximum) ||
      (!plain && !reader.SkipOneBlank())) {
    problem = "its header is damaged";
    return false;
  }
  if (picture.maximum == 0 || picture.maximum > 65535) {
    problem = "its largest sample value must be 1..65535, not " + std::to_string(picture.maximum);
    return false;
  }
  if (picture.width == 0 || picture.height == 0 || picture.width > kLargestSide || picture.height > kLargestSide) {
    problem = "it is " + std::to_string(picture.width) + " x " + std::to_string(picture.height) +
              " pixels; 1 to " + std::to_string(kLargestSide) + " on a side";
    return false;
  }
  const int bytesPerSample = picture.maximum > 255 ? 2 : 1;
  const size_t count = size_t{picture.width} * picture.height * picture.channels;
  // Each sample takes its bytes, or in plain text a digit and a blank: a file too short for its
  // size is refused before the samples are made room for.
  if (reader.Remaining() < (plain ? count * 2 - 1 : count * bytesPerSample)) {
    problem = "the file ends before its last pixel";
    return false;
  }
  picture.samples.resize(count);
  for (size_t i = 0; i < picture.samples.size(); ++i) {
    if (!reader.Sample(plain, bytesPerSample, picture.samples[i])) {
      const size_t pixel = i / picture.channels;
      problem = "the file ends (or is damaged) at pixel (" + std::to_string(pixel % picture.width) + ", " +
                std::to_string(pixel / picture.width) + ")";
      return false;
    }
    if (picture.samples[i] > picture.maximum) {
      problem = "a sample is above the largest value its header gives";
      return false;
    }
  }
  return true;
}

// The grey picture in `bytes`; false with what is wrong (the caller names the file).
bool DecodeGrey(const std::vector<uint8_t>& bytes, GreyPicture& picture, std::string& problem) {
  if (IsPng(bytes)) {
    PngRows rows;
    if (!DecodePng(bytes, true, rows, problem)) return false;
    picture.width = rows.width;
    picture.height = rows.height;
    picture.bits = rows.bits;
    picture.samples.resize(size_t{rows.width} * rows.height);
    for (size_t i = 0; i < picture.samples.size(); ++i) {
      picture.samples[i] = rows.bits == 16 ? static_cast<uint16_t>(rows.data[2 * i] << 8 | rows.data[2 * i + 1])
                                           : rows.data[i];
    }
    return true;
  }
  if (IsNetpbm(bytes)) {
    NetpbmPicture netpbm;
    if (!DecodeNetpbm(bytes, netpbm, problem)) return false;
    if (netpbm.channels != 1) {
      problem = "it is a colour picture; heights need a greyscale one";
      return false;
    }
    picture.width = netpbm.width;
    picture.height = netpbm.height;
    picture.bits = netpbm.maximum > 255 ? 16 : 8;
    picture.samples.assign(netpbm.samples.begin(), netpbm.samples.end());
    return true;
  }
  problem = "not a PNG or PGM picture";
  return false;
}

bool DecodeColour(const std::vector<uint8_t>& bytes, Picture& picture, std::string& problem) {
  if (IsPng(bytes)) {
    PngRows rows;
    if (!DecodePng(bytes, false, rows, problem)) return false;
    picture = Picture(rows.width, rows.height, 3);
    picture.samples = std::move(rows.data);
    return true;
  }
  if (IsJpeg(bytes)) return DecodeJpegRgb(bytes, picture, problem);
  if (IsNetpbm(bytes)) {
    NetpbmPicture netpbm;
    if (!DecodeNetpbm(bytes, netpbm, problem)) return false;
    picture = Picture(netpbm.width, netpbm.height, 3);
    for (size_t i = 0; i < picture.samples.size(); ++i) {
      const uint32_t sample = netpbm.samples[netpbm.channels == 3 ? i : i / 3];
      picture.samples[i] = static_cast<uint8_t>((sample * 255 + netpbm.maximum / 2) / netpbm.maximum);
    }
    return true;
  }
  problem = "not a PNG, JPEG, PGM or PPM picture";
  return false;
}

}  // namespace

bool ReadSourceFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& error) {
  return ReadWholeFile(path, bytes, error);
}

bool ReadGreyPicture(const std::string& path, GreyPicture& picture, std::string& error) {
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, bytes, error)) return false;
  if (DecodeGrey(bytes, picture, error)) return true;
  error = path + ": " + error;
  return false;
}

bool DecodeColourPicture(const std::vector<uint8_t>& bytes, const std::string& name, Picture& picture,
                         std::string& error) {
  if (DecodeColour(bytes, picture, error)) return true;
  error = name + ": " + error;
  return false;
}

bool ReadColourPicture(const std::string& path, Picture& picture, std::string& error) {
  std::vector<uint8_t> bytes;
  return ReadWholeFile(path, bytes, error) && DecodeColourPicture(bytes, path, picture, error);
}
