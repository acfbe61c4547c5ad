// The soak (kestrel-run --headless --soak SECONDS --seed N) on the core pack: a simulated minute
// of random play that gets into a mission, the same report for the same seed, and the options
// it refuses.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "run_program.h"

namespace {

// A minute of seed 3 gets through the menus into a mission well within its time.
constexpr const char* kMinuteSoak = "--headless --soak 60 --seed 3";

ProgramRun RunSoak(const std::string& name, const std::string& arguments = kMinuteSoak) {
  RunFolder folder(name);
  return RunProgram(folder, arguments, KESTREL_CORE_PACK_DIR);
}

// The rest of the report's line that starts with `label`, or "" when it has none.
std::string ReportLine(const std::string& report, const std::string& label) {
  std::istringstream lines(report);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind(label, 0) == 0) return line.substr(label.size());
  }
  return {};
}

// The report without its memory figures, which are the one part that may differ between runs.
std::string WithoutMemory(const std::string& report) {
  std::istringstream lines(report);
  std::string kept;
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("memory:", 0) != 0) kept += line + "\n";
  }
  return kept;
}

TEST(Soak, AMinuteVisitsSeveralScreensAndStartsAMission) {
  const ProgramRun run = RunSoak("minute");
  ASSERT_EQ(run.exitStatus, 0) << run.output;
  EXPECT_TRUE(Has(run.output, "soak: seed 3, 60.")) << run.output;
  const std::string screens = ReportLine(run.output, "screens visited: ");
  EXPECT_TRUE(Has(screens, "Title ")) << run.output;
  EXPECT_TRUE(Has(screens, "game ")) << run.output;
  EXPECT_GE(std::atoi(ReportLine(run.output, "missions started: ").c_str()), 1) << run.output;
  EXPECT_GT(std::atoll(ReportLine(run.output, "memory: peak ").c_str()), 0) << run.output;
}

TEST(Soak, TheSameSeedGivesTheSameRun) {
  const ProgramRun one = RunSoak("same1");
  const ProgramRun two = RunSoak("same2");
  ASSERT_EQ(one.exitStatus, 0) << one.output;
  ASSERT_EQ(two.exitStatus, 0) << two.output;
  EXPECT_NE(WithoutMemory(one.output).find("screens visited:"), std::string::npos) << one.output;
  EXPECT_EQ(WithoutMemory(one.output), WithoutMemory(two.output));
  const ProgramRun other = RunSoak("other", "--headless --soak 60 --seed 4");
  ASSERT_EQ(other.exitStatus, 0) << other.output;
  EXPECT_NE(WithoutMemory(one.output), WithoutMemory(other.output));
}

TEST(Soak, BadOptionsAreRefusedWithTheUsage) {
  const char* refused[] = {
      "--soak 60",                                         // not headless
      "--headless --soak 0",                               // no time
      "--headless --soak 86401",                           // more than a day
      "--headless --soak 1m",                              // not a number
      "--headless --soak -5",                              //
      "--headless --soak 60 --seed x",                     //
      "--headless --soak 60 --seed 18446744073709551616",  // past 64 bits
      "--headless --script run.script --seed 1",           // a seed without a soak
      "--headless --soak 60 --script run.script",          // the soak makes its own input
      "--headless --soak 60 --record run.record",          // and restarts, which no single record or trace holds
      "--headless --soak 60 --trace run.jsonl",            //
      "--headless --soak 60 --mission \"Island Patrol\"",  //
  };
  for (const char* arguments : refused) {
    const ProgramRun run = RunSoak("refused", arguments);
    EXPECT_EQ(run.exitStatus, 2) << arguments << "\n" << run.output;
    EXPECT_TRUE(Has(run.output, "--soak SECONDS")) << arguments << "\n" << run.output;
  }
}

}  // namespace
