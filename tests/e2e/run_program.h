// Runs kestrel-run headless in a folder of its own and gathers what it printed and wrote.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

struct ProgramRun {
  int exitStatus = -1;
  std::string output;  // standard output and standard error together
};

// A fresh folder for one run (home, config, documents, the player's data folder and the
// script's relative paths), removed with everything in it.
class RunFolder {
 public:
  explicit RunFolder(const std::string& name);
  ~RunFolder();
  RunFolder(const RunFolder&) = delete;
  RunFolder& operator=(const RunFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }

  // The program's environment, all inside the folder: HOME, XDG_CONFIG_HOME, XDG_DATA_HOME and
  // XDG_DOCUMENTS_DIR (KESTREL_DATA_DIR is added by the run). A test may change a value, or set
  // it to nullopt to leave the variable out.
  std::map<std::string, std::optional<std::string>> environment;

 private:
  std::filesystem::path path_;
};

// Runs kestrel-run with `arguments` in the folder, with the folder's environment and a content
// folder inside it. The content folder is empty unless `contentFolder` names another (where core.bin is).
ProgramRun RunProgram(const RunFolder& folder, const std::string& arguments,
                      const std::filesystem::path& contentFolder = {});

// Writes `script` into the folder and runs kestrel-run --headless on it there (as RunProgram).
// `extraArguments` are added to the command line.
ProgramRun RunHeadless(const RunFolder& folder, const std::string& script, const std::string& extraArguments = "",
                       const std::filesystem::path& contentFolder = {});

std::string ReadBytes(const std::filesystem::path& path);

// The lines of a run's output that are state lines (JSON objects starting with the screen).
std::vector<std::string> StateLines(const std::string& output);
inline bool Has(const std::string& line, const std::string& part) { return line.find(part) != std::string::npos; }
