// The user's folders as a desktop names them.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "platform/files.h"

namespace {

TEST(UserFolders, DocumentsLineOfUserDirsIsReadAsXdgUserDirReadsIt) {
  struct Case {
    const char* text;
    const char* expected;
  };
  const Case cases[] = {
      {"XDG_DOCUMENTS_DIR=\"$HOME/Documents\"\n", "/home/pat/Documents"},
      {"# comment\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\nXDG_DOCUMENTS_DIR=\"/srv/papers/\"\n", "/srv/papers"},
      {"  XDG_DOCUMENTS_DIR = \"$HOME/My \\\"Docs\\\" \\$1\"", "/home/pat/My \"Docs\" $1"},
      {"XDG_DOCUMENTS_DIR=\"$HOME\"\n", "/home/pat"},
      {"XDG_DOCUMENTS_DIR=\"$HOME/A\"\nXDG_DOCUMENTS_DIR=\"$HOME/B\"\n", "/home/pat/B"},  // the last wins
      {"XDG_DOCUMENTS_DIR=\"Documents\"\n", ""},         // relative: not a folder name
      {"XDG_DOCUMENTS_DIR=$HOME/Documents\n", ""},       // unquoted
      {"XDG_DOCUMENTS_DIR=\"$HOMEWORK/x\"\n", ""},       // not $HOME
      {"XDG_DOCUMENTS_DIR=\"/never/closed\n", ""},
      {"#XDG_DOCUMENTS_DIR=\"/commented\"\n", ""},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(DocumentsDirectoryFromUserDirs(c.text, "/home/pat"), c.expected) << c.text;
}

// Sets environment variables for one test and puts them back afterwards.
class Environment {
 public:
  void Set(const char* name, const std::optional<std::string>& value) {
    const char* old = std::getenv(name);
    saved_.emplace_back(name, old != nullptr ? std::optional<std::string>(old) : std::nullopt);
    if (value) {
      setenv(name, value->c_str(), 1);
    } else {
      unsetenv(name);
    }
  }
  ~Environment() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
      if (it->second) {
        setenv(it->first.c_str(), it->second->c_str(), 1);
      } else {
        unsetenv(it->first.c_str());
      }
    }
  }

 private:
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST(UserFolders, DocumentsFolderComesFromTheEnvironmentThenUserDirsThenHome) {
  const std::filesystem::path root =
      std::filesystem::temp_directory_path() / ("kestrel-folders-" + std::to_string(getpid()));
  std::filesystem::remove_all(root);
  std::filesystem::create_directories(root / "home");
  std::filesystem::create_directories(root / "config");
  Environment environment;
  environment.Set("HOME", (root / "home").string());
  environment.Set("XDG_CONFIG_HOME", (root / "config").string());
  environment.Set("XDG_DOCUMENTS_DIR", (root / "elsewhere").string());
  std::ofstream(root / "config" / "user-dirs.dirs") << "XDG_DOCUMENTS_DIR=\"$HOME/Papers\"\n";
  EXPECT_EQ(DocumentsDirectory(), (root / "elsewhere").string());

  environment.Set("XDG_DOCUMENTS_DIR", "relative/is/ignored");
  EXPECT_EQ(DocumentsDirectory(), (root / "home" / "Papers").string());

  std::filesystem::remove(root / "config" / "user-dirs.dirs");
  EXPECT_EQ(DocumentsDirectory(), (root / "home" / "Documents").string());
  EXPECT_TRUE(std::filesystem::is_directory(root / "home" / "Documents")) << "made when missing";

  // No Documents can be made (a file is in the way): the home folder itself.
  std::filesystem::remove(root / "home" / "Documents");
  std::ofstream(root / "home" / "Documents") << "a file";
  EXPECT_EQ(DocumentsDirectory(), (root / "home").string());
  std::filesystem::remove_all(root);
}

TEST(UserFolders, PlayersPackFolderFollowsXdgDataHome) {
  Environment environment;
  environment.Set("HOME", "/home/pat");
  environment.Set("XDG_DATA_HOME", "/data/pat");
  EXPECT_EQ(UserPackDirectory(), "/data/pat/kestrel-run/");
  environment.Set("XDG_DATA_HOME", "");
  EXPECT_EQ(UserPackDirectory(), "/home/pat/.local/share/kestrel-run/");
}

}  // namespace
