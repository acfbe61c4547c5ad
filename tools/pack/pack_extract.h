// `kestrel-pack extract ARCHIVE [-o DIR]`: every entry of an archive into a folder, through the
// game's reader, without ever writing outside that folder.
#pragma once

#include <string>
#include <vector>

// The path below the output folder ("maps/one.ini", UTF-8) that a stored entry name
// ("maps\one.ini", Windows-1252, "\" or "/" between parts) becomes. False with the reason for a
// name that would leave the folder or names no file: absolute names ("/x", "\x"), drive
// letters ("C:x"), ".." parts, control characters, nothing but separators. Empty and "." parts
// are dropped.
bool SafeRelativePath(const std::string& name, std::string& relative, std::string& reason);

struct ExtractAllResult {
  int extracted = 0;
  std::vector<std::string> problems;  // one line per refused or failed entry (UTF-8)
};

// Extracts every entry of `archive` into `folder` (made when missing), creating the folders
// the names hold, each file written atomically. Refused and failed entries are left out and
// described in `problems`; the others are still extracted. False with `error` only when the
// archive cannot be listed or the folder cannot be made.
bool ExtractAll(const std::string& archive, const std::string& folder, ExtractAllResult& result, std::string& error);
