// Writing a file so that it is either wholly there or not changed at all.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes through a temporary file beside `path` ("<path>.tmp") and a rename, so a failed run
// never leaves half a file. The temporary file is never opened through a symbolic link. False
// with a message when the file cannot be written.
bool WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error);
