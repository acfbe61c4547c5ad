#include "app/settings_file.h"

#include <string_view>

#include "platform/files.h"

namespace {

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// The name of the section a line starts, or false when the line starts none.
bool SectionHeader(std::string_view line, std::string_view* name) {
  while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
  if (line.empty() || line.front() != '[') return false;
  const size_t close = line.find(']');
  if (close == std::string_view::npos) return false;
  *name = line.substr(1, close - 1);
  return true;
}

}  // namespace

std::string ReplaceIniSection(const std::string& text, const std::string& section, const std::string& body) {
  const std::string replacement = "[" + section + "]\n" + body;
  std::string result;
  bool inOurs = false;
  bool written = false;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    end = end == std::string::npos ? text.size() : end + 1;
    const std::string_view line(text.data() + start, end - start);
    start = end;
    std::string_view name;
    if (SectionHeader(line, &name)) {
      inOurs = SameNameIgnoringCase(name, section);
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
