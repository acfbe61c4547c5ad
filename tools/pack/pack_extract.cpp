#include "pack_extract.h"

#include <filesystem>

#include "archive_index.h"
#include "atomic_file.h"
#include "content/archive_reader.h"
#include "core/memory.h"
#include "core/wide_string.h"

namespace fs = std::filesystem;

namespace {

// RAR 2.0 marks a folder entry by all three dictionary-size bits of its flags.
constexpr uint16_t kDirectoryFlags = 0x00E0;

std::string Utf8(const std::string& stored) { return Utf8FromWide(WideFromCp1252(stored).c_str()); }

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsDriveLetter(const std::string& name) {
  const char c = name.size() >= 2 ? name[0] : 0;
  return ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) && name[1] == ':';
}

// The first folder of `relative` below `folder` that is a symbolic link, or an empty path: a
// link left in the output folder must not carry the file somewhere else.
fs::path LinkOnTheWay(const fs::path& folder, const fs::path& relative) {
  fs::path at = folder;
  for (const fs::path& part : relative.parent_path()) {
    at /= part;
    std::error_code ec;
    if (fs::is_symlink(fs::symlink_status(at, ec))) return at;
  }
  return {};
}

}  // namespace

bool SafeRelativePath(const std::string& name, std::string& relative, std::string& reason) {
  relative.clear();
  if (!name.empty() && IsSeparator(name[0])) {
    reason = "it is an absolute name";
    return false;
  }
  if (IsDriveLetter(name)) {
    reason = "it starts with a drive letter";
    return false;
  }
  for (const char c : name) {
    if (static_cast<unsigned char>(c) < 0x20) {
      reason = "it holds a control character";
      return false;
    }
  }
  std::string part;
  std::vector<std::string> parts;
  for (size_t i = 0; i <= name.size(); ++i) {
    if (i < name.size() && !IsSeparator(name[i])) {
      part += name[i];
      continue;
    }
    if (part == "..") {
      reason = "it has a \"..\" part";
      return false;
    }
    if (!part.empty() && part != ".") parts.push_back(Utf8(part));
    part.clear();
  }
  if (parts.empty()) {
    reason = "it names no file";
    return false;
  }
  for (const std::string& p : parts) relative += (relative.empty() ? "" : "/") + p;
  return true;
}

bool ExtractAll(const std::string& archive, const std::string& folder, ExtractAllResult& result, std::string& error) {
  std::vector<ArchiveEntryInfo> entries;
  bool solid = false;
  if (!ListArchive(archive, entries, solid, error)) return false;
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec || !fs::is_directory(folder)) {
    error = "cannot make folder " + folder + (ec ? ": " + ec.message() : "");
    return false;
  }

  for (const ArchiveEntryInfo& entry : entries) {
    const std::string shown = "\"" + Utf8(entry.name) + "\"";
    std::string relative, reason;
    if (!SafeRelativePath(entry.name, relative, reason)) {
      result.problems.push_back("refused " + shown + " (" + reason + "): nothing is written outside " + folder);
      continue;
    }
    const fs::path target = fs::path(folder) / relative;
    if (const fs::path link = LinkOnTheWay(folder, relative); !link.empty()) {
      result.problems.push_back("refused " + shown + ": " + link.string() +
                                " is a symbolic link, which could lead outside " + folder);
      continue;
    }
    if ((entry.flags & kDirectoryFlags) == kDirectoryFlags) {
      fs::create_directories(target, ec);
      if (ec) result.problems.push_back("cannot make folder " + target.string() + ": " + ec.message());
      continue;
    }
    fs::create_directories(target.parent_path(), ec);
    if (ec) {
      result.problems.push_back("cannot make folder " + target.parent_path().string() + ": " + ec.message());
      continue;
    }
    uint8_t* data = nullptr;
    uint32_t size = 0;
    if (!ArchiveReader::ExtractToMemory(&data, &size, entry.name.c_str(), archive.c_str(), nullptr)) {
      result.problems.push_back("cannot extract " + shown + " (damaged: CRC or data check failed)");
      continue;
    }
    std::string writeError;
    const bool written = WriteFileAtomically(target.string(), std::vector<uint8_t>(data, data + size), writeError);
    Free(data);
    if (!written) {
      result.problems.push_back(writeError);
      continue;
    }
    ++result.extracted;
  }
  return true;
}
