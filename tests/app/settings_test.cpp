#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/settings.h"
#include "app/settings_file.h"
#include "app_test_support.h"

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteFile(const std::string& path, const std::string& text) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

void ExpectDefaults(const Settings& s) {
  EXPECT_FALSE(s.skipIntro);
  EXPECT_TRUE(s.interlaced);
  EXPECT_FALSE(s.mute);
  EXPECT_EQ(s.volume, 128);
  EXPECT_EQ(s.screenMode, 0u);
  EXPECT_EQ(s.drawDistance, 2u);
  EXPECT_EQ(s.imageQuality, 2u);
}

TEST(Settings, FirstRunUsesDefaultsAndWritesNothing) {
  TemporaryHome home;
  Settings settings(home.SettingsPath());
  EXPECT_TRUE(settings.Load());
  ExpectDefaults(settings);
  EXPECT_FALSE(settings.dirty);
  EXPECT_FALSE(std::filesystem::exists(home.SettingsPath()));
}

TEST(Settings, DefaultPathFollowsTheConfigFolder) {
  TemporaryHome home;
  EXPECT_EQ(Settings::DefaultPath(), home.SettingsPath());
}

TEST(Settings, SaveWritesAllSevenAndLoadsBack) {
  TemporaryHome home;
  Settings settings(home.SettingsPath());
  settings.SetDrawDistance(3);
  settings.SetMute(true);
  EXPECT_TRUE(settings.dirty);
  EXPECT_TRUE(settings.Save());
  EXPECT_FALSE(settings.dirty);
  EXPECT_EQ(ReadFile(home.SettingsPath()),
            "[Kestrel Run]\nSkipIntro=0\nInterlaced=1\nMute=1\nVolume=128\nScreenMode=0\nDrawDistance=3\n"
            "ImageQuality=2\n");
  Settings again(home.SettingsPath());
  again.Load();
  EXPECT_EQ(again.drawDistance, 3u);
  EXPECT_TRUE(again.mute);
  EXPECT_EQ(again.volume, 128);
}

TEST(Settings, SettersMarkDirtyOnlyOnChange) {
  TemporaryHome home;
  Settings settings(home.SettingsPath());
  settings.SetImageQuality(2);
  settings.SetInterlaced(true);
  EXPECT_FALSE(settings.dirty);
  settings.SetScreenMode(1);
  EXPECT_TRUE(settings.dirty);
}

TEST(Settings, StoredValuesAreReadLikeRegistryNumbers) {
  const struct {
    const char* line;
    const char* field;
    uint32_t expected;
  } cases[] = {
      {"Volume=300", "volume", 44},           // low 8 bits
      {"SkipIntro=5", "skipIntro", 1},        // any non-zero number is on
      {"Interlaced=0", "interlaced", 0},
      {"ScreenMode=1", "screenMode", 1},
      {"ScreenMode=2", "screenMode", 0},      // out of range: the default
      {"DrawDistance=4", "drawDistance", 2},
      {"ImageQuality=0", "imageQuality", 0},
      {"ImageQuality=-1", "imageQuality", 2}, // not a number: the default
      {"Volume=loud", "volume", 128},
  };
  for (const auto& c : cases) {
    TemporaryHome home;
    WriteFile(home.SettingsPath(), std::string("[Kestrel Run]\r\n") + c.line + "\r\n");
    Settings s(home.SettingsPath());
    s.Load();
    const std::string field = c.field;
    const uint32_t value = field == "volume"         ? s.volume
                           : field == "skipIntro"    ? s.skipIntro
                           : field == "interlaced"   ? s.interlaced
                           : field == "screenMode"   ? s.screenMode
                           : field == "drawDistance" ? s.drawDistance
                                                     : s.imageQuality;
    EXPECT_EQ(value, c.expected) << c.line;
  }
}

TEST(Settings, SkipIntroOfFiveSavesBackAsOne) {
  TemporaryHome home;
  WriteFile(home.SettingsPath(), "[Kestrel Run]\nSkipIntro=5\n");
  Settings settings(home.SettingsPath());
  settings.Load();
  settings.Save();
  EXPECT_NE(ReadFile(home.SettingsPath()).find("SkipIntro=1\n"), std::string::npos);
}

TEST(Settings, UnreadableFileGivesDefaultsAndStaysUntouched) {
  TemporaryHome home;
  const char bytes[] = "\x01\xFF garbage without any section \x00 more";
  const std::string garbage(bytes, sizeof bytes - 1);
  WriteFile(home.SettingsPath(), garbage);
  Settings settings(home.SettingsPath());
  settings.Load();
  ExpectDefaults(settings);
  EXPECT_EQ(ReadFile(home.SettingsPath()), garbage);
}

TEST(Settings, FailedSaveKeepsTheValuesAndTheDirtyFlag) {
  TemporaryHome home;
  // The settings folder is a file: nothing can be written below it.
  WriteFile((home.root / "blocked").string(), "x");
  Settings settings((home.root / "blocked" / "settings.ini").string());
  settings.SetVolume(7);
  EXPECT_FALSE(settings.Save());
  EXPECT_TRUE(settings.dirty);
  EXPECT_EQ(settings.volume, 7);
}

TEST(SettingsFile, ReplacingOneSectionKeepsEveryOtherLine) {
  struct Case {
    const char* name;
    const char* before;
    const char* after;
  };
  const Case cases[] = {
      {"empty file", "", "[Window]\nScale=3\n"},
      {"added at the end", "[Kestrel Run]\nMute=1\n", "[Kestrel Run]\nMute=1\n[Window]\nScale=3\n"},
      {"last line without its end", "[Kestrel Run]\nMute=1", "[Kestrel Run]\nMute=1\n[Window]\nScale=3\n"},
      {"replaced in place", "[window]\nScale=9\nOld=1\n\n[Kestrel Run]\r\nMute=1\r\n",
       "[Window]\nScale=3\n[Kestrel Run]\r\nMute=1\r\n"},
      {"later copies dropped", "[Window]\nScale=1\n[Other]\nA=1\n  [Window]\nScale=2\n[Last]\n",
       "[Window]\nScale=3\n[Other]\nA=1\n[Last]\n"},
      {"comments and text before any section", "; mine\nstray\n[Window]\nScale=1\n", "; mine\nstray\n[Window]\nScale=3\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReplaceIniSection(c.before, "Window", "Scale=3\n"), c.after) << c.name;
  }
}

// The game's settings and the window's share the file; saving either leaves the other.
TEST(SettingsFile, GameAndWindowSettingsKeepEachOther) {
  TemporaryHome home;
  Settings settings(home.SettingsPath());
  settings.SetVolume(40);
  ASSERT_TRUE(settings.Save());
  ASSERT_TRUE((WindowSettings{3, true}.Save(home.SettingsPath())));
  settings.SetMute(true);
  ASSERT_TRUE(settings.Save());

  EXPECT_EQ(WindowSettings::Load(home.SettingsPath()), (WindowSettings{3, true}));
  Settings again(home.SettingsPath());
  again.Load();
  EXPECT_EQ(again.volume, 40);
  EXPECT_TRUE(again.mute);
  EXPECT_EQ(ReadFile(home.SettingsPath()),
            "[Kestrel Run]\nSkipIntro=0\nInterlaced=1\nMute=1\nVolume=40\nScreenMode=0\nDrawDistance=2\n"
            "ImageQuality=2\n[Window]\nScale=3\nFullscreen=1\n");
}

TEST(SettingsFile, WindowValuesOutOfRangeStayDefault) {
  struct Case {
    const char* lines;
    WindowSettings expected;
  };
  const Case cases[] = {
      {"Scale=4\nFullscreen=1\n", {4, true}},
      {"Scale=16\n", {16, false}},
      {"Scale=0\nFullscreen=0\n", {0, false}},
      {"Scale=17\n", {0, false}},
      {"Scale=-2\nFullscreen=yes\n", {0, false}},
      {"Scale=4294967299\n", {0, false}},
  };
  TemporaryHome home;
  for (const Case& c : cases) {
    WriteFile(home.SettingsPath(), std::string("[Kestrel Run]\nMute=1\n[Window]\n") + c.lines);
    EXPECT_EQ(WindowSettings::Load(home.SettingsPath()), c.expected) << c.lines;
  }
  std::filesystem::remove(home.SettingsPath());
  EXPECT_EQ(WindowSettings::Load(home.SettingsPath()), WindowSettings{});
}

}  // namespace
