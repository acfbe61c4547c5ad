// The core content generator makes the same bytes on every run, so two builds make the same
// pack; and it refuses sources it cannot honour instead of writing a pack that lacks files.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

namespace {

namespace fs = std::filesystem;

class TempFolder {
 public:
  explicit TempFolder(const std::string& tag) {
    path_ = fs::temp_directory_path() / ("kestrel-core-" + tag + "-" + std::to_string(getpid()));
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~TempFolder() { fs::remove_all(path_); }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

int RunGenerator(const fs::path& sources, const fs::path& pack, const fs::path& sheet) {
  const std::string command = "'" KESTREL_CORE_GENERATOR "' '" + sources.string() + "' '" + pack.string() + "' '" +
                              sheet.string() + "' 2> /dev/null";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Every file below `folder` by its relative path, with its bytes.
std::map<std::string, std::string> Contents(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    files[fs::relative(entry.path(), folder).string()] =
        std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  return files;
}

}  // namespace

TEST(CoreGenerator, TwoRunsWriteIdenticalBytes) {
  TempFolder first("first"), second("second");
  ASSERT_EQ(RunGenerator(KESTREL_CORE_SOURCES, first.path() / "pack", first.path() / "sheet"), 0);
  ASSERT_EQ(RunGenerator(KESTREL_CORE_SOURCES, second.path() / "pack", second.path() / "sheet"), 0);
  const auto a = Contents(first.path() / "pack");
  const auto b = Contents(second.path() / "pack");
  EXPECT_GT(a.size(), 50u);
  ASSERT_EQ(a.size(), b.size());
  for (const auto& [name, bytes] : a) {
    const auto other = b.find(name);
    ASSERT_NE(other, b.end()) << name;
    EXPECT_TRUE(other->second == bytes) << name << " differs between runs";
  }
}

TEST(CoreGenerator, RefusesADefinitionItCannotDraw) {
  TempFolder folder("unknown");
  fs::copy(KESTREL_CORE_SOURCES, folder.path() / "sources", fs::copy_options::recursive);
  // A helicopter the generator has no art for: its pictures would be missing from the pack.
  std::ofstream(folder.path() / "sources" / "choppers.ini", std::ios::trunc)
      << "[Choppers]\nNoOfChoppers = 1\nChopper 0 = Nameless\n[Nameless]\nResource Splash = x.jpg\n";
  EXPECT_NE(RunGenerator(folder.path() / "sources", folder.path() / "pack", folder.path() / "sheet"), 0);
}
