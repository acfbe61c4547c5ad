// A whole mission flown by a script of commands on a small world, tick by tick as the game
// screen would: take-off to 30 m, a rocket that destroys the goal, a cruise, a turn and back,
// a low pass that picks up a fuel drum, and a soft landing on the helipad that ends the
// complete mission. Checked against values worked out by hand at a few ticks, through the
// flight recorder's lines.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "content/scene_object.h"
#include "game/chopper.h"
#include "game/effects.h"
#include "game/flight_recorder.h"
#include "game/game_world.h"
#include "game/messages.h"
#include "game/mission_instance.h"
#include "game/weapons.h"
#include "game_test_support.h"
#include "sound/sound_mixer.h"

namespace {

using game_test::kDt33;

constexpr int kCruiseTicks = 120;
constexpr int kBrakeTicks = 450;

const char* const kMission =
    "[Patrol]\nHelipad = 1000 1000\nObject = Depot Drum1\nGoal = Destroy Depot\n"
    "Resource VoxelHeight = height.bin\nResource VoxelTexture = texture.bin\nResource SkyBackdrop = sky.jpg\n"
    "Mesh = Drum House\n"
    "[Depot]\nMesh = House\nClass = Structure\nPos = 1000 700 0\nMaxDamage = 40\n"
    "[Drum1]\nMesh = Drum\nClass = Fuel\nPos = 1000 960 0\n";

// What the flight left behind: the recorder's line after every update (when it ran with one),
// the same line made by the test after each update (by then the update's messages are
// cleared), and marks of when things happened (tick numbers, counted from 1).
struct Flight {
  std::vector<std::string> lines;
  std::vector<std::string> stateLines;
  int destroyedTick = 0;
  int pickupTick = 0;
  int landedTick = 0;
  fixed fuelAfterPickup = 0;
  fixed fuelCapacity = 0;
  uint16_t headingAfterTurns = 0;
  fixed zAfterCruise = 0;
  uint32_t depotAlive = 1;
  uint32_t explosions = 0;
};

class ScriptedFlight {
 public:
  explicit ScriptedFlight(bool record) : pack_(kMission) {
    mission_ = pack_.Mission(u"Patrol");
    chopperDef_ = game_test::PlainChopper();
    rockets_ = game_test::MakeWeapon(u"Rockets", WeaponRocket, 720, 1000, 40, 4);
    chopper_ = new Chopper(chopperDef_.get());
    chopper_->Reset();
    chopper_->AddWeapon(rockets_.get());
    world_ = std::make_unique<GameWorld>(new MissionInstance(mission_.get()), chopper_, nullptr);
    world_->SetUp(&queue_);
    if (record) {
      trace_ = std::tmpfile();
      recorder_ = std::make_unique<FlightRecorder>(trace_, &clock_);
      world_->SetRecorder(recorder_.get());
    }
  }
  ~ScriptedFlight() {
    if (trace_ != nullptr) std::fclose(trace_);
    SoundMixer::Instance().Reset();
  }

  Flight Fly() {
    Flight flight;
    flight.fuelCapacity = chopperDef_->fuelCapacity;
    Chopper& c = *chopper_;
    const SceneObject* depot = static_cast<SceneObject*>(world_->objects->FindNode(u"Depot"));

    c.altitudeCommand = IntToFixed(30);  // take off and climb to 30 m
    Tick(flight, 150);

    c.Fire();  // the depot lies 300 m ahead, below the 5-degree dip line
    for (int i = 0; i < 200 && depot->alive; ++i) Tick(flight);
    flight.destroyedTick = depot->alive ? 0 : tick_;

    // Cruise south, then brake: the throttle falls 20 % a second, then ever slower (the step is
    // the remaining state x dt) until it is 0.
    c.forwardCommand = IntToFixed(100);
    Tick(flight, kCruiseTicks);
    c.forwardCommand = 0;
    Tick(flight, kBrakeTicks);
    flight.zAfterCruise = c.GetPosition().z;

    // Turn right, settle, turn left by the same commands, settle: the turn state falls
    // exponentially too and stops at the dead zone.
    for (const fixed command : {IntToFixed(100), fixed{0}, IntToFixed(-100), fixed{0}}) {
      c.turnCommand = command;
      Tick(flight, command == 0 ? 250 : 30);
    }
    flight.headingAfterTurns = c.heading;

    // Down to 3 m, back north flying backwards over the fuel drum; brake near the helipad and
    // set down.
    c.altitudeCommand = IntToFixed(3);
    Tick(flight, 150);
    c.forwardCommand = IntToFixed(-50);
    const SceneObject* drum = static_cast<SceneObject*>(world_->objects->FindNode(u"Drum1"));
    for (int i = 0; i < 2000 && c.GetPosition().z < IntToFixed(980); ++i) {
      Tick(flight);
      if (!drum->alive && flight.pickupTick == 0) {
        flight.pickupTick = tick_;
        flight.fuelAfterPickup = c.fuel;
      }
    }
    c.forwardCommand = 0;
    Tick(flight, 150);
    c.altitudeCommand = 0;
    for (int i = 0; i < 300 && !world_->missionOver; ++i) Tick(flight);
    flight.landedTick = world_->missionOver ? tick_ : 0;
    flight.depotAlive = depot->alive;
    flight.explosions = world_->effects->sprites().LiveEmitters(EffectExplosion);
    if (trace_ != nullptr) flight.lines = game_test::ReadLines(trace_);
    return flight;
  }

  const Chopper& chopper() const { return *chopper_; }
  const GameWorld& world() const { return *world_; }

 private:
  // Ticks of 33 ms on a clock that starts where the handheld's does; the blink flags from it.
  void Tick(Flight& flight, int count = 1) {
    for (int i = 0; i < count; ++i) {
      clock_ += 33;
      ++tick_;
      world_->Update(33, kDt33, (clock_ & 512) != 0, (clock_ & 256) != 0);
      flight.stateLines.push_back(FlightTraceLine(*world_, clock_, 33, kDt33));
    }
  }

  game_test::TestMissionPack pack_;
  std::unique_ptr<MissionDef> mission_;
  std::unique_ptr<ChopperDef> chopperDef_;
  std::unique_ptr<WeaponDef> rockets_;
  Chopper* chopper_;
  MessageQueue queue_;
  std::unique_ptr<GameWorld> world_;
  std::FILE* trace_ = nullptr;
  std::unique_ptr<FlightRecorder> recorder_;
  uint32_t clock_ = 1000000;
  int tick_ = 0;
};

bool Has(const std::string& line, const std::string& part) { return line.find(part) != std::string::npos; }

TEST(ScriptedFlight, FliesTheMissionAsWorkedOutByHand) {
  ScriptedFlight script(true);
  const Flight flight = script.Fly();
  const std::vector<std::string>& lines = flight.lines;
  ASSERT_GT(lines.size(), 600u);

  // Take-off: 30 m wanted, 10 m/s at most (655360 raw), 0.033 s (2162 raw) a tick: 21620 raw up
  // per tick from 10.0 m (655360) while more than 10 m are missing, i.e. for 61 ticks.
  EXPECT_TRUE(Has(lines[0], "\"cmd\": [0, 0, 0, 1966080]")) << lines[0];
  EXPECT_TRUE(Has(lines[0], "\"pos\": [65536000, 676980, 65536000]")) << lines[0];
  EXPECT_TRUE(Has(lines[0], "\"vel\": [0, 655360, 0]")) << lines[0];
  EXPECT_TRUE(Has(lines[0], "\"fuel\": 11794318")) << lines[0];  // 180.0 less 1.0 x 0.033 s
  EXPECT_TRUE(Has(lines[0], "\"flags\": [0, 1, 0]")) << lines[0];
  EXPECT_TRUE(Has(lines[60], "\"pos\": [65536000, 1974180, 65536000]")) << lines[60];
  // Tick 62: 647260 raw missing, less than the climb rate: it is the speed; 647260 x 2162 >> 16.
  EXPECT_TRUE(Has(lines[61], "\"vel\": [0, 647260, 0]")) << lines[61];
  EXPECT_TRUE(Has(lines[61], "\"pos\": [65536000, 1995532, 65536000]")) << lines[61];

  // The rocket: launched before tick 151, destroyed the depot (40 damage, MaxDamage 40) a few
  // seconds later; its trail went with it and the wreck smokes.
  EXPECT_TRUE(Has(lines[150], "\"projectiles\": 1")) << lines[150];
  ASSERT_GT(flight.destroyedTick, 151);
  EXPECT_LT(flight.destroyedTick, 151 + 150);
  const std::string& hitLine = lines[flight.destroyedTick - 1];
  EXPECT_TRUE(Has(hitLine, "\"messages\": [23")) << hitLine;
  EXPECT_TRUE(Has(hitLine, "\"goals\": [[1, 0]]")) << hitLine;
  EXPECT_TRUE(Has(hitLine, "\"projectiles\": 0")) << hitLine;
  EXPECT_TRUE(Has(hitLine, "\"shots\": [3]")) << hitLine;
  EXPECT_EQ(flight.explosions, 1u);
  EXPECT_EQ(flight.depotAlive, 0u);

  // Cruise, first tick: forward state 20 % x 0.033 s = 43240 raw; speed (43240 x 655 >> 16 =
  // 432) x 3640800 >> 16 = 23999 raw; 23999 x 2162 >> 16 = 791 raw south (-z).
  const std::string& cruise = lines[flight.destroyedTick];
  EXPECT_TRUE(Has(cruise, "\"state\": [43240, 0, 0]")) << cruise;
  EXPECT_TRUE(Has(cruise, "\"vel\": [0, ")) << cruise;
  EXPECT_TRUE(Has(cruise, ", 23999], \"heading\": 32768")) << cruise;
  const std::string& before = lines[flight.destroyedTick - 1];
  const auto z = [](const std::string& line) {
    const size_t pos = line.find("\"pos\": [");
    const size_t end = line.find(']', pos);
    return std::stoll(line.substr(line.rfind(", ", end) + 2, end - line.rfind(", ", end) - 2));
  };
  EXPECT_EQ(z(before) - z(cruise), 791);
  EXPECT_LT(flight.zAfterCruise, IntToFixed(900));
  EXPECT_TRUE(Has(lines[flight.destroyedTick + kCruiseTicks + kBrakeTicks - 1], "\"state\": [0, 0, 0]"));

  // Turn, first tick: turn state 80 % x 0.033 s = 172960; (172960 x 655 >> 16 = 1728) x 7281
  // (40 degrees) >> 16 = 191 a second; 191 x 2162 >> 16 = 6 units of heading.
  const std::string& turn = lines[flight.destroyedTick + kCruiseTicks + kBrakeTicks];
  EXPECT_TRUE(Has(turn, "\"heading\": 32774, \"turnSpeed\": 191, \"state\": [0, 0, 172960]")) << turn;
  EXPECT_NEAR(flight.headingAfterTurns, 32768, 8);

  // The low pass took the drum: full tank, less the tick's burn.
  ASSERT_NE(flight.pickupTick, 0);
  EXPECT_EQ(flight.fuelAfterPickup, flight.fuelCapacity - 2162);
  EXPECT_TRUE(Has(lines[flight.pickupTick - 1], "\"messages\": [9")) << lines[flight.pickupTick - 1];

  // Set down softly within 20 m of the helipad with every goal achieved: the mission is over.
  ASSERT_NE(flight.landedTick, 0);
  const std::string& last = lines.back();
  EXPECT_TRUE(Has(last, "\"flags\": [1, 1, 0]")) << last;
  EXPECT_TRUE(Has(last, "\"missionOver\": 1")) << last;
  const Vector3 p = script.chopper().GetPosition();
  EXPECT_LT(std::abs(p.x - IntToFixed(1000)), IntToFixed(20));
  EXPECT_LT(std::abs(p.z - IntToFixed(1000)), IntToFixed(20));
  EXPECT_EQ(p.y, game_test::kGround);
  EXPECT_TRUE(script.world().mission->IsComplete());
}

// The line without its "messages" entry, which only the recorder sees filled.
std::string WithoutMessages(const std::string& line) {
  const size_t start = line.find("\"messages\": [");
  return line.substr(0, start) + line.substr(line.find(']', start) + 1);
}

TEST(ScriptedFlight, TheRecorderChangesNothing) {
  ScriptedFlight recorded(true);
  const Flight withRecorder = recorded.Fly();
  ScriptedFlight plain(false);
  const Flight without = plain.Fly();
  // The same flight with and without the recorder; and what it wrote is what the world was.
  EXPECT_EQ(withRecorder.stateLines, without.stateLines);
  ASSERT_EQ(withRecorder.lines.size(), without.stateLines.size());
  for (size_t i = 0; i < without.stateLines.size(); ++i) {
    ASSERT_EQ(WithoutMessages(withRecorder.lines[i]), WithoutMessages(without.stateLines[i])) << i;
  }
  EXPECT_TRUE(Has(withRecorder.lines[0], "{\"t\": 1000033, \"ms\": 33, \"dt\": 2162, ")) << withRecorder.lines[0];
}

}  // namespace
