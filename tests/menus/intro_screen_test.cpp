#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "../app/app_test_support.h"
#include "app/application.h"
#include "archive_writer.h"
#include "gfx/test_pictures.h"
#include "menus/intro_screen.h"
#include "platform/headless/headless_platform.h"

namespace {

// A title screen stand-in, so the test sees when the intro hands over.
class TitleStandIn : public Screen {
 public:
  using Screen::Screen;
  const char* Name() const override { return "TitleStandIn"; }
};
Screen* CreateTitleStandIn(Application* application) { return new TitleStandIn(application); }

// Writes core.bin with an intro of `frames` pictures into the test's content folder.
void WriteIntroPack(const std::filesystem::path& folder, int frames) {
  std::vector<PackSource> files = {{"content.ini", {}}};
  const std::string manifest = "[KestrelRun]\nIntro = 1\n";
  files[0].data.assign(manifest.begin(), manifest.end());
  for (int i = 0; i < frames; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "intro\\%03d.jpg", i);
    files.push_back({name, EncodeFlatJpeg(240, 320, 3, static_cast<uint8_t>(40 * i))});
  }
  const std::vector<uint8_t> archive = BuildArchive(files, ArchiveOptions{});
  std::ofstream(folder / "core.bin", std::ios::binary)
      .write(reinterpret_cast<const char*>(archive.data()), static_cast<std::streamsize>(archive.size()));
}

class IntroScreenTest : public testing::Test {
 protected:
  void Start(int frames, bool skipIntro = false) {
    WriteIntroPack(home.root / "content", frames);
    factory.title = &CreateTitleStandIn;
    application = std::make_unique<Application>(&platform, factory, home.SettingsPath());
    ASSERT_TRUE(application->Create(u"KestrelR", u"Kestrel Run"));
    application->settings->skipIntro = skipIntro;
    application->registry.Load(ProgramDirectory());
    ASSERT_NE(application->registry.introPack, nullptr);
    intro = std::make_unique<IntroScreen>(application.get());
    intro->Enter();
  }

  // Runs frames of 20 ms for `ms`, drawing each; returns the successor if one came.
  Screen* Run(uint32_t ms) {
    for (uint32_t t = 0; t < ms; t += 20) {
      if (Screen* next = intro->Update(20, 0)) return next;
      intro->Draw();
    }
    return nullptr;
  }

  // Runs 20 ms frames until the phase is reached; returns the milliseconds it took (or more
  // than `limitMs` when it never came).
  uint32_t RunUntil(uint32_t phase, uint32_t limitMs) {
    uint32_t ms = 0;
    while (intro->phase() != phase && ms <= limitMs) {
      EXPECT_EQ(intro->Update(20, 0), nullptr);
      intro->Draw();
      ms += 20;
    }
    return ms;
  }

  TemporaryHome home;
  HeadlessPlatform platform;
  ScreenFactory factory;
  std::unique_ptr<Application> application;
  std::unique_ptr<IntroScreen> intro;
};

TEST_F(IntroScreenTest, PhasesRunFromTheLogoThroughTheAnimationToTheTitle) {
  Start(3);
  EXPECT_EQ(RunUntil(IntroScreen::LogoFadingIn, 100), 20u);
  EXPECT_NEAR(RunUntil(IntroScreen::LogoHeld, 1000), 500, 20);
  Run(20);
  EXPECT_EQ(intro->framesLeft(), 3);  // loaded from the intro pack while the logo holds
  EXPECT_NEAR(RunUntil(IntroScreen::LogoFadingOut, 2000), 980, 20);
  EXPECT_NEAR(RunUntil(IntroScreen::TitleArtSliding, 1000), 500, 20);
  EXPECT_NEAR(RunUntil(IntroScreen::Animation, 4000), 3000, 40);
  EXPECT_EQ(intro->framesLeft(), 1);  // the first is shown, the second decoded ahead
  Screen* next = Run(1000);
  ASSERT_NE(next, nullptr);
  EXPECT_STREQ(next->Name(), "TitleStandIn");
  delete next;
  intro->Leave();
}

TEST_F(IntroScreenTest, TappingDuringTheTitleArtSkipsToTheTitle) {
  Start(3);
  RunUntil(IntroScreen::LogoFadingOut, 3000);
  application->penDown = 1;
  Run(100);  // the logo ignores taps
  EXPECT_EQ(intro->phase(), IntroScreen::LogoFadingOut);
  application->penDown = 0;
  RunUntil(IntroScreen::TitleArtSliding, 1000);
  Run(200);
  application->penDown = 1;
  Screen* next = Run(60);
  ASSERT_NE(next, nullptr);
  delete next;
  intro->Leave();
}

TEST_F(IntroScreenTest, SkipIntroShowsOnlyTheLogo) {
  Start(3, true);
  Run(1000);
  EXPECT_EQ(intro->framesLeft(), 0);  // nothing loaded
  Screen* next = Run(1100);
  ASSERT_NE(next, nullptr);
  EXPECT_STREQ(next->Name(), "TitleStandIn");
  delete next;
  intro->Leave();
}

TEST_F(IntroScreenTest, WithoutIntroFramesTheTitleArtLeadsToTheTitle) {
  Start(0);
  Run(2000);
  EXPECT_EQ(intro->framesLeft(), 0);
  Screen* next = Run(3200);
  ASSERT_NE(next, nullptr);
  delete next;
  intro->Leave();
}

}  // namespace
