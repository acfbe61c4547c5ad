#include "atomic_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

bool WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error) {
  const std::string temporary = path + ".tmp";
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
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    error = "cannot replace " + path + ": " + std::strerror(errno);
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}
