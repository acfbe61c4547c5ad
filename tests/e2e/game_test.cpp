// Missions of the core pack flown through the quick start, as a player would with keys and the
// stylus on the HUD: a won mission (radar destroyed with rockets, fuel picked up, landing on the
// helipad, the debriefing), a crash into a building, quitting from the in-game menu, a recorded run replayed to
// the same trace, and the quick start's refusals.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "run_program.h"

namespace {

const std::string kPatrol = "--mission \"Island Patrol\" --weapon \"Rocket Pod\"";

// Island Patrol: the helipad at (760, 1320), the radar 456 m south-south-east at (880, 880), the
// fuel drums 53 m east of the helipad. Heights by tapping the altitude gauge (x 233; 2 pixels a
// metre up from y 305), speed by the up and down keys (10 % a press).
const std::string kWinIslandPatrol =
    // Up to 35 m and turned left onto the radar (165 degrees), half speed ahead.
    "wait 300\ntap 233 235\nwait 2500\nkey down left\nwait 230\nkey up left\nwait 2000\n"
    "press up\npress up\npress up\npress up\npress up\nwait 5000\n"
    // Some 230 m short of it: the rocket pod (next weapon) and three rockets; then stop.
    "press app2\npress action\nwait 300\npress action\nwait 300\npress action\nwait 2500\n"
    "press down\npress down\npress down\npress down\npress down\nwait 6000\nstate\n"
    // Round to the north (354 degrees), down to 4 m, and over the fuel drums at 30 %.
    "key down left\nwait 2500\nkey up left\nwait 3000\ntap 233 297\nwait 3000\n"
    "press up\npress up\npress up\nwait 15500\npress down\npress down\npress down\nwait 6000\nstate\n"
    // Left onto the helipad (229 degrees), 20 % for a few seconds, stop, and set down.
    "key down left\nwait 1840\nkey up left\nwait 6000\npress up\npress up\nwait 3300\n"
    "press down\npress down\nwait 8000\ntap 233 306\nwait 4000\nstate\nwait 3000\nstate\n";

TEST(GameRuns, IslandPatrolIsWonWithRocketsAndALandingOnTheHelipad) {
  RunFolder folder("patrol");
  const ProgramRun run = RunHeadless(folder, kWinIslandPatrol, kPatrol, KESTREL_CORE_PACK_DIR);
  ASSERT_EQ(run.exitStatus, 0) << run.output;
  const std::vector<std::string> states = StateLines(run.output);
  ASSERT_EQ(states.size(), 4u) << run.output;
  // The rockets hit: the radar is destroyed, and the mission is complete.
  EXPECT_TRUE(Has(states[0], "\"object\":\"PatrolRadar\",\"status\":\"achieved\"")) << states[0];
  EXPECT_TRUE(Has(states[0], "\"weapon\":\"Rocket Pod\",\"shots\":9")) << states[0];
  EXPECT_TRUE(Has(states[0], "\"Mission complete. Return to base\"")) << states[0];
  // Over the drums: a full tank again (a Range of 200 s less a few seconds of flight since).
  EXPECT_TRUE(Has(states[1], "\"fuel\":19")) << states[1];
  // Down on the helipad: the mission is over and the hand-over to the debriefing is counting;
  // 1501 ms after the end the debriefing shows the success.
  EXPECT_TRUE(Has(states[2], "\"onGround\":1,\"engineRunning\":1,\"crashed\":0")) << states[2];
  EXPECT_TRUE(Has(states[2], "\"missionOver\":1")) << states[2];
  EXPECT_FALSE(Has(states[2], "\"endDelay\":0,")) << states[2];
  EXPECT_TRUE(Has(states[3], "\"screen\":\"Debrief\",\"mode\":0,\"menuState\":\"Active\",\"mission\":\"Island Patrol\","
                             "\"result\":\"success\"")) << states[3];
}

TEST(GameRuns, FlyingIntoTheHangarIsACrash) {
  RunFolder folder("crash");
  // 4 m up, right onto the hangar north-west of the helipad, 20 % ahead.
  const std::string script =
      "wait 300\ntap 233 297\nwait 2500\nkey down right\nwait 2100\nkey up right\nwait 6000\n"
      "press up\npress up\nwait 7000\nstate\n";
  const ProgramRun run = RunHeadless(folder, script, kPatrol, KESTREL_CORE_PACK_DIR);
  ASSERT_EQ(run.exitStatus, 0) << run.output;
  const std::vector<std::string> states = StateLines(run.output);
  ASSERT_EQ(states.size(), 1u) << run.output;
  EXPECT_TRUE(Has(states[0], "\"onGround\":1,\"engineRunning\":0,\"crashed\":1")) << states[0];
  EXPECT_TRUE(Has(states[0], "\"missionOver\":1")) << states[0];
}

TEST(GameRuns, QuittingFromTheInGameMenuGoesToTheTitle) {
  RunFolder folder("quit");
  // The menu key pauses under the in-game menu; QUIT, then YES.
  const std::string script = "wait 300\npress app4\nwait 1200\nstate\ntap 120 199\nwait 1800\ntap 120 196\nwait 1500\nstate\n";
  const ProgramRun run = RunHeadless(folder, script, kPatrol, KESTREL_CORE_PACK_DIR);
  ASSERT_EQ(run.exitStatus, 0) << run.output;
  const std::vector<std::string> states = StateLines(run.output);
  ASSERT_EQ(states.size(), 2u) << run.output;
  EXPECT_TRUE(Has(states[0], "\"screen\":\"game\",\"mode\":0,\"mapView\":0,\"paused\":1")) << states[0];
  EXPECT_TRUE(Has(states[1], "\"screen\":\"Title\"")) << states[1];
}

TEST(GameRuns, TurningToLandscapeInTheMenuTurnsTheGameAndLeavingTurnsTheDisplayBack) {
  RunFolder folder("orientation");
  // GRAPHICS, ORIENTATION, the landscape half; then (the popups now placed for landscape) BACK,
  // BACK, QUIT and YES.
  const std::string script =
      "wait 400\npress app4\nwait 1200\ntap 120 151\nwait 1500\ntap 120 151\nwait 1500\ntap 170 180\nwait 600\n"
      "state\ntap 160 122\nwait 1500\ntap 160 160\nwait 1500\ntap 160 109\nwait 1800\ntap 160 106\nwait 1500\n"
      "state\n";
  const ProgramRun run = RunHeadless(folder, script, kPatrol, KESTREL_CORE_PACK_DIR);
  ASSERT_EQ(run.exitStatus, 0) << run.output;
  const std::vector<std::string> states = StateLines(run.output);
  ASSERT_EQ(states.size(), 2u) << run.output;
  EXPECT_TRUE(Has(states[0], "\"screen\":\"game\",\"mode\":1,\"mapView\":0,\"paused\":1")) << states[0];
  EXPECT_TRUE(Has(states[1], "\"screen\":\"Title\",\"mode\":0")) << states[1];
  EXPECT_TRUE(Has(ReadBytes(folder.path() / "config" / "kestrel-run" / "settings.ini"), "ScreenMode=1"));
}

TEST(GameRuns, ARecordedRunReplaysToTheSameTrace) {
  RunFolder folder("replay");
  const ProgramRun first =
      RunHeadless(folder, kWinIslandPatrol, kPatrol + " --trace first.jsonl --record run.record", KESTREL_CORE_PACK_DIR);
  ASSERT_EQ(first.exitStatus, 0) << first.output;
  const std::string recorded = ReadBytes(folder.path() / "run.record");
  ASSERT_FALSE(recorded.empty());
  const ProgramRun second = RunHeadless(folder, recorded, kPatrol + " --trace second.jsonl", KESTREL_CORE_PACK_DIR);
  ASSERT_EQ(second.exitStatus, 0) << second.output;
  const std::string trace = ReadBytes(folder.path() / "first.jsonl");
  EXPECT_GT(std::count(trace.begin(), trace.end(), '\n'), 2000);
  EXPECT_TRUE(trace == ReadBytes(folder.path() / "second.jsonl"));
  EXPECT_TRUE(Has(trace, "\"missionOver\": 1}"));
}

TEST(GameRuns, TheQuickStartRefusesUnknownNames) {
  const struct {
    std::string arguments;
    std::string message;
  } cases[] = {
      {"--mission Atlantis", "no mission called \"Atlantis\""},
      {"--mission \"island patrol\" --chopper Zeppelin", "no helicopter called \"Zeppelin\""},
      {"--mission \"Island Patrol\" --weapon Trebuchet", "no weapon called \"Trebuchet\""},
      {"--weapon \"Rocket Pod\"", "usage"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments);
    RunFolder folder("refused");
    const ProgramRun run = RunHeadless(folder, "wait 100\n", c.arguments, KESTREL_CORE_PACK_DIR);
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_TRUE(Has(run.output, c.message)) << run.output;
  }
}

}  // namespace
