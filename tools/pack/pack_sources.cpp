#include "pack_sources.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "content/archive_format.h"
#include "content/archive_reader.h"
#include "core/wide_string.h"

namespace fs = std::filesystem;

namespace {

struct FoundFile {
  std::string name;  // archive name, 8-bit
  fs::path path;
};

// The archive name for a relative path: Windows-1252 text with "\" separators, or false when
// a character has no Windows-1252 form.
bool ArchiveName(const fs::path& relative, std::string& name) {
  std::string utf8;
  for (const fs::path& part : relative) {
    if (!utf8.empty()) utf8 += '\\';
    utf8 += part.string();
  }
  const std::u16string wide = WideFromUtf8(utf8);
  name = Cp1252FromWide(wide.c_str());
  return Utf8FromWide(WideFromCp1252(name).c_str()) == utf8;
}

bool ReadWholeFile(const fs::path& path, std::vector<uint8_t>& data) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

int64_t ModificationTime(const fs::path& path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return 0;
  return static_cast<int64_t>(info.st_mtime);
}

bool AddFile(const fs::path& path, const fs::path& relative, std::vector<FoundFile>& found, std::string& error) {
  FoundFile file;
  file.path = path;
  if (!ArchiveName(relative, file.name)) {
    error = "cannot store the name of " + path.string() + " (characters outside Windows-1252)";
    return false;
  }
  if (file.name.size() > archive_format::kMaxNameLength) {
    error = "name too long for the game's reader (over 259 bytes): " + path.string();
    return false;
  }
  found.push_back(std::move(file));
  return true;
}

}  // namespace

bool CollectPackSources(const std::vector<std::string>& paths, std::optional<int64_t> fixedTime,
                        std::vector<PackSource>& sources, std::string& error) {
  std::vector<FoundFile> found;
  for (const std::string& argument : paths) {
    const fs::path path(argument);
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec || !fs::exists(status)) {
      error = "no such file or folder: " + argument;
      return false;
    }
    if (fs::is_regular_file(status)) {
      if (!AddFile(path, path.filename(), found, error)) return false;
      continue;
    }
    if (!fs::is_directory(status)) {
      error = "not a file or folder: " + argument;
      return false;
    }
    for (fs::recursive_directory_iterator it(path, fs::directory_options::none, ec), end; !ec && it != end;
         it.increment(ec)) {
      if (!it->is_regular_file(ec)) continue;
      if (!AddFile(it->path(), it->path().lexically_relative(path), found, error)) return false;
    }
    if (ec) {
      error = "cannot read folder " + argument + ": " + ec.message();
      return false;
    }
  }

  std::sort(found.begin(), found.end(), [](const FoundFile& a, const FoundFile& b) { return a.name < b.name; });
  for (size_t i = 1; i < found.size(); ++i) {
    if (found[i].name == found[i - 1].name) {
      error = "two files would have the same name in the pack: " + found[i].name;
      return false;
    }
  }

  sources.clear();
  for (const FoundFile& file : found) {
    PackSource source;
    source.name = file.name;
    if (!ReadWholeFile(file.path, source.data)) {
      error = "cannot read " + file.path.string();
      return false;
    }
    if (source.data.size() > ArchiveReader::kMaxUnpackedSize) {
      error = "file too large for the game's reader (over 256 MiB): " + file.path.string();
      return false;
    }
    source.dosTime = DosTimeFromUnix(fixedTime ? *fixedTime : ModificationTime(file.path));
    sources.push_back(std::move(source));
  }
  return true;
}
