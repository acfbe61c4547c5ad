// The player's preferences: seven numbers kept in a small INI file in the user's config folder.
//
// The application creates and loads them once at start-up; everything else reads the fields
// directly. The option widgets of the popup menus change them through the setters, which mark
// them dirty, and a menu that closes with dirty settings saves them. Nothing saves at shutdown.
#pragma once

#include <cstdint>
#include <string>

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // Both clear the dirty flag; the base versions store nothing.
  virtual bool Load();
  virtual bool Save();

  bool dirty = false;
};

class Settings : public SettingsStore {
 public:
  // The file the settings live in: settings.ini in the user's config folder.
  static std::string DefaultPath();

  explicit Settings(std::string path = DefaultPath());

  // Reads the file; a missing or unreadable file, or a value that is missing, not a number or
  // out of its range, leaves that value at its default. Always true.
  bool Load() override;
  // Writes all seven values atomically (temporary file, then rename). False, with the dirty flag
  // kept, when the file could not be written; the values in memory stay in force either way.
  bool Save() override;

  void SetSkipIntro(bool value);
  void SetInterlaced(bool value);
  void SetMute(bool value);
  void SetVolume(uint8_t value);
  void SetScreenMode(uint32_t value);
  void SetDrawDistance(uint32_t value);
  void SetImageQuality(uint32_t value);

  const std::string& path() const { return path_; }

  bool skipIntro = false;    // straight from the maker's logo to the title screen
  bool interlaced = true;    // the 3D view is drawn with doubled rows
  bool mute = false;         // no game sounds are loaded
  uint8_t volume = 128;      // 0..255; 0 also means no game sounds
  uint32_t screenMode = 0;   // of the game screen: 0 portrait, 1 landscape
  uint32_t drawDistance = 2;  // 0..3
  uint32_t imageQuality = 2;  // 0..3

 private:
  std::string path_;
};

// The desktop window's own preferences, kept in the same file in a section of their own
// ([Window]) so that the game's seven settings stay as they are. Headless runs neither read nor
// write them.
struct WindowSettings {
  static constexpr int kLargestScale = 16;

  int scale = 0;  // 1..kLargestScale; 0 until the player has one (the largest that fits)
  bool fullscreen = false;

  bool operator==(const WindowSettings&) const = default;

  // Reads the section; a missing file, section or value, or one out of range, stays default.
  static WindowSettings Load(const std::string& path);
  // Rewrites the section only. False when the file cannot be written.
  bool Save(const std::string& path) const;
};
