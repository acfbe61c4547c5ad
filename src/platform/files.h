// Files and folders as the game uses them: well-known places, whole-file reads, atomic writes
// and folder listings. Paths are UTF-8.
#pragma once

#include <string>
#include <vector>

// $XDG_CONFIG_HOME/kestrel-run, else ~/.config/kestrel-run (the settings file lives here).
std::string ConfigDirectory();
// Where screenshots go: $XDG_DOCUMENTS_DIR, else ~/Documents when it exists, else the home folder.
std::string DocumentsDirectory();
// The folder holding the running executable, ending in '/'.
std::string ExecutableDirectory();
// Where content packs are found, ending in '/': $KESTREL_DATA_DIR if set, else the executable's
// folder when it holds core.bin, else the installed data folder.
std::string ContentDirectory();

bool ReadWholeFile(const std::string& path, std::string* bytes);
// Writes to a temporary file beside the target and renames it over the target, creating the
// folder if needed, so a crash never leaves a half-written file.
bool WriteFileAtomically(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);

// Names of the regular files in `folder` matching a wildcard pattern ('*', '?'), compared
// ignoring case as the handheld's file system did, in name order so every run sees the same.
std::vector<std::string> ListFiles(const std::string& folder, const std::string& pattern);
