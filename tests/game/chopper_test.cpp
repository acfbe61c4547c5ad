// The chopper's flight model: reset, weapon load and the figures it selects, throttles, climb,
// turning, fuel, the dead engine, movement and the map wrap, touchdowns and crashes, passengers
// and warning levels, and what a world learns from landings, crashes and an empty tank.
//
// Most ticks here are 0.125 s (raw 8192): FixedMul by it is an exact division by 8, which keeps
// the hand arithmetic in the comments short. Speeds in comments are m/s, throttles percent.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string_view>
#include <vector>

#include "content/chopper_def.h"
#include "content/mission_def.h"
#include "content/weapon_def.h"
#include "core/fixed.h"
#include "core/vector3.h"
#include "game/chopper.h"
#include "game/game_world.h"
#include "game/messages.h"
#include "game/mission_instance.h"
#include "game/weapons.h"

namespace {

constexpr fixed kTick = 8192;      // 0.125 s
constexpr fixed kGameTick = 2162;  // 0.033 s, a frame at 30 per second
constexpr fixed kPercent100 = IntToFixed(100);

std::unique_ptr<WeaponDef> MakeWeapon(uint32_t type, uint16_t items, uint16_t weight,
                                      std::u16string_view name = u"Rockets") {
  auto weapon = std::make_unique<WeaponDef>(nullptr);
  weapon->weaponType = type;
  weapon->noOfItems = items;
  weapon->weight = weight;
  std::fill(std::begin(weapon->name), std::end(weapon->name), u'\0');
  name.copy(weapon->name, kIniNameSize - 1);
  return weapon;
}

// A default chopper, reset, on its own (no world), with the weapon definitions it carries.
struct Rig {
  Rig() { chopper.Reset(); }

  // Adds one load of a rocket weapon weighing `kg` with a single shot.
  void Carry(uint16_t kg) { Add(MakeWeapon(WeaponRocket, 1, kg)); }
  void Add(std::unique_ptr<WeaponDef> weapon) {
    chopper.AddWeapon(weapon.get());
    weapons.push_back(std::move(weapon));
  }

  ChopperDef def{nullptr};
  std::vector<std::unique_ptr<WeaponDef>> weapons;  // outlive the chopper's slots
  Chopper chopper{&def};
};

// A default chopper in a world that has no landscape (ground height 0 everywhere), no goals and
// no message queue. The world owns the chopper and the mission instance.
struct WorldRig {
  WorldRig() { chopper->Reset(); }

  ChopperDef def{nullptr};
  std::unique_ptr<MissionDef> mission = std::make_unique<MissionDef>(nullptr, u"list.ini");
  Chopper* chopper = new Chopper(&def);
  GameWorld world{new MissionInstance(mission.get()), chopper, nullptr};
};

bool Posted(const GameWorld& world, uint32_t id) {
  const auto& ids = world.postedMessages();
  return std::find(ids.begin(), ids.end(), id) != ids.end();
}

void ExpectStandingStill(const Chopper& c, fixed height) {
  EXPECT_EQ(c.GetPosition().y, height);
  EXPECT_EQ(c.velocity, Vector3());
  EXPECT_EQ(c.turnSpeed, 0);
  EXPECT_EQ(c.forwardState, 0);
  EXPECT_EQ(c.strafeState, 0);
  EXPECT_EQ(c.turnState, 0);
  EXPECT_EQ(c.forwardCommand, 0);
  EXPECT_EQ(c.strafeCommand, 0);
  EXPECT_EQ(c.turnCommand, 0);
}

// --- Reset, load and figures -------------------------------------------------------------------

TEST(ChopperReset, StartsAtRestOnTheGroundWithAFullTankAndKeepsItsWeapons) {
  Rig rig;
  rig.def.fuelCapacity = IntToFixed(95);
  rig.Carry(40);
  rig.Carry(60);
  Chopper& c = rig.chopper;
  c.velocity = Vector3(1, 2, 3);
  c.forwardState = 4;
  c.strafeState = 5;
  c.turnState = 6;
  c.heading = 7;
  c.turnSpeed = 8;
  c.groundHeight = 9;
  c.engineRunning = 0;
  c.onGround = 0;
  c.crashed = 1;
  c.damage = 50;
  c.fuel = 10;
  c.passengers = 1;
  c.selectedWeapon = 1;
  c.forwardCommand = 11;
  c.strafeCommand = 12;
  c.turnCommand = 13;
  c.altitudeCommand = 14;

  EXPECT_TRUE(c.Reset());

  EXPECT_EQ(c.velocity, Vector3());
  EXPECT_EQ(c.forwardState, 0);
  EXPECT_EQ(c.strafeState, 0);
  EXPECT_EQ(c.turnState, 0);
  EXPECT_EQ(c.heading, 0);
  EXPECT_EQ(c.turnSpeed, 0);
  EXPECT_EQ(c.groundHeight, 0);
  EXPECT_EQ(c.engineRunning, 1);
  EXPECT_EQ(c.onGround, 1);
  EXPECT_EQ(c.crashed, 0);
  EXPECT_EQ(c.damage, 0);
  EXPECT_EQ(c.fuel, IntToFixed(95));
  EXPECT_EQ(c.passengers, 0);
  EXPECT_EQ(c.selectedWeapon, 0);
  EXPECT_EQ(c.forwardCommand, 0);
  EXPECT_EQ(c.strafeCommand, 0);
  EXPECT_EQ(c.turnCommand, 0);
  EXPECT_EQ(c.altitudeCommand, 0);
  EXPECT_EQ(c.weaponSlots.Count(), 2);
}

struct SlotSpec {
  uint32_t type;
  uint16_t weight;
  uint16_t items;  // shots per load
  uint16_t loads;
  uint16_t fired;  // shots fired afterwards (without a world: they are discarded)
};

TEST(ChopperLoad, EachSlotWeighsItsShareOfItsLoads) {
  const struct {
    const char* what;
    std::vector<SlotSpec> slots;
    uint16_t expected;
  } cases[] = {
      {"no weapons", {}, 0},
      {"one full load", {{WeaponRocket, 100, 3, 1, 0}}, 100},
      {"two of three shots left", {{WeaponRocket, 100, 3, 1, 1}}, 66},  // 100*2/3
      // Each slot divides on its own: 100*2/3 + 50*1/3 = 66 + 16, not (200 + 50)/3 = 83.
      {"two partial slots", {{WeaponRocket, 100, 3, 1, 1}, {WeaponRocket, 50, 3, 1, 2}}, 82},
      {"two loads in one slot", {{WeaponRocket, 100, 4, 2, 0}}, 200},  // 100*8/4
      {"the gun's stock never falls", {{WeaponMachineGun, 30, 10, 1, 5}}, 30},
      {"no shots per load weighs nothing", {{WeaponRocket, 80, 0, 1, 0}}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Rig rig;
    for (uint16_t i = 0; i < c.slots.size(); ++i) {
      const SlotSpec& s = c.slots[i];
      auto weapon = MakeWeapon(s.type, s.items, s.weight);
      for (uint16_t load = 0; load < s.loads; ++load) rig.chopper.AddWeapon(weapon.get());
      rig.weapons.push_back(std::move(weapon));
      rig.chopper.selectedWeapon = i;
      for (uint16_t shot = 0; shot < s.fired; ++shot) rig.chopper.Fire();
    }
    EXPECT_EQ(rig.chopper.CurrentLoad(), c.expected);
  }
}

void ExpectFigures(const Chopper::Figures& actual, const Chopper::Figures& expected) {
  EXPECT_EQ(actual.maxForward, expected.maxForward);
  EXPECT_EQ(actual.maxReverse, expected.maxReverse);
  EXPECT_EQ(actual.maxStrafe, expected.maxStrafe);
  EXPECT_EQ(actual.climbRate, expected.climbRate);
  EXPECT_EQ(actual.turnRate, expected.turnRate);
  EXPECT_EQ(actual.acceleration, expected.acceleration);
  EXPECT_EQ(actual.burnFactor, expected.burnFactor);
}

TEST(ChopperFigures, LieBetweenTheEmptyAndLadenValuesByLoad) {
  // Default pairs: forward 3640800/3094680, reverse 1456320/1092240, strafe 1820400/1456320,
  // climb 10.0/8.0, turn 7281/5461, acceleration 20.0/15.0, burn 1.0/78643; payload 1000 kg.
  // Each figure is first + FixedMul(r, second - first), r = (load << 16) / payload.
  const struct {
    const char* what;
    uint16_t load;
    uint16_t payload;
    Chopper::Figures expected;
  } cases[] = {
      {"empty", 0, 1000, {3640800, 1456320, 1820400, IntToFixed(10), 7281, IntToFixed(20), 65536}},
      // r = 16384: forward 3640800 - 546120/4 = 3504270, turn 7281 - 1820/4 = 6826,
      // burn 65536 + 13107/4 (3276.75 -> 3276) = 68812.
      {"a quarter", 250, 1000, {3504270, 1365300, 1729380, 622592, 6826, 1228800, 68812}},
      // r = 333*65536/1000 = 21823 (truncated): forward 3640800 + (21823*-546120 >> 16 = -181854),
      // turn 7281 + (21823*-1820 >> 16 = -607), burn 65536 + (21823*13107 >> 16 = 4364).
      {"a third, r truncated", 333, 1000, {3458946, 1335084, 1699164, 611714, 6674, 1201605, 69900}},
      {"fully laden", 1000, 1000, {3094680, 1092240, 1456320, IntToFixed(8), 5461, IntToFixed(15), 78643}},
      // r = 1.5: speeds go below laden (forward 3640800 - 819180), burn above it
      // (65536 + 19660.5 -> 19660), turn 7281 - 2730.
      {"overloaded", 1500, 1000, {2821620, 910200, 1274280, 458752, 4551, 819200, 85196}},
      {"no payload keeps the empty values", 600, 0,
       {3640800, 1456320, 1820400, IntToFixed(10), 7281, IntToFixed(20), 65536}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Rig rig;
    rig.def.payload = c.payload;
    if (c.load != 0) rig.Carry(c.load);
    ASSERT_EQ(rig.chopper.CurrentLoad(), c.load);
    ExpectFigures(rig.chopper.CurrentFigures(), c.expected);
  }
}

// --- Flight with the engine running ------------------------------------------------------------

TEST(ChopperFlight, HeightFollowsTheAltitudeCommandWithinTheClimbRate) {
  const struct {
    const char* what;
    uint16_t load;
    fixed y;
    fixed ground;
    fixed command;  // metres above the ground
    fixed expectedClimb;
    fixed expectedY;  // y + climb/8
  } cases[] = {
      {"small error is the climb speed", 0, 0, 0, IntToFixed(3), IntToFixed(3), 24576},  // 0.375
      {"exactly the climb rate", 0, 0, 0, IntToFixed(10), IntToFixed(10), 81920},
      {"climb limited to 10 m/s", 0, 0, 0, IntToFixed(50), IntToFixed(10), 81920},
      {"descent limited to 10 m/s", 0, IntToFixed(50), 0, 0, IntToFixed(-10), IntToFixed(50) - 81920},
      // wanted 1.5 + 2.0 = 3.5, at 4.0: -0.5 m/s, y 262144 - 4096
      {"the command is above the ground", 0, IntToFixed(4), IntToFixed(2), 98304, -32768, 258048},
      {"laden climbs at 8 m/s", 1000, 0, 0, IntToFixed(50), IntToFixed(8), IntToFixed(1)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Rig rig;
    if (c.load != 0) rig.Carry(c.load);
    Chopper& ch = rig.chopper;
    ch.SetPosition(Vector3(IntToFixed(1000), c.y, IntToFixed(1000)));
    ch.groundHeight = c.ground;
    ch.altitudeCommand = c.command;
    ch.Update(125, kTick);
    EXPECT_EQ(ch.velocity.y, c.expectedClimb);
    EXPECT_EQ(ch.GetPosition().y, c.expectedY);
  }
}

enum class Axis { Forward, Strafe };

TEST(ChopperFlight, ThrottlesChaseTheirCommandsAtTheAcceleration) {
  // velocity = FixedMul(FixedMul(state, 655), top speed); 655 is 0.01 (percent to a fraction).
  const struct {
    const char* what;
    Axis axis;
    uint16_t load;
    fixed dt;
    fixed state;
    fixed command;
    fixed expectedState;
    fixed expectedVelocity;
  } cases[] = {
      // 20 %/s for 0.125 s: 2.5% (163840); 163840*655 >> 16 = 1637; 1637*3640800 >> 16 = 90942
      {"forward from rest", Axis::Forward, 0, kTick, 0, kPercent100, 163840, 90942},
      // error 1% moves 1% * 0.125 s: 50.125% (3284992); 32831*3640800 >> 16 = 1823899
      {"small error", Axis::Forward, 0, kTick, IntToFixed(50), IntToFixed(51), 3284992, 1823899},
      // 10% - 2.5% = 7.5%: 4912*3640800 >> 16 = 272882 (still the forward top speed)
      {"braking while still ahead", Axis::Forward, 0, kTick, IntToFixed(10), -kPercent100, 491520, 272882},
      // 1% - 2.5% = -1.5%: -98304*655 >> 16 = -983; -983*1456320 >> 16 = -21843.8 -> -21844
      {"crossing zero uses the reverse speed", Axis::Forward, 0, kTick, IntToFixed(1), -kPercent100, -98304,
       -21844},
      // laden: 15 %/s -> 1.875% (122880); 1228*3094680 >> 16 = 57987
      {"laden accelerates slower", Axis::Forward, 1000, kTick, 0, kPercent100, 122880, 57987},
      // 0.2 s (13107): 20*13107 = 262140; 2619*3640800 >> 16 = 145496
      {"a 0.2 s tick", Axis::Forward, 0, 13107, 0, kPercent100, 262140, 145496},
      // 80 %/s -> -10%; -6550*1820400 >> 16 = -181940.3 -> -181941
      {"strafe left at four times the rate", Axis::Strafe, 0, kTick, 0, -kPercent100, IntToFixed(-10), -181941},
      {"strafe right at the same top speed", Axis::Strafe, 0, kTick, 0, kPercent100, IntToFixed(10), 181940},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Rig rig;
    if (c.load != 0) rig.Carry(c.load);
    Chopper& ch = rig.chopper;
    ch.SetPosition(Vector3(IntToFixed(1000), 0, IntToFixed(1000)));
    const bool forward = c.axis == Axis::Forward;
    (forward ? ch.forwardState : ch.strafeState) = c.state;
    (forward ? ch.forwardCommand : ch.strafeCommand) = c.command;
    ch.Update(125, c.dt);
    EXPECT_EQ(forward ? ch.forwardState : ch.strafeState, c.expectedState);
    EXPECT_EQ(forward ? ch.velocity.z : ch.velocity.x, c.expectedVelocity);
    EXPECT_EQ(forward ? ch.velocity.x : ch.velocity.z, 0);
  }
}

TEST(ChopperFlight, ThrottleRampsAtTheAccelerationThenClosesTheGapInProportion) {
  // From rest the error is clamped to 20 %/s: 2.5% a tick, 80% after 32 ticks (4.0 s). From there
  // the error itself is the rate, so each tick removes FixedMul(error, 8192) = floor(error/8):
  // 20% = 5 << 18 shrinks exactly by 7/8 for six ticks, to 5*7^6 = 588245, then
  // 588245 - 73530 = 514715 and 514715 - 64339 = 450376: at 5.0 s the state is
  // 6553600 - 450376 = 6103224 (93.1%). Going back the floor rounds the other way:
  // -588245 + 73531 = -514714, -514714 + 64340 = -450374.
  // In the end a positive error stops at 7 raw (floor(7/8) = 0; from 8..15 it falls one at a
  // time), while a negative one keeps moving by at least 1 until it is 0.
  const struct {
    const char* what;
    fixed command;
    fixed after4s;
    fixed after5s;
    fixed settled;
    fixed settledVelocity;
  } cases[] = {
      // 6553593*655 >> 16 = 65499; 65499*3640800 >> 16 = 3638744 (55.52 m/s)
      {"ahead", kPercent100, IntToFixed(80), 6103224, kPercent100 - 7, 3638744},
      // -65500*1456320 >> 16 = -1455520.02 -> -1455521 (-22.21 m/s)
      {"reverse", -kPercent100, IntToFixed(-80), -6103226, -kPercent100, -1455521},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Rig rig;
    Chopper& ch = rig.chopper;
    ch.forwardCommand = c.command;
    for (int tick = 0; tick < 32; ++tick) ch.Update(125, kTick);
    EXPECT_EQ(ch.forwardState, c.after4s);
    for (int tick = 0; tick < 8; ++tick) ch.Update(125, kTick);
    EXPECT_EQ(ch.forwardState, c.after5s);
    for (int tick = 0; tick < 160; ++tick) ch.Update(125, kTick);
    EXPECT_EQ(ch.forwardState, c.settled);
    EXPECT_EQ(ch.velocity.z, c.settledVelocity);
  }
}

TEST(ChopperTurn, DeadZoneTurnSpeedAndHeading) {
  // Rate 80 %/s: 10% a tick. turnSpeed = (FixedMul(|state|, 655) * 7281) >> 16, and the heading
  // moves by (|turnSpeed| * 8192) >> 16.
  const struct {
    const char* what;
    fixed state;
    fixed command;
    Angle heading;
    fixed expectedState;
    int16_t expectedSpeed;
    Angle expectedHeading;
  } cases[] = {
      // 10%: 6550*7281 >> 16 = 727; heading + (727*8192 >> 16 = 90)
      {"right from rest", 0, kPercent100, 1000, IntToFixed(10), 727, 1090},
      {"left from rest", 0, -kPercent100, 1000, IntToFixed(-10), -727, 910},
      // 100%: 65500*7281 >> 16 = 7277; 7277*8192 >> 16 = 909
      {"full right", kPercent100, kPercent100, 1000, kPercent100, 7277, 1909},
      {"heading wraps past a full turn", kPercent100, kPercent100, 65500, kPercent100, 7277, 873},
      {"heading wraps below zero", -kPercent100, -kPercent100, 500, -kPercent100, -7277, 65127},
      // Inside the dead zone the state restarts from 0 before chasing: 10%, not 10% + 6552.
      {"6552 restarts from zero", 6552, kPercent100, 1000, IntToFixed(10), 727, 1090},
      {"-6552 stops", -6552, 0, 1000, 0, 0, 1000},
      // On its edge it stays and chases: 6553 + FixedMul(-6553, 8192) = 6553 - 820 = 5733;
      // 5733*655 >> 16 = 57; 57*7281 >> 16 = 6; 6*8192 >> 16 = 0, so no heading change yet.
      {"6553 is kept", 6553, 0, 1000, 5733, 6, 1000},
      {"-6553 is kept", -6553, 0, 1000, -5734, -6, 1000},  // -6553 + 819
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Rig rig;
    Chopper& ch = rig.chopper;
    ch.SetHeading(c.heading);
    ch.turnState = c.state;
    ch.turnCommand = c.command;
    ch.Update(125, kTick);
    EXPECT_EQ(ch.turnState, c.expectedState);
    EXPECT_EQ(ch.turnSpeed, c.expectedSpeed);
    EXPECT_EQ(ch.heading, c.expectedHeading);
  }
}

TEST(ChopperTurn, ZeroTurnRateLeavesTheHeading) {
  Rig rig;
  rig.def.turnRate[0] = rig.def.turnRate[1] = 0;
  Chopper& ch = rig.chopper;
  ch.SetHeading(1000);
  ch.turnCommand = kPercent100;
  // 10% a tick while the error is at least 80%: 30% after three ticks.
  for (int tick = 0; tick < 3; ++tick) ch.Update(125, kTick);
  EXPECT_EQ(ch.turnState, IntToFixed(30));
  EXPECT_EQ(ch.turnSpeed, 0);
  EXPECT_EQ(ch.heading, 1000);
}

TEST(ChopperFuel, BurnsByLoadAndStopsTheEngineWhenEmpty) {
  constexpr fixed kFull = IntToFixed(180);  // 11796480
  const struct {
    const char* what;
    uint16_t load;
    fixed fuel;
    fixed expectedFuel;
    bool running;
  } cases[] = {
      {"empty chopper burns 1 a second", 0, kFull, kFull - 8192, true},
      {"laden burns more", 1000, kFull, kFull - 9830, true},       // 78643*8192 >> 16 = 9830
      {"overloaded burns more still", 1500, kFull, kFull - 10649, true},  // 85196*8192 >> 16
      {"the last tick's worth", 0, 8192, 0, false},
      {"less than a tick's worth stops at 0", 0, 100, 0, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Rig rig;
    if (c.load != 0) rig.Carry(c.load);
    Chopper& ch = rig.chopper;
    ch.fuel = c.fuel;
    ch.Update(125, kTick);
    EXPECT_EQ(ch.fuel, c.expectedFuel);
    EXPECT_EQ(ch.engineRunning, c.running ? 1 : 0);
  }
}

TEST(ChopperFlight, DeadEngineFallsAndKeepsDriftingAndTurning) {
  Rig rig;
  Chopper& ch = rig.chopper;
  ch.engineRunning = 0;
  ch.SetPosition(Vector3(IntToFixed(1000), IntToFixed(10), IntToFixed(1000)));
  ch.velocity = Vector3(IntToFixed(1), 0, IntToFixed(2));
  ch.turnState = IntToFixed(10);
  ch.turnSpeed = 727;
  // The controls do nothing without the engine.
  ch.forwardCommand = ch.strafeCommand = kPercent100;
  ch.altitudeCommand = IntToFixed(50);
  const fixed fuel = ch.fuel;

  ch.Update(125, kTick);
  // 0.125 s * 10 m/s^2 = 1.25 m/s down; each step is an eighth of its velocity.
  EXPECT_EQ(ch.velocity, Vector3(IntToFixed(1), -81920, IntToFixed(2)));
  EXPECT_EQ(ch.GetPosition(), Vector3(IntToFixed(1000) + 8192, IntToFixed(10) - 10240, IntToFixed(1000) + 16384));
  EXPECT_EQ(ch.heading, 90);  // 727*8192 >> 16
  ch.Update(125, kTick);
  EXPECT_EQ(ch.velocity, Vector3(IntToFixed(1), -163840, IntToFixed(2)));
  EXPECT_EQ(ch.heading, 180);
  EXPECT_EQ(ch.turnState, IntToFixed(10));
  EXPECT_EQ(ch.turnSpeed, 727);
  EXPECT_EQ(ch.forwardState, 0);
  EXPECT_EQ(ch.strafeState, 0);
  EXPECT_EQ(ch.fuel, fuel);
}

// --- Movement ----------------------------------------------------------------------------------

TEST(ChopperMovement, FollowsTheHeading) {
  // At 100% ahead the speed is 3638800 (55.52 m/s), a step of 3638800/8 = 454850. At 100% right:
  // 65500*1820400 >> 16 = 1819400, a step of 227425. The rotation rows are (cos, 0, -sin),
  // (0, 1, 0), (sin, 0, cos); a quarter turn gives sin 65536, cos 0; 45 degrees gives
  // sin = cos = round(0.70711*65536) = 46341, and 46341*454850 >> 16 = 321627.
  const struct {
    const char* what;
    Angle heading;
    fixed forward;
    fixed strafe;
    fixed dx;
    fixed dz;
  } cases[] = {
      {"ahead at heading 0 is +z", 0, kPercent100, 0, 0, 454850},
      {"a quarter turn: ahead is +x", 16384, kPercent100, 0, 454850, 0},
      {"a half turn: ahead is -z", 32768, kPercent100, 0, 0, -454850},
      {"an eighth of a turn", 8192, kPercent100, 0, 321627, 321627},
      {"right at heading 0 is +x", 0, 0, kPercent100, 227425, 0},
      {"a quarter turn: right is -z", 16384, 0, kPercent100, 0, -227425},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Rig rig;
    Chopper& ch = rig.chopper;
    ch.SetPosition(Vector3(IntToFixed(1000), 0, IntToFixed(1000)));
    ch.SetHeading(c.heading);
    ch.forwardState = ch.forwardCommand = c.forward;
    ch.strafeState = ch.strafeCommand = c.strafe;
    ch.Update(125, kTick);
    EXPECT_EQ(ch.GetPosition(), Vector3(IntToFixed(1000) + c.dx, 0, IntToFixed(1000) + c.dz));
    EXPECT_EQ(ch.heading, c.heading);
  }
}

TEST(ChopperMovement, WrapsAroundTheMapInXAndZ) {
  const struct {
    const char* what;
    fixed start;
    fixed step;
    fixed expected;
  } cases[] = {
      {"just below 0", 0, IntToFixed(-1), IntToFixed(2047)},
      {"exactly 2048.0 is kept", IntToFixed(2047) + kFixedHalf, kFixedHalf, kWorldSize},
      {"just above 2048.0", kWorldSize, kFixedHalf, kFixedHalf},
      {"one raw unit above 2048.0", kWorldSize, 1, 1},
      {"exactly -2048.0 becomes 0", IntToFixed(10), IntToFixed(-2058), 0},
      {"more than a map below 0", IntToFixed(1), IntToFixed(-3000), IntToFixed(1097)},  // -2999 + 2*2048
      {"more than a map above", IntToFixed(2000), IntToFixed(2200), IntToFixed(104)},   // 4200 - 2*2048
      {"exactly two maps is 2048.0", kWorldSize, kWorldSize, kWorldSize},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Rig rig;
    Chopper& ch = rig.chopper;
    // A dead engine keeps the velocity it is given: eight times the step for 0.125 s.
    ch.engineRunning = 0;
    ch.SetPosition(Vector3(c.start, IntToFixed(100), c.start));
    ch.velocity = Vector3(c.step * 8, 0, c.step * 8);
    ch.Update(125, kTick);
    EXPECT_EQ(ch.GetPosition().x, c.expected);
    EXPECT_EQ(ch.GetPosition().z, c.expected);
  }
}

// --- Ground contact ----------------------------------------------------------------------------

enum class Outcome { Airborne, Land, Crash };

TEST(ChopperGround, TouchdownsAreJudgedBySinkingAndThrottles) {
  constexpr fixed kGround = IntToFixed(2);
  // Sinking: hard when y - ground <= -FixedMul(5.0, dt); at 0.033 s that is -(5*2162) = -10810.
  const struct {
    const char* what;
    fixed clearance;  // y - ground
    fixed forward;
    fixed strafe;
    fixed turn;
    Outcome expected;
  } cases[] = {
      {"above 0.1 m flies", 6554, 0, 0, 0, Outcome::Airborne},
      {"0.1 m touches", 6553, 0, 0, 0, Outcome::Land},
      {"level", 0, 0, 0, 0, Outcome::Land},
      {"just short of the sink limit", -10809, 0, 0, 0, Outcome::Land},
      {"at the sink limit", -10810, 0, 0, 0, Outcome::Crash},
      {"0.2 m below", -13107, 0, 0, 0, Outcome::Crash},
      {"10% ahead", 0, IntToFixed(10), 0, 0, Outcome::Land},
      {"just over 10% ahead", 0, IntToFixed(10) + 1, 0, 0, Outcome::Crash},
      {"11% ahead", 0, IntToFixed(11), 0, 0, Outcome::Crash},
      {"backwards at 50%", 0, IntToFixed(-50), 0, 0, Outcome::Land},
      {"11% right", 0, 0, IntToFixed(11), 0, Outcome::Crash},
      {"left at 50%", 0, 0, IntToFixed(-50), 0, Outcome::Land},
      {"turning right at 11%", 0, 0, 0, IntToFixed(11), Outcome::Crash},
      {"turning left at 50%", 0, 0, 0, IntToFixed(-50), Outcome::Land},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Rig rig;
    Chopper& ch = rig.chopper;
    ch.onGround = 0;
    const Vector3 start(IntToFixed(1000), kGround + c.clearance, IntToFixed(1000));
    const Vector3 velocity(IntToFixed(1), IntToFixed(-2), IntToFixed(3));
    ch.SetPosition(start);
    ch.velocity = velocity;
    ch.turnSpeed = 100;
    ch.forwardState = c.forward;
    ch.strafeState = c.strafe;
    ch.turnState = c.turn;
    ch.forwardCommand = 5;
    ch.strafeCommand = 6;
    ch.turnCommand = 7;
    ch.altitudeCommand = 8;

    ch.GroundContact(kGround, kGameTick);

    EXPECT_EQ(ch.groundHeight, kGround);
    EXPECT_EQ(ch.altitudeCommand, 8);
    switch (c.expected) {
      case Outcome::Airborne:
        EXPECT_EQ(ch.onGround, 0);
        EXPECT_EQ(ch.crashed, 0);
        EXPECT_EQ(ch.GetPosition(), start);
        EXPECT_EQ(ch.velocity, velocity);
        EXPECT_EQ(ch.forwardCommand, 5);
        break;
      case Outcome::Land:
      case Outcome::Crash: {
        const bool crash = c.expected == Outcome::Crash;
        EXPECT_EQ(ch.onGround, 1);
        EXPECT_EQ(ch.crashed, crash ? 1 : 0);
        EXPECT_EQ(ch.engineRunning, crash ? 0 : 1);
        ExpectStandingStill(ch, kGround);
        break;
      }
    }
  }
}

TEST(ChopperGround, OnlyATouchdownIsJudged) {
  // Already standing: throttles that would crash a touchdown are simply zeroed.
  Rig rig;
  Chopper& ch = rig.chopper;
  ch.forwardState = IntToFixed(50);
  ch.forwardCommand = IntToFixed(50);
  ch.SetPosition(Vector3(0, -IntToFixed(1), 0));
  ch.GroundContact(0, kGameTick);
  EXPECT_EQ(ch.crashed, 0);
  EXPECT_EQ(ch.engineRunning, 1);
  ExpectStandingStill(ch, 0);

  // Taking off again clears an earlier crash.
  ch.crashed = 1;
  ch.SetPosition(Vector3(0, IntToFixed(3), 0));
  ch.GroundContact(0, kGameTick);
  EXPECT_EQ(ch.onGround, 0);
  EXPECT_EQ(ch.crashed, 0);
}

TEST(ChopperGround, TankRunningDryInTheAirDropsTheChopper) {
  // Hovering at `height` 10% ahead (6550*3640800 >> 16 = 363880, 5.55 m/s, 45485 a tick); the
  // tank is empty after the first tick. Then it falls 1.25 m/s faster each tick, a step of
  // 10240*n on the nth dead tick: 10240*n(n+1)/2 after n. The touchdown is hard when it ends at
  // least 5.0*0.125 = 0.625 m (40960) below the ground.
  const struct {
    const char* what;
    fixed height;
    int touchdownTick;
    bool crash;
  } cases[] = {
      // 0.5 m = 32768: after 2 dead ticks 32768 - 30720 = 2048 (<= 0.1 m), above ground: soft.
      {"a short drop lands", kFixedHalf, 3, false},
      // 10.5 m = 688128: after 11 dead ticks 12288 (0.19 m) left, after 12 it is
      // 688128 - 798720 = -110592, more than 0.625 m below: a crash.
      {"a long drop crashes", IntToFixed(10) + kFixedHalf, 13, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Rig rig;
    Chopper& ch = rig.chopper;
    ch.onGround = 0;
    ch.SetPosition(Vector3(IntToFixed(1000), c.height, IntToFixed(1000)));
    ch.altitudeCommand = c.height;
    ch.forwardState = ch.forwardCommand = IntToFixed(10);
    ch.fuel = 1;
    for (int tick = 1; tick <= c.touchdownTick; ++tick) {
      SCOPED_TRACE(tick);
      ch.Update(125, kTick);
      ch.GroundContact(0, kTick);
      EXPECT_EQ(ch.engineRunning, 0);
      EXPECT_EQ(ch.fuel, 0);
      if (tick == 1) ch.forwardCommand = 0;  // the dead engine ignores the stick
      if (tick < c.touchdownTick) {
        ASSERT_EQ(ch.onGround, 0);
        EXPECT_EQ(ch.forwardState, IntToFixed(10));
        EXPECT_EQ(ch.velocity.z, 363880);
        EXPECT_EQ(ch.velocity.y, -81920 * (tick - 1));
      }
    }
    EXPECT_EQ(ch.onGround, 1);
    EXPECT_EQ(ch.crashed, c.crash ? 1 : 0);
    EXPECT_EQ(ch.engineRunning, 0);
    EXPECT_EQ(ch.GetPosition(), Vector3(IntToFixed(1000), 0, IntToFixed(1000) + 45485 * c.touchdownTick));
  }
}

// --- Passengers and warnings -------------------------------------------------------------------

TEST(ChopperPassengers, BoardOnlyWhileSeatsAreFree) {
  Rig rig;
  rig.def.passengers = 2;
  Chopper& ch = rig.chopper;
  EXPECT_TRUE(ch.BoardPassenger());
  EXPECT_TRUE(ch.BoardPassenger());
  EXPECT_FALSE(ch.BoardPassenger());
  EXPECT_EQ(ch.passengers, 2);
  ch.UnloadPassengers();
  EXPECT_EQ(ch.passengers, 0);

  Rig noSeats;
  noSeats.def.passengers = 0;
  EXPECT_FALSE(noSeats.chopper.BoardPassenger());
  EXPECT_EQ(noSeats.chopper.passengers, 0);
}

TEST(ChopperWarnings, LevelsForHeightFuelAndDamage) {
  constexpr fixed kGround = IntToFixed(3);
  const struct {
    const char* what;
    uint32_t kind;
    fixed above;  // y - ground height
    fixed fuel;
    uint16_t damage;
    WarningLevel expected;
  } cases[] = {
      {"below the ground", WarningAltitude, IntToFixed(-1), IntToFixed(100), 0, WarningDanger},
      {"just under 5 m", WarningAltitude, IntToFixed(5) - 1, IntToFixed(100), 0, WarningDanger},
      {"5 m", WarningAltitude, IntToFixed(5), IntToFixed(100), 0, WarningCaution},
      {"just under 20 m", WarningAltitude, IntToFixed(20) - 1, IntToFixed(100), 0, WarningCaution},
      {"20 m", WarningAltitude, IntToFixed(20), IntToFixed(100), 0, WarningNormal},
      {"fuel just under 15", WarningFuel, IntToFixed(50), IntToFixed(15) - 1, 0, WarningDanger},
      {"fuel 15", WarningFuel, IntToFixed(50), IntToFixed(15), 0, WarningCaution},
      {"fuel just under 60", WarningFuel, IntToFixed(50), IntToFixed(60) - 1, 0, WarningCaution},
      {"fuel 60", WarningFuel, IntToFixed(50), IntToFixed(60), 0, WarningNormal},
      {"damage 91", WarningDamage, IntToFixed(50), IntToFixed(100), 91, WarningDanger},
      {"damage 90", WarningDamage, IntToFixed(50), IntToFixed(100), 90, WarningCaution},
      {"damage 71", WarningDamage, IntToFixed(50), IntToFixed(100), 71, WarningCaution},
      {"damage 70", WarningDamage, IntToFixed(50), IntToFixed(100), 70, WarningNormal},
      {"unknown kind", 3, IntToFixed(-1), 0, 100, WarningNormal},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Rig rig;
    Chopper& ch = rig.chopper;
    ch.groundHeight = kGround;
    ch.SetPosition(Vector3(0, kGround + c.above, 0));
    ch.fuel = c.fuel;
    ch.damage = c.damage;
    EXPECT_EQ(ch.GetWarningLevel(c.kind), c.expected);
  }
}

// --- What the world hears ----------------------------------------------------------------------

TEST(ChopperWorld, TankRunningDryOnTheGroundEndsTheMission) {
  WorldRig rig;
  rig.chopper->fuel = 1;
  rig.world.Update(125, kTick, false, false);
  EXPECT_EQ(rig.chopper->engineRunning, 0);
  EXPECT_EQ(rig.chopper->crashed, 0);
  EXPECT_EQ(rig.world.missionOver, 1);
}

TEST(ChopperWorld, TankRunningDryInTheAirEndsTheMissionOnlyAtTheCrash) {
  // The long drop of TankRunningDryInTheAirDropsTheChopper, over the world's flat ground.
  WorldRig rig;
  Chopper& ch = *rig.chopper;
  const fixed height = IntToFixed(10) + kFixedHalf;
  ch.onGround = 0;
  ch.SetPosition(Vector3(IntToFixed(1000), height, IntToFixed(1000)));
  ch.altitudeCommand = height;
  ch.fuel = 1;
  for (int tick = 1; tick <= 12; ++tick) rig.world.Update(125, kTick, false, false);
  EXPECT_EQ(ch.engineRunning, 0);
  EXPECT_EQ(ch.onGround, 0);
  EXPECT_EQ(rig.world.missionOver, 0);
  rig.world.Update(125, kTick, false, false);
  EXPECT_EQ(ch.crashed, 1);
  EXPECT_EQ(rig.world.missionOver, 1);
}

TEST(ChopperWorld, TouchdownsNearTheHelipad) {
  // Helipad at (100, 0, 200); "near" is strictly within 20.0 m on both x and z. The mission has
  // no goals, so a soft landing near it completes the mission.
  const struct {
    const char* what;
    fixed x;
    fixed z;
    fixed forward;
    uint16_t passengers;
    bool missionOver;
  } cases[] = {
      {"on the pad", IntToFixed(100), IntToFixed(200), 0, 0, true},
      {"just inside on x", IntToFixed(120) - 1, IntToFixed(200), 0, 0, true},
      {"20 m off on x", IntToFixed(120), IntToFixed(200), 0, 0, false},
      {"just inside on z", IntToFixed(100), IntToFixed(180) + 1, 0, 0, true},
      {"20 m off on z", IntToFixed(100), IntToFixed(180), 0, 0, false},
      {"passengers get out at the pad", IntToFixed(110), IntToFixed(190), 0, 1, true},
      {"passengers stay aboard elsewhere", IntToFixed(300), IntToFixed(200), 0, 1, false},
      {"a crash anywhere ends it", IntToFixed(500), IntToFixed(500), IntToFixed(50), 1, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WorldRig rig;
    rig.mission->helipad = Vector3(IntToFixed(100), 0, IntToFixed(200));
    Chopper& ch = *rig.chopper;
    ch.onGround = 0;
    ch.passengers = c.passengers;
    ch.forwardState = c.forward;
    ch.SetPosition(Vector3(c.x, 3276, c.z));  // 0.05 m up
    ch.GroundContact(rig.world.GroundHeight(c.x, c.z), kGameTick);

    const bool crash = c.forward != 0;
    EXPECT_EQ(ch.onGround, 1);
    EXPECT_EQ(ch.crashed, crash ? 1 : 0);
    EXPECT_EQ(rig.world.missionOver, c.missionOver ? 1 : 0);
    if (!crash) {
      const bool unloaded = c.passengers != 0 && c.missionOver;
      EXPECT_EQ(ch.passengers, unloaded ? 0 : c.passengers);
      EXPECT_EQ(Posted(rig.world, MessagePassengersOut), unloaded);
    }
  }
}

}  // namespace
