#include "run_program.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

RunFolder::RunFolder(const std::string& name)
    : path_(std::filesystem::temp_directory_path() / ("kestrel-e2e-" + name + "-" + std::to_string(getpid()))) {
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_ / "documents");
  std::filesystem::create_directories(path_ / "home");
  environment = {{"HOME", (path_ / "home").string()},
                 {"XDG_CONFIG_HOME", (path_ / "config").string()},
                 {"XDG_DATA_HOME", (path_ / "data").string()},
                 {"XDG_DOCUMENTS_DIR", (path_ / "documents").string()}};
}

RunFolder::~RunFolder() { std::filesystem::remove_all(path_); }

std::vector<std::string> StateLines(const std::string& output) {
  std::vector<std::string> lines;
  std::istringstream in(output);
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("{\"screen\"", 0) == 0) lines.push_back(line);
  }
  return lines;
}

std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

ProgramRun RunProgram(const RunFolder& folder, const std::string& arguments,
                      const std::filesystem::path& contentFolder) {
  // By default an empty content folder: most runs are about the program itself, not the packs.
  std::filesystem::create_directories(folder.path() / "content");
  const std::filesystem::path content = contentFolder.empty() ? folder.path() / "content" : contentFolder;
  // env takes its -u options before any assignment.
  std::string unset, assign = " KESTREL_DATA_DIR='" + content.string() + "'";
  for (const auto& [name, value] : folder.environment) {
    if (value) {
      assign += " " + name + "='" + *value + "'";
    } else {
      unset += " -u " + name;
    }
  }
  const std::string command =
      "cd '" + folder.path().string() + "' && env" + unset + assign + " '" KESTREL_RUN "' " + arguments + " 2>&1";
  ProgramRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) run.output.append(buffer, n);
  const int status = pclose(pipe);
  run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

ProgramRun RunHeadless(const RunFolder& folder, const std::string& script, const std::string& extraArguments,
                       const std::filesystem::path& contentFolder) {
  const auto scriptPath = folder.path() / "run.script";
  std::ofstream(scriptPath, std::ios::binary) << script;
  return RunProgram(folder, "--headless --script '" + scriptPath.string() + "' " + extraArguments, contentFolder);
}
