#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <string>

#include "run_program.h"

namespace {

TEST(HeadlessRun, SameScriptGivesTheSameFramesByteForByte) {
  const std::string script =
      "wait 400\nscreenshot a.png\npress up\ntap 30 40\nkey down action\nwait 250\nscreenshot b.png\n";
  RunFolder first("first");
  RunFolder second("second");
  // The input test screen echoes the keys and the stylus, so every input shows in the frames.
  const ProgramRun one = RunHeadless(first, script, "--input-test");
  const ProgramRun two = RunHeadless(second, script, "--input-test");
  ASSERT_EQ(one.exitStatus, 0) << one.output;
  ASSERT_EQ(two.exitStatus, 0) << two.output;
  for (const char* name : {"a.png", "b.png"}) {
    const std::string a = ReadBytes(first.path() / name);
    ASSERT_GT(a.size(), 100u) << name;
    EXPECT_EQ(a, ReadBytes(second.path() / name)) << name;
  }
  // The two moments differ: the screen moved on between them.
  EXPECT_NE(ReadBytes(first.path() / "a.png"), ReadBytes(first.path() / "b.png"));
}

TEST(HeadlessRun, StateLinesGoToStandardOutput) {
  RunFolder folder("state");
  const ProgramRun run = RunHeadless(folder, "wait 100\nstate\n");
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_NE(run.output.find("{\"screen\":"), std::string::npos) << run.output;
}

TEST(HeadlessRun, HelpIsAnAnswerAndNotAMistake) {
  RunFolder folder("help");
  const ProgramRun help = RunProgram(folder, "--help");
  EXPECT_EQ(help.exitStatus, 0) << help.output;
  EXPECT_TRUE(Has(help.output, "usage: kestrel-run")) << help.output;
  const ProgramRun mixed = RunProgram(folder, "--help --headless");
  EXPECT_EQ(mixed.exitStatus, 2) << mixed.output;
}

TEST(HeadlessRun, BadScriptLineFailsWithItsLineNumber) {
  RunFolder folder("bad");
  const ProgramRun run = RunHeadless(folder, "wait 100\nfly away\n");
  EXPECT_NE(run.exitStatus, 0);
  EXPECT_NE(run.output.find("line 2"), std::string::npos) << run.output;
}

TEST(HeadlessRun, UnwritableScreenshotFailsTheRun) {
  RunFolder folder("unwritable");
  const ProgramRun run = RunHeadless(folder, "wait 100\nscreenshot no/such/folder/x.png\nwait 100\n");
  EXPECT_NE(run.exitStatus, 0);
  EXPECT_NE(run.output.find("screenshot"), std::string::npos) << run.output;
}

// The screenshot key as a new user meets it: the documents folder the desktop names, made when
// it is missing; a folder that cannot be used costs one line on standard error per picture and
// the game goes on.
TEST(HeadlessRun, ScreenshotKeyWritesIntoTheDocumentsFolderTheDesktopNames) {
  struct Case {
    const char* name;
    std::optional<std::string> documentsVariable;  // below the run folder; nullopt: not set
    const char* userDirsLine;                       // written to user-dirs.dirs when not null
    const char* expectedFolder;                     // below the run folder; null: none can be used
  };
  const Case cases[] = {
      {"environment", "documents", nullptr, "documents"},
      {"environment, missing", "new/shots", nullptr, "new/shots"},
      {"user-dirs", std::nullopt, "XDG_DOCUMENTS_DIR=\"$HOME/Papers\"", "home/Papers"},
      {"environment before user-dirs", "documents", "XDG_DOCUMENTS_DIR=\"$HOME/Papers\"", "documents"},
      {"home's Documents", std::nullopt, nullptr, "home/Documents"},
      {"a file in the way", "blocker", nullptr, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RunFolder folder("documents");
    std::filesystem::create_directories(folder.path() / "config");
    std::ofstream(folder.path() / "blocker") << "not a folder";
    folder.environment["XDG_DOCUMENTS_DIR"] =
        c.documentsVariable ? std::optional<std::string>((folder.path() / *c.documentsVariable).string()) : std::nullopt;
    if (c.userDirsLine != nullptr) {
      std::ofstream(folder.path() / "config" / "user-dirs.dirs") << "# written by xdg-user-dirs-update\n"
                                                                  << c.userDirsLine << "\n";
    }
    const ProgramRun run = RunHeadless(folder, "wait 100\npress app5\nwait 100\npress app5\nwait 100\nstate\n");
    ASSERT_EQ(run.exitStatus, 0) << run.output;
    EXPECT_EQ(StateLines(run.output).size(), 1u) << run.output;
    size_t complaints = 0;
    for (size_t at = run.output.find("cannot write the screenshot"); at != std::string::npos;
         at = run.output.find("cannot write the screenshot", at + 1)) {
      ++complaints;
    }
    if (c.expectedFolder == nullptr) {
      EXPECT_EQ(complaints, 2u) << run.output;
      continue;
    }
    EXPECT_EQ(complaints, 0u) << run.output;
    EXPECT_TRUE(std::filesystem::exists(folder.path() / c.expectedFolder / "KestrelRun0.jpg"));
    EXPECT_TRUE(std::filesystem::exists(folder.path() / c.expectedFolder / "KestrelRun1.jpg"));
  }
}

}  // namespace
