// Gathers the files to pack from the paths given on the command line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "archive_writer.h"

// A file argument becomes one entry named after the file; a folder argument contributes every
// file below it, named by its path relative to that folder with "\" between the parts. Entries
// come out sorted by name (byte order), so the archive does not depend on the order in which
// the file system lists folders. Names are stored as Windows-1252, as the game reads them.
// Each entry's time is the file's modification time, or `fixedTime` (Unix seconds) when set.
// False with a message on an unreadable file, a name that cannot be stored, two files of
// the same name or a file too large for the game's reader.
bool CollectPackSources(const std::vector<std::string>& paths, std::optional<int64_t> fixedTime,
                        std::vector<PackSource>& sources, std::string& error);
