#include "atomic_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

std::string TemporaryOf(const std::string& path) { return path + ".tmp"; }

bool WriteTemporary(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error) {
  const std::string temporary = TemporaryOf(path);
  // O_NOFOLLOW: a symbolic link planted under the temporary name is not followed out of the folder.
  const int descriptor = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
  std::FILE* file = descriptor >= 0 ? fdopen(descriptor, "wb") : nullptr;
  if (file == nullptr) {
    error = "cannot write " + temporary + ": " + std::strerror(errno);
    if (descriptor >= 0) close(descriptor);
    return false;
  }
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  if (std::fclose(file) != 0 || !written) {
    error = "cannot write " + temporary;
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace

bool WriteFilesAtomically(const std::vector<OutputFile>& files, std::string& error) {
  for (size_t i = 0; i < files.size(); ++i) {
    if (!WriteTemporary(files[i].path, files[i].bytes, error)) {
      for (size_t j = 0; j < i; ++j) std::remove(TemporaryOf(files[j].path).c_str());
      return false;
    }
  }
  bool renamed = true;
  for (const OutputFile& file : files) {
    const std::string temporary = TemporaryOf(file.path);
    if (renamed && std::rename(temporary.c_str(), file.path.c_str()) != 0) {
      error = "cannot replace " + file.path + ": " + std::strerror(errno);
      renamed = false;
    }
    if (!renamed) std::remove(temporary.c_str());
  }
  return renamed;
}

bool WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error) {
  if (!WriteTemporary(path, bytes, error)) return false;
  const std::string temporary = TemporaryOf(path);
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    error = "cannot replace " + path + ": " + std::strerror(errno);
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}
