// The example pack of examples/gannet-isle as a player meets it: put beside the core pack or in
// the player's pack folder, its mission, helicopter and weapon appear in the selection after the core ones, and its mission is
// won by the script kept with it. (Its check by kestrel-pack is in the pack tests.)
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "run_program.h"

namespace {

const std::filesystem::path kExample = std::filesystem::path(KESTREL_SOURCE_DIR) / "examples/gannet-isle";

// A run folder with settings that skip the intro, a content folder holding the core pack, and
// the example pack beside it or in the player's own pack folder.
class ExampleRun {
 public:
  explicit ExampleRun(bool inPlayersFolder) : folder("example") {
    std::filesystem::create_directories(folder.path() / "config" / "kestrel-run");
    std::ofstream(folder.path() / "config" / "kestrel-run" / "settings.ini") << "[Kestrel Run]\nSkipIntro=1\n";
    content = folder.path() / "packs";
    std::filesystem::create_directories(content);
    std::filesystem::copy_file(std::filesystem::path(KESTREL_CORE_PACK_DIR) / "core.bin", content / "core.bin");
    const std::filesystem::path players = folder.path() / "data" / "kestrel-run";
    std::filesystem::create_directories(players);
    std::filesystem::copy_file(KESTREL_EXAMPLE_PACK, (inPlayersFolder ? players : content) / "gannet-isle.bin");
  }
  RunFolder folder;
  std::filesystem::path content;
};

// Beside the core pack, or added by the player to their own pack folder without touching the
// installed game: the same selection either way.
class ExamplePack : public testing::TestWithParam<bool> {};

TEST_P(ExamplePack, ItsMissionIsChosenThroughTheMenusAfterTheCoreOnesAndWon) {
  ExampleRun run(GetParam());
  // From the title: SCRAMBLE; the last mission, the last helicopter, the last weapon on the first
  // pylon; then the flight.
  const std::string choose =
      "wait 3500\ntap 120 151\nwait 1800\n"
      "press left\nwait 900\nstate\npress action\nwait 1800\n"
      "press left\nwait 900\nstate\npress action\nwait 1800\n"
      "press left\nwait 300\ntap 62 92\nwait 300\nstate\npress action\nwait 1800\n";
  const std::string flight = ReadBytes(kExample / "smugglers_light.script");
  const ProgramRun result = RunHeadless(run.folder, choose + flight + "wait 2500\nstate\n", "", run.content);
  ASSERT_EQ(result.exitStatus, 0) << result.output;
  const std::vector<std::string> states = StateLines(result.output);
  ASSERT_GE(states.size(), 5u) << result.output;
  EXPECT_TRUE(Has(states[0], "\"mission\":\"Smugglers' Light\",\"index\":6")) << states[0];
  EXPECT_TRUE(Has(states[1], "\"chopper\":\"Gannet\"")) << states[1];
  EXPECT_TRUE(Has(states[2], "\"pylons\":[\"Gull Rockets\",null]")) << states[2];
  // The tower is down before the landing, and the landing on the pad ends the mission.
  EXPECT_TRUE(Has(states[3], "\"object\":\"SignalTower\",\"status\":\"achieved\"")) << states[3];
  EXPECT_TRUE(Has(states.back(), "\"screen\":\"Debrief\"")) << states.back();
  EXPECT_TRUE(Has(states.back(), "\"mission\":\"Smugglers' Light\",\"result\":\"success\"")) << states.back();
}

INSTANTIATE_TEST_SUITE_P(Placement, ExamplePack, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info) {
                           return info.param ? "InThePlayersPackFolder" : "BesideTheCorePack";
                         });

}  // namespace
