// The menus as a player meets them: scripts tap the popups where their pictures are drawn
// (buttons 160 x 22 from y = 140, centred on x = 120) and read the state lines.
#include <gtest/gtest.h>

#include <vector>

#include "run_program.h"

namespace {

// From the start of the program to the title screen with its menu in place: the logo (2 s),
// the title art (3 s), the title screen's fade and the popup's slide.
constexpr const char* kToTitleMenu = "wait 7000\n";
// Time for a popup to slide out and the next one to slide in.
constexpr const char* kNextPopup = "wait 1800\n";

TEST(MenuRuns, TheIntroRunsToTheTitleScreen) {
  RunFolder folder("intro");
  const ProgramRun run = RunHeadless(folder, "wait 1000\nstate\nwait 2500\nstate\nwait 4000\nstate\n");
  ASSERT_EQ(run.exitStatus, 0) << run.output;
  const auto states = StateLines(run.output);
  ASSERT_EQ(states.size(), 3u) << run.output;
  EXPECT_TRUE(Has(states[0], "\"screen\":\"Intro\",\"mode\":0,\"phase\":2")) << states[0];
  EXPECT_TRUE(Has(states[1], "\"phase\":4")) << states[1];
  EXPECT_TRUE(Has(states[2], "\"screen\":\"Title\"")) << states[2];
  EXPECT_TRUE(Has(states[2], "\"popupDepth\":1")) << states[2];
}

TEST(MenuRuns, TappingDuringTheTitleArtSkipsToTheTitle) {
  RunFolder folder("skip");
  // A tap during the maker's logo does nothing; one during the title art skips.
  const ProgramRun run = RunHeadless(folder, "wait 800\ntap 100 100\nwait 1700\nstate\ntap 100 100\nwait 100\nstate\n");
  ASSERT_EQ(run.exitStatus, 0) << run.output;
  const auto states = StateLines(run.output);
  ASSERT_EQ(states.size(), 2u) << run.output;
  EXPECT_TRUE(Has(states[0], "\"phase\":4")) << states[0];
  EXPECT_TRUE(Has(states[1], "\"screen\":\"Title\"")) << states[1];
}

TEST(MenuRuns, TheDrawDistanceChooserIsSaved) {
  RunFolder folder("chooser");
  const std::string script = std::string(kToTitleMenu) +
                             "tap 120 175\n" + kNextPopup +    // OPTIONS
                             "tap 120 151\n" + kNextPopup +    // GRAPHICS
                             "tap 120 199\n" + kNextPopup +    // DRAW DISTANCE
                             "state\n"
                             "tap 195 190\nwait 100\n"         // the chooser's right end: VERY FAR
                             "state\n"
                             "tap 120 214\n" + kNextPopup +    // BACK to the graphics popup
                             "tap 120 250\n" + kNextPopup +    // BACK to the options popup
                             "state\n";
  const ProgramRun run = RunHeadless(folder, script);
  ASSERT_EQ(run.exitStatus, 0) << run.output;
  const auto states = StateLines(run.output);
  ASSERT_EQ(states.size(), 3u) << run.output;
  EXPECT_TRUE(Has(states[0], "\"popupDepth\":4")) << states[0];
  EXPECT_TRUE(Has(states[1], "\"popupDepth\":4")) << states[1];  // an option change keeps it open
  EXPECT_TRUE(Has(states[2], "\"popupDepth\":2")) << states[2];
  const std::string settings = ReadBytes(folder.path() / "config" / "kestrel-run" / "settings.ini");
  EXPECT_TRUE(Has(settings, "DrawDistance=3")) << settings;
}

TEST(MenuRuns, SkipIntroSetInTheIntroPopupSkipsTheNextTitleArt) {
  RunFolder folder("skipintro");
  const std::string set = std::string(kToTitleMenu) +
                          "tap 120 175\n" + kNextPopup +  // OPTIONS
                          "tap 120 199\n" + kNextPopup +  // INTRO
                          "tap 120 151\nwait 100\n"       // the SkipIntro toggle
                          "tap 120 178\n" + kNextPopup;   // BACK
  ASSERT_EQ(RunHeadless(folder, set).exitStatus, 0);
  EXPECT_TRUE(Has(ReadBytes(folder.path() / "config" / "kestrel-run" / "settings.ini"), "SkipIntro=1"));
  const ProgramRun next = RunHeadless(folder, "wait 2600\nstate\n");
  const auto states = StateLines(next.output);
  ASSERT_EQ(states.size(), 1u) << next.output;
  EXPECT_TRUE(Has(states[0], "\"screen\":\"Title\"")) << states[0];
}

TEST(MenuRuns, ExitEndsTheProgramAfterTheFade) {
  RunFolder folder("exit");
  const std::string script = std::string(kToTitleMenu) + "tap 120 223\nwait 600\nstate\nwait 500\nstate\nwait 5000\n";
  const ProgramRun run = RunHeadless(folder, script);
  EXPECT_EQ(run.exitStatus, 0) << run.output;
  const auto states = StateLines(run.output);
  // The popup slides out (512 ms), the screen fades to black (500 ms), and the program ends
  // before the script does.
  ASSERT_EQ(states.size(), 1u) << run.output;
  EXPECT_TRUE(Has(states[0], "\"menuState\":\"FadingOut\"")) << states[0];
}

TEST(MenuRuns, CreditsAndHelpShowTheirPicturesAndOkReturns) {
  RunFolder folder("info");
  const std::string script = std::string(kToTitleMenu) +
                             "tap 120 175\n" + kNextPopup +     // OPTIONS
                             "tap 120 223\nwait 1500\n"         // CREDITS
                             "state\nscreenshot credits.png\n"
                             "tap 210 290\nwait 1500\n"         // OK on the frame
                             "state\n"
                             "wait 1500\ntap 120 199\nwait 1500\n"  // HELP
                             "state\nscreenshot help.png\n"
                             "press action\nwait 1500\n"        // the action key is OK too
                             "state\n";
  const ProgramRun run = RunHeadless(folder, script);
  ASSERT_EQ(run.exitStatus, 0) << run.output;
  const auto states = StateLines(run.output);
  ASSERT_EQ(states.size(), 4u) << run.output;
  EXPECT_TRUE(Has(states[0], "\"screen\":\"Credits\"")) << states[0];
  EXPECT_TRUE(Has(states[1], "\"screen\":\"Title\"")) << states[1];
  EXPECT_TRUE(Has(states[2], "\"screen\":\"Controls\"")) << states[2];
  EXPECT_TRUE(Has(states[3], "\"screen\":\"Title\"")) << states[3];
  EXPECT_NE(ReadBytes(folder.path() / "credits.png"), ReadBytes(folder.path() / "help.png"));
}

}  // namespace

namespace {

TEST(MenuRuns, TheInGameMenuAsksBeforeQuitting) {
  RunFolder folder("ingame");
  // On the input test screen the menu key opens the in-game menu: QUIT, then NO slides the menu
  // in again, QUIT and YES end the program.
  const std::string script = "wait 200\npress app4\nwait 1200\n"
                             "tap 120 199\nwait 1800\nstate\n"  // QUIT
                             "tap 120 220\nwait 1800\nstate\n"  // NO
                             "tap 120 199\nwait 1800\n"
                             "tap 120 196\nwait 1000\nstate\n";  // YES
  const ProgramRun run = RunHeadless(folder, script, "--input-test");
  EXPECT_EQ(run.exitStatus, 0) << run.output;
  const auto states = StateLines(run.output);
  ASSERT_EQ(states.size(), 2u) << run.output;
  EXPECT_TRUE(Has(states[0], "\"popupDepth\":2")) << states[0];
  EXPECT_TRUE(Has(states[1], "\"popupDepth\":1")) << states[1];
}

}  // namespace
