// `kestrel-pack check`: the line of the INI file each problem is about, so that an author's
// editor can go straight to it.
#include "content/data_buffer.h"
#include "core/wide_string.h"
#include "pack_check_internal.h"

namespace pack_check {
namespace {

// "[Section] Key #2" taken apart: the section, the key (empty for the section itself) and which
// occurrence of the key (1 for the first). The names are as the game stored them.
struct KeyPlace {
  std::u16string section, key;
  int occurrence = 1;
};

bool ParsePlace(const std::string& where, KeyPlace& place) {
  const size_t close = where.find(']');
  if (where.empty() || where[0] != '[' || close == std::string::npos) return false;
  place.section = WideFromUtf8(where.substr(1, close - 1));
  std::string key = close + 2 <= where.size() ? where.substr(close + 2) : "";
  const size_t hash = key.rfind(" #");
  if (hash != std::string::npos && hash + 2 < key.size() &&
      key.find_first_not_of("0123456789", hash + 2) == std::string::npos) {
    place.occurrence = std::stoi(key.substr(hash + 2));
    key.erase(hash);
  }
  place.key = WideFromUtf8(key);
  return true;
}

// Whether one line of the file is the header of `section`, or a line defining `key`, when the
// game's own INI reader reads it (so names are trimmed, cut and compared exactly as the game
// does).
bool HeadsSection(const std::u16string& line, const std::u16string& section) {
  IniDocument document;
  document.ParseText(line.c_str());
  return document.FindSection(section.c_str()) != nullptr;
}

bool DefinesKey(const std::u16string& line, const std::u16string& key) {
  IniSection probe;
  probe.ParseBody(line.c_str());
  return probe.FindKey(key.c_str()) != nullptr;
}

}  // namespace

int LineFinder::LineOf(const char16_t* file, const std::string& where) {
  KeyPlace place;
  if (pack_ == nullptr || file == nullptr || !ParsePlace(where, place)) return 0;
  const std::vector<std::u16string>& lines = Lines(file);
  int sectionLine = 0;
  int seen = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::u16string& line = lines[i];
    // A "[" anywhere starts a section, as the game reads the file.
    if (line.find(u'[') != std::u16string::npos) {
      if (sectionLine != 0) break;  // past the section: the key is not in it
      if (HeadsSection(line, place.section)) {
        sectionLine = static_cast<int>(i) + 1;
        if (place.key.empty()) return sectionLine;
      }
      continue;
    }
    if (sectionLine != 0 && DefinesKey(line, place.key) && ++seen == place.occurrence) return static_cast<int>(i) + 1;
  }
  return sectionLine;
}

const std::vector<std::u16string>& LineFinder::Lines(const char16_t* file) {
  const std::string name = MatchName(Cp1252FromWide(file));
  const auto found = files_.find(name);
  if (found != files_.end()) return found->second;
  std::vector<std::u16string>& lines = files_[name];
  const DataBuffer bytes(pack_, file);
  std::string line;
  for (uint32_t i = 0; i < bytes.size; ++i) {
    const char c = static_cast<char>(bytes.data[i]);
    if (c == 0) break;  // the game reads no further
    if (c == '\n') {
      lines.push_back(WideFromCp1252(line));
      line.clear();
    } else {
      line += c;
    }
  }
  lines.push_back(WideFromCp1252(line));
  return lines;
}

}  // namespace pack_check
