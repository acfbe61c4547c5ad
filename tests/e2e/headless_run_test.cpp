#include <gtest/gtest.h>

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

TEST(HeadlessRun, ScreenshotKeyWritesJpegsToTheDocumentsFolder) {
  RunFolder folder("jpeg");
  const ProgramRun run = RunHeadless(folder, "wait 100\npress app5\nwait 100\npress app5\nwait 100\n");
  ASSERT_EQ(run.exitStatus, 0) << run.output;
  EXPECT_TRUE(std::filesystem::exists(folder.path() / "documents" / "KestrelRun0.jpg"));
  EXPECT_TRUE(std::filesystem::exists(folder.path() / "documents" / "KestrelRun1.jpg"));
}

}  // namespace
