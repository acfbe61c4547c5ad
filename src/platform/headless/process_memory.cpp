#include "platform/headless/process_memory.h"

#include <cstdlib>
#include <sstream>

#include "platform/files.h"

namespace {

// The number after "Name:" at the start of a line (the kernel writes "VmRSS:\t  1234 kB").
uint64_t FieldKiB(const std::string& status, const std::string& name) {
  const std::string label = name + ":";
  std::istringstream lines(status);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind(label, 0) == 0) return std::strtoull(line.c_str() + label.size(), nullptr, 10);
  }
  return 0;
}

}  // namespace

ResidentMemory ParseResidentMemory(const std::string& status) {
  return {FieldKiB(status, "VmRSS"), FieldKiB(status, "VmHWM")};
}

ResidentMemory ReadResidentMemory() {
  std::string status;
  if (!ReadWholeFile("/proc/self/status", &status)) return {};
  return ParseResidentMemory(status);
}
