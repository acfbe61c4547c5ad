// How much memory the process holds, as the kernel counts it: what a soak watches for leaks.
#pragma once

#include <cstdint>
#include <string>

struct ResidentMemory {
  uint64_t currentKiB = 0;  // VmRSS: resident now
  uint64_t peakKiB = 0;     // VmHWM: the most ever resident
};

// From the text of /proc/<pid>/status; a field that is missing or unreadable reads 0.
ResidentMemory ParseResidentMemory(const std::string& status);
// This process's, or zeros where /proc cannot be read.
ResidentMemory ReadResidentMemory();
