// `kestrel-pack check`: the line of the INI file each problem is about, so that an author's
// editor can go straight to it.
#include "content/data_buffer.h"
#include "core/wide_string.h"
#include "pack_check_internal.h"

namespace pack_check {
namespace {

// The game's longest section and key names; longer ones are cut to this.
constexpr size_t kLongestName = 24;

bool Blank(char c) { return c >= 1 && c <= 32; }

// A name as the game stores it for matching: blanks trimmed, each run of them one space, cut to
// 24 characters, ASCII letters in lower case.
std::string Normalised(const std::string& text) {
  std::string name;
  bool pendingSpace = false;
  for (const char c : text) {
    if (Blank(c)) {
      pendingSpace = !name.empty();
      continue;
    }
    if (pendingSpace) name += ' ';
    pendingSpace = false;
    name += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  }
  return name.substr(0, kLongestName);
}

// "[Section] Key #2" taken apart: the section, the key (empty for the section itself) and which
// occurrence of the key (1 for the first).
struct KeyPlace {
  std::string section, key;
  int occurrence = 1;
};

bool ParsePlace(const std::string& where, KeyPlace& place) {
  const size_t close = where.find(']');
  if (where.empty() || where[0] != '[' || close == std::string::npos) return false;
  place.section = Normalised(where.substr(1, close - 1));
  std::string key = close + 2 <= where.size() ? where.substr(close + 2) : "";
  const size_t hash = key.rfind(" #");
  if (hash != std::string::npos && hash + 2 < key.size() &&
      key.find_first_not_of("0123456789", hash + 2) == std::string::npos) {
    place.occurrence = std::stoi(key.substr(hash + 2));
    key.erase(hash);
  }
  place.key = Normalised(key);
  return true;
}

}  // namespace

int LineFinder::LineOf(const char16_t* file, const std::string& where) {
  KeyPlace place;
  if (pack_ == nullptr || file == nullptr || !ParsePlace(where, place)) return 0;
  const std::vector<std::string>& lines = Lines(file);
  int sectionLine = 0;
  int seen = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    // A "[" anywhere starts a section, as the game reads the file.
    const size_t open = line.find('[');
    if (open != std::string::npos) {
      if (sectionLine != 0) break;  // past the section: the key is not in it
      const size_t close = line.find(']', open);
      if (close != std::string::npos && Normalised(line.substr(open + 1, close - open - 1)) == place.section) {
        sectionLine = static_cast<int>(i) + 1;
        if (place.key.empty()) return sectionLine;
      }
      continue;
    }
    if (sectionLine == 0) continue;
    const size_t first = line.find_first_not_of("\t\r ");
    const size_t equals = line.find('=');
    if (first == std::string::npos || line[first] == '/' || equals == std::string::npos) continue;
    if (Normalised(line.substr(0, equals)) == place.key && ++seen == place.occurrence) return static_cast<int>(i) + 1;
  }
  return sectionLine;
}

const std::vector<std::string>& LineFinder::Lines(const char16_t* file) {
  const std::string name = MatchName(Cp1252FromWide(file));
  const auto found = files_.find(name);
  if (found != files_.end()) return found->second;
  std::vector<std::string>& lines = files_[name];
  const DataBuffer bytes(pack_, file);
  std::string line;
  for (uint32_t i = 0; i < bytes.size; ++i) {
    const char c = static_cast<char>(bytes.data[i]);
    if (c == 0) break;  // the game reads no further
    if (c == '\n') {
      lines.push_back(Utf8FromWide(WideFromCp1252(line).c_str()));
      line.clear();
    } else {
      line += c;
    }
  }
  lines.push_back(Utf8FromWide(WideFromCp1252(line).c_str()));
  return lines;
}

}  // namespace pack_check
