#include "app/settings_file.h"

#include <string_view>

#include "content/ini.h"
#include "core/wide_string.h"
#include "platform/files.h"

namespace {

// Whether a line of the file starts a section (a "[" anywhere does, as the game reads the file)
// and whether that section is `section`, decided by the game's own INI reader, so that names are
// trimmed, cut and compared exactly as the game does when it loads the settings.
bool StartsSection(std::string_view line) { return line.find('[') != std::string_view::npos; }

bool HeadsSection(std::string_view line, const std::u16string& section) {
  IniDocument document;
  document.ParseText(WideFromCp1252(line.data(), line.size()).c_str());
  return document.FindSection(section.c_str()) != nullptr;
}

}  // namespace

std::string ReplaceIniSection(const std::string& text, const std::string& section, const std::string& body) {
  const std::string replacement = "[" + section + "]\n" + body;
  const std::u16string sectionName = WideFromCp1252(section);
  std::string result;
  bool inOurs = false;
  bool written = false;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    end = end == std::string::npos ? text.size() : end + 1;
    const std::string_view line(text.data() + start, end - start);
    start = end;
    if (StartsSection(line)) {
      inOurs = HeadsSection(line, sectionName);
      if (inOurs && !written) {
        result += replacement;
        written = true;
      }
    }
    if (inOurs) continue;
    result += line;
    // A last line without its line end would run into a section added after it.
    if (start == text.size() && !line.empty() && line.back() != '\n') result += '\n';
  }
  if (!written) result += replacement;
  return result;
}

bool WriteIniSection(const std::string& path, const std::string& section, const std::string& body) {
  std::string text;
  if (!ReadWholeFile(path, &text)) text.clear();
  return WriteFileAtomically(path, ReplaceIniSection(text, section, body));
}
