// The settings file holds a section per owner: the game's seven settings in one, the desktop
// window's in another. Each owner rewrites only its own section and keeps every other line of
// the file as it found it, so neither loses what the other saved.
#pragma once

#include <string>

// `text` (an INI file) with the section `section` replaced by `body` (its key lines, each
// ending in '\n'), or with the section added at the end when the text has none. Which lines
// start which sections is decided by the game's INI reader, as when it loads the file; a section
// that appears more than once is replaced where it first appears and its later copies are
// dropped.
std::string ReplaceIniSection(const std::string& text, const std::string& section, const std::string& body);

// Reads the file at `path` (missing: empty), replaces the section and writes the file back
// atomically. False when it cannot be written; the file is then as it was.
bool WriteIniSection(const std::string& path, const std::string& section, const std::string& body);
