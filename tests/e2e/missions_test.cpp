// The player's whole loop on the core pack: the title's SCRAMBLE, the mission, helicopter and
// loadout screens, the game and the debriefing, and back to the title. Every core mission is
// flown to a win from its script in tests/e2e/missions (each names its helicopter and weapons on
// its first line), chosen through the menus as a player would choose it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "run_program.h"

namespace {

const std::filesystem::path kMissionScripts = std::filesystem::path(KESTREL_SOURCE_DIR) / "tests/e2e/missions";

// The core pack's lists, in the order the selection screens page through them.
const std::vector<std::string> kMissions = {"Island Patrol", "Castaways",     "Harbour Strike",
                                            "Canyon Run",    "Hold the Pass", "Downed Pilot"};
const std::vector<std::string> kChoppers = {"Sparrowhawk", "Thunderhead", "Pelican"};
const std::vector<std::string> kWeapons = {"Rocket Pod", "Heavy Rockets", "Heatseeker", "Radar Lance"};

// Centres of the pylon buttons of the loadout screen, by the helicopter's pylon count.
struct Point {
  int x, y;
};
const std::vector<Point> kTwoPylons = {{62, 92}, {192, 92}};
const std::vector<Point> kEightPylons = {{37, 47}, {217, 47}, {60, 84}, {194, 84}, {37, 121}, {217, 121}, {82, 121}, {172, 121}};

struct Choice {
  std::string mission;
  std::string chopper = "Sparrowhawk";
  std::vector<std::string> weapons;
};

size_t IndexOf(const std::vector<std::string>& list, const std::string& name) {
  for (size_t i = 0; i < list.size(); ++i) {
    if (list[i] == name) return i;
  }
  ADD_FAILURE() << name << " is not in the core pack's list";
  return 0;
}

// The words of "# options: --mission "Castaways" --chopper Pelican ...", quotes removed.
Choice ParseOptions(const std::string& line) {
  std::vector<std::string> words;
  std::string word;
  bool quoted = false;
  for (const char c : line.substr(line.find(':') + 1)) {
    if (c == '"') {
      quoted = !quoted;
    } else if (c == ' ' && !quoted) {
      if (!word.empty()) words.push_back(word);
      word.clear();
    } else {
      word += c;
    }
  }
  if (!word.empty()) words.push_back(word);
  Choice choice;
  for (size_t i = 0; i + 1 < words.size(); i += 2) {
    if (words[i] == "--mission") choice.mission = words[i + 1];
    if (words[i] == "--chopper") choice.chopper = words[i + 1];
    if (words[i] == "--weapon") choice.weapons.push_back(words[i + 1]);
  }
  return choice;
}

std::string Repeat(const std::string& command, size_t times) {
  std::string text;
  for (size_t i = 0; i < times; ++i) text += command;
  return text;
}

// From the title menu into the game: SCRAMBLE, page to the mission and the helicopter, hang
// each weapon on the next free pylon, OK. Ends with a state line of the game's first moments.
std::string ChooseThroughTheMenus(const Choice& choice) {
  std::string script = "tap 120 151\nwait 1800\n";  // SCRAMBLE
  script += Repeat("press right\n", IndexOf(kMissions, choice.mission)) + "wait 900\nstate\npress action\nwait 1800\n";
  const size_t chopper = IndexOf(kChoppers, choice.chopper);
  script += Repeat("press right\n", chopper) + "wait 900\nstate\npress action\nwait 1800\n";
  const std::vector<Point>& pylons = choice.chopper == "Thunderhead" ? kEightPylons : kTwoPylons;
  size_t shown = 0;
  for (size_t k = 0; k < choice.weapons.size() && k < pylons.size(); ++k) {
    const size_t weapon = IndexOf(kWeapons, choice.weapons[k]);
    script += Repeat("press right\n", (weapon + kWeapons.size() - shown) % kWeapons.size()) + "wait 300\n";
    script += "tap " + std::to_string(pylons[k].x) + " " + std::to_string(pylons[k].y) + "\nwait 300\n";
    shown = weapon;
  }
  return script + "state\npress action\nwait 1800\n";
}

// A run folder whose settings skip the intro.
class MenuRun {
 public:
  explicit MenuRun(const std::string& name) : folder(name) {
    std::filesystem::create_directories(folder.path() / "config" / "kestrel-run");
    std::ofstream(folder.path() / "config" / "kestrel-run" / "settings.ini") << "[Kestrel Run]\nSkipIntro=1\n";
  }
  // The script runs from the title menu on.
  ProgramRun Run(const std::string& script) {
    return RunHeadless(folder, "wait 3500\n" + script, "", KESTREL_CORE_PACK_DIR);
  }
  RunFolder folder;
};

TEST(Missions, EveryCoreMissionIsWonThroughTheMenus) {
  std::vector<std::filesystem::path> scripts;
  for (const auto& entry : std::filesystem::directory_iterator(kMissionScripts)) {
    if (entry.path().extension() == ".script" && entry.path().stem() != "fail") scripts.push_back(entry.path());
  }
  std::sort(scripts.begin(), scripts.end());
  std::vector<std::string> won;
  for (const std::filesystem::path& path : scripts) {
    SCOPED_TRACE(path.filename().string());
    const std::string flight = ReadBytes(path);
    const Choice choice = ParseOptions(flight.substr(0, flight.find('\n')));
    ASSERT_FALSE(choice.mission.empty()) << "the first line names the options";
    MenuRun run("mission");
    const ProgramRun result = run.Run(ChooseThroughTheMenus(choice) + flight + "wait 2500\nstate\n");
    ASSERT_EQ(result.exitStatus, 0) << result.output;
    const std::vector<std::string> states = StateLines(result.output);
    ASSERT_GE(states.size(), 4u) << result.output;
    EXPECT_TRUE(Has(states[0], "\"mission\":\"" + choice.mission + "\"")) << states[0];
    EXPECT_TRUE(Has(states[1], "\"chopper\":\"" + choice.chopper + "\"")) << states[1];
    EXPECT_TRUE(Has(states[2], "\"ok\":1")) << states[2];
    EXPECT_TRUE(Has(states.back(), "\"screen\":\"Debrief\"")) << states.back();
    EXPECT_TRUE(Has(states.back(), "\"result\":\"success\"")) << states.back();
    if (Has(states.back(), "\"result\":\"success\"")) won.push_back(choice.mission);
  }
  // Every mission of the pack has its script, and each was won.
  std::sort(won.begin(), won.end());
  std::vector<std::string> all = kMissions;
  std::sort(all.begin(), all.end());
  EXPECT_EQ(won, all);
}

TEST(Missions, AFailedMissionShowsTheFailureStamp) {
  const std::string flight = ReadBytes(kMissionScripts / "fail.script");
  const Choice choice = ParseOptions(flight.substr(0, flight.find('\n')));
  MenuRun run("failure");
  const ProgramRun result = run.Run(ChooseThroughTheMenus(choice) + flight + "wait 2500\nstate\npress action\nwait 1800\nstate\n");
  ASSERT_EQ(result.exitStatus, 0) << result.output;
  const std::vector<std::string> states = StateLines(result.output);
  ASSERT_GE(states.size(), 2u) << result.output;
  EXPECT_TRUE(Has(states[states.size() - 2], "\"screen\":\"Debrief\"")) << states[states.size() - 2];
  EXPECT_TRUE(Has(states[states.size() - 2], "\"result\":\"failure\"")) << states[states.size() - 2];
  EXPECT_TRUE(Has(states.back(), "\"screen\":\"Title\"")) << states.back();  // OK goes back to the title
}

TEST(Missions, TenMissionsInARowFromTheTitleToTheDebriefingAndBack) {
  // Each round: SCRAMBLE, the remembered mission and helicopter, no weapons, then 4 m up, right
  // onto the hangar by the helipad and into it; the debriefing's OK leads back to the title. Run
  // under the sanitizer build too, where a leak or a bad access in the hand-overs fails it.
  const std::string round =
      "tap 120 151\nwait 1800\npress action\nwait 1800\npress action\nwait 1800\npress action\nwait 1800\n"
      "tap 233 297\nwait 2500\nkey down right\nwait 2100\nkey up right\nwait 6000\npress up\npress up\nwait 7000\n"
      "wait 2500\nstate\npress action\nwait 1800\n";
  std::string script;
  for (int i = 0; i < 10; ++i) script += round;
  MenuRun run("ten");
  const ProgramRun result = run.Run(script + "state\n");
  ASSERT_EQ(result.exitStatus, 0) << result.output;
  const std::vector<std::string> states = StateLines(result.output);
  ASSERT_EQ(states.size(), 11u) << result.output;
  for (int i = 0; i < 10; ++i) {
    EXPECT_TRUE(Has(states[i], "\"screen\":\"Debrief\",\"mode\":0,\"menuState\":\"Active\",\"mission\":\"Island Patrol\","
                               "\"result\":\"failure\""))
        << i << ": " << states[i];
  }
  EXPECT_TRUE(Has(states.back(), "\"screen\":\"Title\"")) << states.back();
}

TEST(Selection, ListsWrapAroundAndTheLoadoutKeepsToThePayloadAndFourKinds) {
  MenuRun run("selection");
  const std::string script =
      "tap 120 151\nwait 1800\n"
      "press left\nwait 900\nstate\n"            // before the first mission: the last
      "press right\nwait 900\nstate\n"           // after the last: the first
      "press action\nwait 1800\nstate\n"         // Sparrowhawk: payload 600, two pylons
      "press action\nwait 1800\n"
      "press right\nwait 300\ntap 62 92\nwait 300\ntap 192 92\nwait 300\nstate\n"  // 2 x 320 kg: too heavy
      "tap 192 92\nwait 300\nstate\n"                                           // one taken off: OK again
      "press left\nwait 300\ntap 62 92\nwait 300\nstate\n"  // the rocket pod replaces the heavy rockets
      "tap 222 258\nwait 1800\n"                            // cancel: back to the helicopters
      "press right\nwait 900\npress action\nwait 1800\nstate\n"  // Thunderhead: the pylons are empty again
      "tap 37 47\nwait 300\npress right\nwait 300\ntap 217 47\nwait 300\npress right\nwait 300\ntap 60 84\nwait 300\n"
      "press right\nwait 300\ntap 194 84\nwait 300\nstate\n"  // four kinds, well within 2000 kg
      "tap 194 84\nwait 300\nstate\n";                        // three kinds: OK again
  const ProgramRun result = run.Run(script);
  ASSERT_EQ(result.exitStatus, 0) << result.output;
  const std::vector<std::string> s = StateLines(result.output);
  ASSERT_EQ(s.size(), 9u) << result.output;
  EXPECT_TRUE(Has(s[0], "\"mission\":\"Downed Pilot\",\"index\":5")) << s[0];
  EXPECT_TRUE(Has(s[1], "\"mission\":\"Island Patrol\",\"index\":0")) << s[1];
  EXPECT_TRUE(Has(s[2], "\"chopper\":\"Sparrowhawk\"")) << s[2];
  EXPECT_TRUE(Has(s[3], "\"pylons\":[\"Heavy Rockets\",\"Heavy Rockets\"],\"weight\":640,\"ok\":0")) << s[3];
  EXPECT_TRUE(Has(s[4], "\"pylons\":[\"Heavy Rockets\",null],\"weight\":320,\"ok\":1")) << s[4];
  EXPECT_TRUE(Has(s[5], "\"pylons\":[\"Rocket Pod\",null],\"weight\":180,\"ok\":1")) << s[5];
  EXPECT_TRUE(Has(s[6], "\"pylons\":[null,null,null,null,null,null,null,null]")) << s[6];
  EXPECT_TRUE(Has(s[7], "\"pylons\":[\"Rocket Pod\",\"Heavy Rockets\",\"Heatseeker\",\"Radar Lance\",null,null,null,null]"))
      << s[7];
  EXPECT_TRUE(Has(s[7], "\"ok\":0")) << s[7];
  EXPECT_TRUE(Has(s[8], "\"ok\":1")) << s[8];
}

}  // namespace
