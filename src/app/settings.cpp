#include "app/settings.h"

#include <string_view>

#include "app/settings_file.h"
#include "content/ini.h"
#include "platform/files.h"

namespace {

constexpr char16_t kSectionName[] = u"Kestrel Run";

// The value of `name` as a number, or false when it is missing or not a number (which, like an
// unreadable registry value, leaves the field as it was).
bool ReadNumber(const IniSection& section, const char16_t* name, uint32_t* number) {
  const IniKey* key = section.FindKey(name);
  if (key == nullptr || key->values.Empty()) return false;
  const IniValue* value = key->values[0];
  if (value->text == nullptr || value->text[0] < u'0' || value->text[0] > u'9') return false;
  *number = value->ToInt();
  return true;
}

template <typename T>
void SetAndMark(T* field, T value, bool* dirty) {
  if (*field == value) return;
  *field = value;
  *dirty = true;
}

// The settings file's sections, read through the game's INI reader.
bool ReadSettingsFile(const std::string& path, IniDocument* document) {
  std::string bytes;
  if (!ReadWholeFile(path, &bytes)) return false;
  document->LoadFromBuffer(reinterpret_cast<const uint8_t*>(bytes.data()), static_cast<uint32_t>(bytes.size()));
  return true;
}

}  // namespace

bool SettingsStore::Load() {
  dirty = false;
  return true;
}

bool SettingsStore::Save() {
  dirty = false;
  return true;
}

std::string Settings::DefaultPath() { return ConfigDirectory() + "/settings.ini"; }

Settings::Settings(std::string path) : path_(std::move(path)) {}

bool Settings::Load() {
  IniDocument document;
  if (!ReadSettingsFile(path_, &document)) return SettingsStore::Load();  // first run: the defaults
  const IniSection* section = document.FindSection(kSectionName);
  if (section == nullptr) return SettingsStore::Load();

  uint32_t number = 0;
  if (ReadNumber(*section, u"SkipIntro", &number)) skipIntro = number != 0;
  if (ReadNumber(*section, u"Interlaced", &number)) interlaced = number != 0;
  if (ReadNumber(*section, u"Mute", &number)) mute = number != 0;
  if (ReadNumber(*section, u"Volume", &number)) volume = static_cast<uint8_t>(number);
  // Values the game cannot use would index past its tables: they fall back to the defaults.
  if (ReadNumber(*section, u"ScreenMode", &number) && number <= 1) screenMode = number;
  if (ReadNumber(*section, u"DrawDistance", &number) && number <= 3) drawDistance = number;
  if (ReadNumber(*section, u"ImageQuality", &number) && number <= 3) imageQuality = number;
  return SettingsStore::Load();
}

bool Settings::Save() {
  std::string text;
  const auto line = [&text](const char* name, uint32_t value) {
    text += name;
    text += '=';
    text += std::to_string(value);
    text += '\n';
  };
  line("SkipIntro", skipIntro ? 1 : 0);
  line("Interlaced", interlaced ? 1 : 0);
  line("Mute", mute ? 1 : 0);
  line("Volume", volume);
  line("ScreenMode", screenMode);
  line("DrawDistance", drawDistance);
  line("ImageQuality", imageQuality);
  // Only this section is rewritten: the window's own section in the same file stays.
  if (!WriteIniSection(path_, "Kestrel Run", text)) return false;
  return SettingsStore::Save();
}

void Settings::SetSkipIntro(bool value) { SetAndMark(&skipIntro, value, &dirty); }
void Settings::SetInterlaced(bool value) { SetAndMark(&interlaced, value, &dirty); }
void Settings::SetMute(bool value) { SetAndMark(&mute, value, &dirty); }
void Settings::SetVolume(uint8_t value) { SetAndMark(&volume, value, &dirty); }
void Settings::SetScreenMode(uint32_t value) { SetAndMark(&screenMode, value, &dirty); }
void Settings::SetDrawDistance(uint32_t value) { SetAndMark(&drawDistance, value, &dirty); }
void Settings::SetImageQuality(uint32_t value) { SetAndMark(&imageQuality, value, &dirty); }

WindowSettings WindowSettings::Load(const std::string& path) {
  WindowSettings settings;
  IniDocument document;
  const IniSection* section = ReadSettingsFile(path, &document) ? document.FindSection(u"Window") : nullptr;
  if (section == nullptr) return settings;
  // This section is the desktop's own, so its numbers are read strictly: whole decimal numbers
  // only, none so long that it would wrap into range.
  const auto readStrictly = [section](const char16_t* name, uint32_t* number) {
    const IniKey* key = section->FindKey(name);
    if (key == nullptr || key->values.Empty() || key->values[0]->text == nullptr) return false;
    const std::u16string_view text = key->values[0]->text;
    if (text.empty() || text.size() > 9) return false;
    for (char16_t c : text) {
      if (c < u'0' || c > u'9') return false;
    }
    *number = key->values[0]->ToInt();
    return true;
  };
  uint32_t number = 0;
  if (readStrictly(u"Scale", &number) && number >= 1 && number <= kLargestScale) settings.scale = static_cast<int>(number);
  if (readStrictly(u"Fullscreen", &number) && number <= 1) settings.fullscreen = number == 1;
  return settings;
}

bool WindowSettings::Save(const std::string& path) const {
  std::string body;
  if (scale != 0) body += "Scale=" + std::to_string(scale) + "\n";
  body += std::string("Fullscreen=") + (fullscreen ? "1" : "0") + "\n";
  return WriteIniSection(path, "Window", body);
}
