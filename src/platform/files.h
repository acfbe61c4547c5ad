// Files and folders as the game uses them: well-known places, whole-file reads, atomic writes
// and folder listings. Paths are UTF-8.
#pragma once

#include <string>
#include <vector>

// $XDG_CONFIG_HOME/kestrel-run, else ~/.config/kestrel-run (the settings file lives here).
std::string ConfigDirectory();
// The user's documents folder (where screenshots go), as the desktop names it: $XDG_DOCUMENTS_DIR,
// else the XDG_DOCUMENTS_DIR line of $XDG_CONFIG_HOME/user-dirs.dirs, else ~/Documents, else the
// home folder when ~/Documents neither exists nor can be made. A folder that is named but
// missing is returned as it is: the caller creates it before writing.
std::string DocumentsDirectory();
// The documents folder named by the XDG_DOCUMENTS_DIR line of a user-dirs.dirs text, read the
// way xdg-user-dir reads it ("$HOME/..." or "/..."), or "" when the text names none.
std::string DocumentsDirectoryFromUserDirs(const std::string& text, const std::string& home);
// The folder holding the running executable, ending in '/'.
std::string ExecutableDirectory();
// Where content packs are found, ending in '/': $KESTREL_DATA_DIR if set, else the executable's
// folder when it holds core.bin, else the installed data folder (share/kestrel-run beside the
// executable's bin folder, wherever the game was installed).
std::string ContentDirectory();
// The player's own packs, found after those of the content folder: $XDG_DATA_HOME/kestrel-run,
// else ~/.local/share/kestrel-run.
std::string UserPackDirectory();

bool ReadWholeFile(const std::string& path, std::string* bytes);
// Writes to a temporary file beside the target and renames it over the target, creating the
// folder if needed, so a crash never leaves a half-written file.
bool WriteFileAtomically(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
// Creates the folder and any missing parents; true when it exists afterwards.
bool MakeDirectories(const std::string& path);

// Names of the regular files in `folder` matching a wildcard pattern ('*', '?'), compared
// ignoring case as the handheld's file system did, in name order so every run sees the same.
std::vector<std::string> ListFiles(const std::string& folder, const std::string& pattern);
