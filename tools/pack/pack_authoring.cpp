#include "pack_authoring.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "atomic_file.h"
#include "landscape_import.h"
#include "model_import.h"
#include "picture_files.h"

extern const char kAuthoringUsage[] =
    "       kestrel-pack terrain HEIGHTS TEXTURE -o NAME [--metres-per-level M]\n"
    "       kestrel-pack sky PANORAMA -o NAME\n"
    "       kestrel-pack mesh MODEL [--lod MODEL ...] [--texture PICTURE] [--distances D,D,...] -o NAME\n"
    "       kestrel-pack picture PICTURE [--size WxH] -o NAME\n"
    "terrain: a 512 x 512 greyscale height picture (PNG or PGM, 8 or 16 bits; top row north) and a\n"
    "1024 x 1024 colour texture into NAME.hgt and NAME.tex. M: metres per grey level (8-bit\n"
    "pictures: 1, 16-bit: 1/64).\n"
    "sky: a 9:4 panorama, west to east through north, at least 720 x 320, into NAME.jpg.\n"
    "mesh: a model (OBJ, glTF and the other formats Assimp reads) and coarser levels into\n"
    "NAME0.msh, NAME1.msh, ...; the texture (square, 8 to 256 pixels) into NAME.jpg.\n"
    "picture: any PNG, JPEG, PGM or PPM into the colour JPEG NAME.jpg the menus show; --size\n"
    "refuses a picture of another size.\n";

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr int kJpegQuality = 90;
constexpr size_t kMostLevels = 4;
constexpr size_t kLongestMeshName = 24;

int UsageProblem(const std::string& problem) {
  std::fprintf(stderr, "kestrel-pack: %s\n", problem.c_str());
  std::fputs("usage:\n", stderr);
  std::fputs(kAuthoringUsage, stderr);
  return kExitUsage;
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "kestrel-pack: %s\n", message.c_str());
  return kExitFailure;
}

// The name a written file has inside a pack laid out from the current folder: backslashes, as
// the game's INI files write them. An absolute path gives just the file's own name.
std::string PackName(const std::string& path) {
  std::string name = std::filesystem::path(path).is_absolute() ? std::filesystem::path(path).filename().string() : path;
  for (char& c : name) {
    if (c == '/') c = '\\';
  }
  return name;
}

bool EndsWithIgnoringCase(const std::string& text, const std::string& end) {
  if (text.size() < end.size()) return false;
  for (size_t i = 0; i < end.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[text.size() - end.size() + i])) != end[i]) return false;
  }
  return true;
}

bool ParsePositiveNumber(const std::string& text, double& value) {
  char* end = nullptr;
  errno = 0;
  value = std::strtod(text.c_str(), &end);
  return !text.empty() && errno == 0 && *end == 0 && std::isfinite(value) && value > 0;
}

// Options with a value, the "-o" output and the rest in order.
struct CommandLine {
  std::string output;
  std::vector<std::string> positional;
  std::vector<std::pair<std::string, std::string>> options;
};

bool Parse(const std::vector<std::string>& arguments, const std::vector<std::string>& known, CommandLine& line,
           std::string& problem) {
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument.size() < 2 || argument[0] != '-') {
      line.positional.push_back(argument);
      continue;
    }
    if (argument != "-o" && std::find(known.begin(), known.end(), argument) == known.end()) {
      problem = "unknown option " + argument;
      return false;
    }
    if (i + 1 == arguments.size()) {
      problem = argument + " needs a value";
      return false;
    }
    const std::string& value = arguments[++i];
    if (argument == "-o") {
      line.output = value;
    } else {
      line.options.emplace_back(argument, value);
    }
  }
  if (line.output.empty()) {
    problem = "-o NAME is needed: where the files go";
    return false;
  }
  return true;
}

std::string Format(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string JpegName(const std::string& output) {
  return EndsWithIgnoringCase(output, ".jpg") ? output : output + ".jpg";
}

// The switch distances of levels when none are given: the finest level drawn up to 256 m, then
// 512 m and 768 m, the last up to about 1230 m, where the landscape fades.
std::vector<int> DefaultDistances(size_t levels) {
  static const std::vector<int> kByCount[] = {{23}, {4, 23}, {1, 4, 23}, {1, 4, 9, 23}};
  return kByCount[levels - 1];
}

bool ParseDistances(const std::string& text, std::vector<int>& distances, std::string& problem) {
  distances.clear();
  size_t at = 0;
  while (at <= text.size()) {
    const size_t comma = std::min(text.find(',', at), text.size());
    const std::string word = text.substr(at, comma - at);
    char* end = nullptr;
    const long value = std::strtol(word.c_str(), &end, 10);
    if (word.empty() || *end != 0 || value < 1 || value > 65535 || (!distances.empty() && value <= distances.back())) {
      problem = "--distances needs whole numbers from 1 to 65535, growing from the first level on, not \"" + text + "\"";
      return false;
    }
    distances.push_back(static_cast<int>(value));
    at = comma + 1;
  }
  return true;
}

// The texture as the pack will hold it: a JPEG that is kept as it is, or any other picture
// written as one. The game works out texel positions from the width alone and takes the
// picture as square.
bool MeshTexture(const std::string& path, std::vector<uint8_t>& jpeg, std::string& error) {
  std::vector<uint8_t> bytes;
  Picture picture;
  if (!ReadSourceFile(path, bytes, error) || !DecodeColourPicture(bytes, path, picture, error)) return false;
  const uint32_t w = picture.width;
  const bool widthServed = w == 8 || w == 16 || w == 32 || w == 64 || w == 128 || w == 256;
  if (!widthServed || picture.height != w) {
    error = path + " is " + std::to_string(picture.width) + " x " + std::to_string(picture.height) +
            "; a mesh texture is square, 8, 16, 32, 64, 128 or 256 pixels on a side";
    return false;
  }
  const bool isJpeg = bytes.size() > 2 && bytes[0] == 0xFF && bytes[1] == 0xD8;
  jpeg = isJpeg ? std::move(bytes) : EncodeJpegPicture(picture, kJpegQuality);
  return true;
}

}  // namespace

int TerrainCommand(const std::vector<std::string>& arguments) {
  CommandLine line;
  std::string problem;
  if (!Parse(arguments, {"--metres-per-level"}, line, problem)) return UsageProblem(problem);
  if (line.positional.size() != 2) return UsageProblem("terrain needs a height picture and a texture");
  double metresPerLevel = 0;
  bool levelGiven = false;
  for (const auto& [option, value] : line.options) {
    if (!ParsePositiveNumber(value, metresPerLevel)) {
      return UsageProblem("--metres-per-level needs a number above 0, not \"" + value + "\"");
    }
    levelGiven = true;
  }
  const std::string& heightsPath = line.positional[0];
  const std::string& texturePath = line.positional[1];
  GreyPicture heights;
  Picture texture;
  std::string error;
  if (!ReadGreyPicture(heightsPath, heights, error) || !ReadColourPicture(texturePath, texture, error)) return Fail(error);
  if (!levelGiven) metresPerLevel = DefaultMetresPerLevel(heights.bits);

  LandscapeFiles files;
  if (!MakeLandscapeFiles(heights, heightsPath, texture, texturePath, metresPerLevel, files, error)) return Fail(error);
  const std::string heightFile = line.output + ".hgt", textureFile = line.output + ".tex";
  if (!WriteFilesAtomically({{heightFile, files.heightFile}, {textureFile, files.textureFile}}, error)) {
    return Fail(error);
  }
  std::printf("%s: %u x %u heights, %s m a grey level, largest height error %s m (pixel (%u, %u) of %s)\n",
              heightFile.c_str(), heights.width, heights.height, Format("%g", metresPerLevel).c_str(),
              Format("%.3f", files.largestHeightError).c_str(), files.errorX, files.errorY, heightsPath.c_str());
  std::printf("%s: %u x %u texels\n", textureFile.c_str(), texture.width, texture.height);
  std::printf("In the mission:\nResource VoxelHeight = %s\nResource VoxelTexture = %s\n", PackName(heightFile).c_str(),
              PackName(textureFile).c_str());
  return 0;
}

int PictureCommand(const std::vector<std::string>& arguments) {
  CommandLine line;
  std::string problem;
  if (!Parse(arguments, {"--size"}, line, problem)) return UsageProblem(problem);
  if (line.positional.size() != 1) return UsageProblem("picture needs one picture");
  uint32_t wantedWidth = 0, wantedHeight = 0;
  for (const auto& [option, value] : line.options) {
    char extra = 0;
    if (std::sscanf(value.c_str(), "%ux%u%c", &wantedWidth, &wantedHeight, &extra) != 2 || wantedWidth == 0 ||
        wantedHeight == 0) {
      return UsageProblem("--size needs WIDTHxHEIGHT, such as 240x320, not \"" + value + "\"");
    }
  }
  Picture picture;
  std::string error;
  if (!ReadColourPicture(line.positional[0], picture, error)) return Fail(error);
  if (wantedWidth != 0 && (picture.width != wantedWidth || picture.height != wantedHeight)) {
    return Fail(line.positional[0] + " is " + std::to_string(picture.width) + " x " + std::to_string(picture.height) +
                "; it should be " + std::to_string(wantedWidth) + " x " + std::to_string(wantedHeight));
  }
  const std::string file = JpegName(line.output);
  if (!WriteFileAtomically(file, EncodeJpegPicture(picture, kJpegQuality), error)) return Fail(error);
  std::printf("%s: %u x %u\n", file.c_str(), picture.width, picture.height);
  return 0;
}

int SkyCommand(const std::vector<std::string>& arguments) {
  CommandLine line;
  std::string problem;
  if (!Parse(arguments, {}, line, problem)) return UsageProblem(problem);
  if (line.positional.size() != 1) return UsageProblem("sky needs one panorama picture");
  Picture panorama, sky;
  std::string error;
  if (!ReadColourPicture(line.positional[0], panorama, error) || !LayOutSky(panorama, line.positional[0], sky, error)) {
    return Fail(error);
  }
  const std::string skyFile = JpegName(line.output);
  if (!WriteFileAtomically(skyFile, EncodeJpegPicture(sky, kJpegQuality), error)) return Fail(error);
  std::printf("%s: %u x %u, laid out from %s\n", skyFile.c_str(), sky.width, sky.height, line.positional[0].c_str());
  std::printf("In the mission:\nResource SkyBackdrop = %s\n", PackName(skyFile).c_str());
  return 0;
}

int MeshCommand(const std::vector<std::string>& arguments) {
  CommandLine line;
  std::string problem;
  if (!Parse(arguments, {"--lod", "--texture", "--distances"}, line, problem)) return UsageProblem(problem);
  if (line.positional.size() != 1) return UsageProblem("mesh needs one model (more levels come with --lod)");
  std::vector<std::string> models = {line.positional[0]};
  std::string texturePath, distancesText;
  for (const auto& [option, value] : line.options) {
    if (option == "--lod") models.push_back(value);
    if (option == "--texture") texturePath = value;
    if (option == "--distances") distancesText = value;
  }
  if (models.size() > kMostLevels) {
    return UsageProblem(std::to_string(models.size()) + " levels of detail; at most " + std::to_string(kMostLevels));
  }
  std::vector<int> distances = DefaultDistances(models.size());
  if (!distancesText.empty()) {
    if (!ParseDistances(distancesText, distances, problem)) return UsageProblem(problem);
    if (distances.size() != models.size()) {
      return UsageProblem("--distances gives " + std::to_string(distances.size()) + " distances for " +
                          std::to_string(models.size()) + " levels");
    }
  }
  const std::string meshName = std::filesystem::path(line.output).filename().string();
  if (meshName.empty() || meshName.size() > kLongestMeshName || meshName.find(' ') != std::string::npos) {
    return UsageProblem("the mesh's name \"" + meshName + "\" (the last part of -o) must be 1 to " +
                        std::to_string(kLongestMeshName) + " characters without spaces");
  }

  std::string error;
  std::vector<OutputFile> outputs;
  std::vector<std::string> reports;
  for (size_t level = 0; level < models.size(); ++level) {
    std::vector<MeshTriangle> triangles;
    EncodedMesh mesh;
    if (!ImportModel(models[level], !texturePath.empty(), triangles, error)) return Fail(error);
    if (!EncodeMeshFile(triangles, mesh, error)) {
      return Fail(models[level] + ": level " + std::to_string(level) + " has " + error);
    }
    const std::string file = line.output + std::to_string(level) + ".msh";
    outputs.push_back({file, mesh.file});
    reports.push_back(file + ": " + std::to_string(mesh.vertices) + " vertices, " + std::to_string(mesh.faces) +
                      " faces, from " + models[level]);
  }
  std::string textureFile;
  if (!texturePath.empty()) {
    OutputFile texture{line.output + ".jpg", {}};
    if (!MeshTexture(texturePath, texture.bytes, error)) return Fail(error);
    textureFile = texture.path;
    outputs.push_back(std::move(texture));
  }
  if (!WriteFilesAtomically(outputs, error)) return Fail(error);

  for (const std::string& report : reports) std::printf("%s\n", report.c_str());
  std::printf("In meshes.ini:\n[%s]\n", meshName.c_str());
  for (size_t level = 0; level < models.size(); ++level) {
    std::printf("Mesh %zu = %d %s%s%s\n", level, distances[level], PackName(outputs[level].path).c_str(),
                textureFile.empty() ? "" : " ", textureFile.empty() ? "" : PackName(textureFile).c_str());
  }
  return 0;
}
