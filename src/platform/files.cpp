#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string_view>

// The installed data folder as seen from the installed executable's folder (set by the build
// from the install layout), so an installation works wherever its prefix is.
#ifndef KESTREL_DATA_DIR_FROM_BIN
#define KESTREL_DATA_DIR_FROM_BIN "../share/kestrel-run"
#endif

namespace {

std::string WithSlash(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder.push_back('/');
  return folder;
}

std::string HomeDirectory() {
  const char* home = std::getenv("HOME");
  return home != nullptr && *home != '\0' ? home : "/tmp";
}

bool IsDirectory(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// An XDG base folder from the environment; only absolute paths count, as the base-directory
// rules say.
std::string XdgFolder(const char* variable, const char* fallbackBelowHome) {
  const char* value = std::getenv(variable);
  return value != nullptr && *value == '/' ? value : HomeDirectory() + fallbackBelowHome;
}

}  // namespace

std::string ConfigDirectory() { return WithSlash(XdgFolder("XDG_CONFIG_HOME", "/.config")) + "kestrel-run"; }

std::string DocumentsDirectoryFromUserDirs(const std::string& text, const std::string& home) {
  std::string found;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string_view line(text.data() + start, end - start);
    start = end + 1;
    const auto skipBlanks = [&line] {
      while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    };
    skipBlanks();
    constexpr std::string_view kKey = "XDG_DOCUMENTS_DIR";
    if (!line.starts_with(kKey)) continue;
    line.remove_prefix(kKey.size());
    skipBlanks();
    if (!line.starts_with("=")) continue;
    line.remove_prefix(1);
    skipBlanks();
    if (!line.starts_with("\"")) continue;
    line.remove_prefix(1);
    // "$HOME" or "$HOME/..." is relative to the home folder; anything else must be absolute.
    std::string folder;
    if (line.starts_with("$HOME") && (line.size() == 5 || line[5] == '/' || line[5] == '"')) {
      folder = home;
      line.remove_prefix(5);
    } else if (!line.starts_with("/")) {
      continue;
    }
    bool closed = false;
    for (size_t i = 0; i < line.size(); ++i) {
      if (line[i] == '"') {
        closed = true;
        break;
      }
      if (line[i] == '\\' && i + 1 < line.size()) ++i;  // the shell's escapes: \" \\ \$
      folder.push_back(line[i]);
    }
    if (closed) found = folder;  // the last line wins, as when the shell sources the file
  }
  while (found.size() > 1 && found.back() == '/') found.pop_back();
  return found;
}

std::string DocumentsDirectory() {
  const char* documents = std::getenv("XDG_DOCUMENTS_DIR");
  if (documents != nullptr && *documents == '/') return documents;
  const std::string home = HomeDirectory();
  std::string userDirs;
  if (ReadWholeFile(WithSlash(XdgFolder("XDG_CONFIG_HOME", "/.config")) + "user-dirs.dirs", &userDirs)) {
    const std::string named = DocumentsDirectoryFromUserDirs(userDirs, home);
    if (!named.empty()) return named;
  }
  if (MakeDirectories(home + "/Documents")) return home + "/Documents";
  return home;
}

std::string ExecutableDirectory() {
  char buffer[4096];
  const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (length <= 0) return "./";
  const std::string path(buffer, static_cast<size_t>(length));
  return path.substr(0, path.rfind('/') + 1);
}

std::string ContentDirectory() {
  const char* override = std::getenv("KESTREL_DATA_DIR");
  if (override != nullptr && *override != '\0') return WithSlash(override);
  const std::string beside = ExecutableDirectory();
  if (FileExists(beside + "core.bin")) return beside;
  return WithSlash(beside + KESTREL_DATA_DIR_FROM_BIN);
}

std::string UserPackDirectory() { return WithSlash(XdgFolder("XDG_DATA_HOME", "/.local/share")) + "kestrel-run/"; }

bool ReadWholeFile(const std::string& path, std::string* bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) return false;
  *bytes = text.str();
  return true;
}

bool WriteFileAtomically(const std::string& path, const std::string& bytes) {
  const size_t slash = path.rfind('/');
  if (slash != std::string::npos && slash > 0 && !MakeDirectories(path.substr(0, slash))) return false;
  const std::string temporary = path + ".tmp" + std::to_string(getpid());
  const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + written, bytes.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    written += static_cast<size_t>(n);
  }
  const bool complete = written == bytes.size() && fsync(fd) == 0;
  if (close(fd) != 0 || !complete || rename(temporary.c_str(), path.c_str()) != 0) {
    unlink(temporary.c_str());
    return false;
  }
  return true;
}

bool MakeDirectories(const std::string& path) {
  for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
    const std::string prefix = path.substr(0, slash);
    if (!prefix.empty() && mkdir(prefix.c_str(), 0755) != 0 && errno != EEXIST) return false;
    if (slash == std::string::npos) break;
  }
  return IsDirectory(path);
}

bool FileExists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::vector<std::string> ListFiles(const std::string& folder, const std::string& pattern) {
  std::vector<std::string> names;
  DIR* directory = opendir(folder.empty() ? "." : folder.c_str());
  if (directory == nullptr) return names;
  while (const dirent* entry = readdir(directory)) {
    if (fnmatch(pattern.c_str(), entry->d_name, FNM_CASEFOLD | FNM_PERIOD) != 0) continue;
    if (FileExists(WithSlash(folder.empty() ? "." : folder) + entry->d_name)) names.push_back(entry->d_name);
  }
  closedir(directory);
  std::sort(names.begin(), names.end());
  return names;
}
