// Writing files so that each is either wholly there or not changed at all.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes through a temporary file beside `path` ("<path>.tmp") and a rename, so a failed run
// never leaves half a file. The temporary file is never opened through a symbolic link. False
// with a message when the file cannot be written.
bool WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error);

struct OutputFile {
  std::string path;
  std::vector<uint8_t> bytes;
};

// Several files that belong together (a landscape's height and texture files, a mesh's levels):
// every temporary file is written first, and only when all are complete are they renamed into
// place; when one cannot be written, none of the files is touched.
bool WriteFilesAtomically(const std::vector<OutputFile>& files, std::string& error);
