// The rules of a running mission on small worlds: set-up, touches, the terrain rule, shots and
// hits, landing at the helipad, the goals' consequences, effects and sounds, and tear-down.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "content/scene_object.h"
#include "game/chopper.h"
#include "game/effects.h"
#include "game/game_sounds.h"
#include "game/game_world.h"
#include "game/messages.h"
#include "game/mission_instance.h"
#include "game/weapons.h"
#include "game/world_report.h"
#include "game_test_support.h"
#include "sound/sound.h"
#include "sound/sound_mixer.h"

namespace {

using game_test::kDt33;
using game_test::kGround;

const fixed kHelipad = IntToFixed(1000);

// A world on the test landscape: mission "Test" with its helipad at (1000, 1000), the given
// extra mission lines (objects, goals) and object sections. Set up, with a message queue and
// the game sounds loaded.
class TestWorld {
 public:
  TestWorld(const std::string& missionLines, const std::string& objectSections, bool setUp = true)
      : pack_("[Test]\nHelipad = 1000 1000\n" + game_test::LandscapeLines() + missionLines + "\n" + objectSections) {
    EXPECT_TRUE(pack_.opened());
    missionDef_ = pack_.Mission(u"Test");
    chopperDef = game_test::PlainChopper();
    chopper = new Chopper(chopperDef.get());
    chopper->Reset();
    sounds.Load(false, 200);
    world = std::make_unique<GameWorld>(new MissionInstance(missionDef_.get()), chopper, &sounds);
    if (setUp) world->SetUp(&queue);
  }
  ~TestWorld() {
    world.reset();
    SoundMixer::Instance().Reset();
  }

  // The first update puts the objects on the ground (until then they stand at their height
  // above 0); the chopper stays on its helipad.
  void Settle() { Run(1); }
  // Runs `ticks` updates of 33 ms; the blink flags as given.
  void Run(int ticks, bool slowBlink = false, bool fastBlink = false) {
    for (int i = 0; i < ticks; ++i) world->Update(33, kDt33, slowBlink, fastBlink);
  }
  SceneObject* Object(const char16_t* name) const {
    return static_cast<SceneObject*>(world->objects->FindNode(name));
  }
  std::u16string LastMessage() const {
    return queue.entries.Empty() ? u"" : queue.entries[queue.entries.Count() - 1]->text;
  }
  void PlaceChopper(double x, double y, double z) {
    chopper->SetPosition(Vector3(static_cast<fixed>(x * 65536), static_cast<fixed>(y * 65536),
                                 static_cast<fixed>(z * 65536)));
  }
  // In the air above the helipad, hovering: flying, engine on.
  void Hover(double heightAboveGround) {
    PlaceChopper(1000, 10 + heightAboveGround, 1000);
    chopper->onGround = 0;
    chopper->altitudeCommand = static_cast<fixed>(heightAboveGround * 65536);
  }

  std::unique_ptr<ChopperDef> chopperDef;
  Chopper* chopper;  // the world's
  MessageQueue queue;
  GameSounds sounds;
  std::unique_ptr<GameWorld> world;

 private:
  game_test::TestMissionPack pack_;
  std::unique_ptr<MissionDef> missionDef_;
};

std::string ObjectLines(std::initializer_list<const char*> names) {
  std::string lines;
  for (const char* name : names) lines += std::string("Object = ") + name + "\n";
  return lines;
}

TEST(GameWorldSetUp, PutsTheChopperOnItsHelipadFacingRoundAndClearsItForTakeoff) {
  TestWorld t(ObjectLines({"Depot"}), "[Depot]\nMesh = House\nPos = 900 900 0\n");
  const Vector3 p = t.chopper->GetPosition();
  EXPECT_EQ(p.x, kHelipad);
  EXPECT_EQ(p.z, kHelipad);
  EXPECT_EQ(p.y, kGround);
  EXPECT_EQ(t.chopper->groundHeight, kGround);
  EXPECT_EQ(t.chopper->heading, 32768);
  // Half a turn: forward is -z.
  EXPECT_EQ(t.chopper->transform.m[8], -65536);
  EXPECT_EQ(t.chopper->onGround, 1);
  EXPECT_EQ(t.world->missionOver, 0);
  ASSERT_EQ(t.queue.entries.Count(), 1);
  EXPECT_EQ(std::u16string(t.queue.entries[0]->text), u"Cleared for takeoff");
  EXPECT_TRUE(t.sounds.sound(SoundMessage)->IsPlaying());
  ASSERT_NE(t.Object(u"Depot"), nullptr);
}

TEST(GameWorldSetUp, SkipsMissingSectionsAndCountsAGoalWithoutItsObjectAsAchieved) {
  testing::internal::CaptureStderr();
  TestWorld t(ObjectLines({"Depot", "Nowhere"}) + "Goal = Destroy Ghost\nGoal = KeepAlive Depot\n",
              "[Depot]\nMesh = House\nPos = 900 900 0\n");
  const std::string errors = testing::internal::GetCapturedStderr();
  EXPECT_EQ(t.world->objects->nodes.Count(), 1);
  ASSERT_EQ(t.world->mission->goals.Count(), 2);
  EXPECT_EQ(t.world->mission->goals[0]->status, GoalAchieved);
  EXPECT_EQ(t.world->mission->goals[1]->status, GoalPending);
  EXPECT_NE(errors.find("\"Ghost\""), std::string::npos) << errors;
  EXPECT_NE(errors.find("\"Test\""), std::string::npos) << errors;
  // With its other goal an untimed KeepAlive, the mission is complete at once.
  EXPECT_TRUE(t.world->mission->IsComplete());
}

// Touches: the box half size is the hit radius (drum 2.0 x 3 = 6.0, house 10.0 x 0.75 = 7.5).
TEST(GameWorldTouch, BoxesAreStrictOnEveryAxis) {
  struct Case {
    const char* name;
    const char* section;
    double dx, dy, dz;
    bool touched;
  };
  const Case cases[] = {
      {"drum 5.99 m east", "Class = Fuel\nMesh = Drum", 5.99, 0, 0, true},
      {"drum 6.0 m east", "Class = Fuel\nMesh = Drum", 6.0, 0, 0, false},
      {"drum 5.9 m above", "Class = Fuel\nMesh = Drum", 0, 5.9, 0, true},
      {"drum 6.0 m north", "Class = Fuel\nMesh = Drum", 0, 0, -6.0, false},
      {"house 7.49 m off on all axes", "Class = Structure\nMesh = House", 7.49, 7.49, 7.49, true},
      {"house 7.5 m above", "Class = Structure\nMesh = House", 0, 7.5, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TestWorld t(ObjectLines({"Thing"}), std::string("[Thing]\n") + c.section + "\nPos = 1100 1100 0\n");
    t.Settle();
    t.PlaceChopper(1100 + c.dx, 10 + c.dy, 1100 + c.dz);
    t.chopper->onGround = 0;
    t.chopper->altitudeCommand = static_cast<fixed>(c.dy * 65536);
    t.Run(1);
    const SceneObject* thing = t.Object(u"Thing");
    if (std::string(c.section).find("Fuel") != std::string::npos) {
      EXPECT_EQ(thing->alive == 0, c.touched);
    } else {
      // A crash in the air: the mission is over, and the chopper falls with its engine dead
      // (its crashed flag clears while it is more than 0.1 m up).
      EXPECT_EQ(t.world->missionOver == 1, c.touched);
      EXPECT_EQ(t.chopper->engineRunning == 0, c.touched);
    }
  }
}

TEST(GameWorldTouch, FuelRefillsAndPeopleBoardUntilTheSeatsAreFull) {
  TestWorld t(ObjectLines({"Drum1", "Pilot", "Crew"}),
              "[Drum1]\nMesh = Drum\nClass = Fuel\nPos = 1000 1000 0\n"
              "[Pilot]\nMesh = Person\nClass = Human\nPos = 1000 1000 0\n"
              "[Crew]\nMesh = Person\nClass = Human\nPos = 1001 1000 0\n");
  t.Settle();  // on the ground now, right under the chopper: picked up in the next touch pass
  t.chopper->fuel = IntToFixed(20);
  t.Run(1);  // the touch pass comes before the flight step burns this tick's fuel
  EXPECT_EQ(t.chopper->fuel, t.chopperDef->fuelCapacity - 2162);
  const SceneObject* drum = t.Object(u"Drum1");
  EXPECT_EQ(drum->alive, 0);
  EXPECT_EQ(drum->active, 0);
  // One seat: the pilot boards, the crew member finds no room, and says so every tick.
  EXPECT_EQ(t.chopper->passengers, 1);
  EXPECT_EQ(t.Object(u"Pilot")->alive, 0);
  EXPECT_EQ(t.Object(u"Crew")->alive, 1);
  const uint16_t shown = t.queue.entries.Count();
  t.Run(1);
  EXPECT_EQ(t.LastMessage(), u"No room for more passengers");
  EXPECT_EQ(t.queue.entries.Count(), shown);  // the oldest went out for it
  // A free seat: the crew member boards at the next touch.
  t.chopper->UnloadPassengers();
  t.Run(1);
  EXPECT_EQ(t.Object(u"Crew")->alive, 0);
  EXPECT_EQ(t.chopper->passengers, 1);
}

TEST(GameWorldTouch, ChildrenAndDestroyedObjectsAreNeverTouched) {
  TestWorld t(ObjectLines({"Base", "Mast", "Wreck"}),
              "[Base]\nMesh = Tank\nClass = Vehicle\nPos = 800 700 0\n"
              "[Mast]\nMesh = House\nClass = Structure\nParent = Base\nPos = 200 300 0\n"
              "[Wreck]\nMesh = House\nClass = Structure\nPos = 1000 1000 0\n");
  ASSERT_EQ(t.Object(u"Mast")->parent, t.Object(u"Base"));
  t.Settle();
  t.Object(u"Wreck")->alive = 0;  // destroyed: flown through
  // The child sits at (1000, 1000) in the world, right where the chopper stands.
  EXPECT_EQ(t.Object(u"Mast")->world.GetTranslation().x, kHelipad);
  t.Run(3);
  EXPECT_EQ(t.chopper->crashed, 0);
  EXPECT_EQ(t.world->missionOver, 0);
}

TEST(GameWorldTouch, TouchingAStructureCrashesAndEndsTheMissionWithAnExplosion) {
  TestWorld t(ObjectLines({"Shed"}), "[Shed]\nMesh = House\nClass = Structure\nPos = 1000 1000 0\n");
  t.Run(2);
  EXPECT_EQ(t.chopper->crashed, 1);
  EXPECT_EQ(t.chopper->engineRunning, 0);
  EXPECT_EQ(t.world->missionOver, 1);
  EXPECT_TRUE(t.sounds.sound(SoundExplosion)->IsPlaying());
}

TEST(GameWorldTerrain, EachClassKeepsToTheGroundItsOwnWay) {
  // The ridge steps up to 12, 14, 16 and 18 m between x = 1200 and 1264.
  TestWorld t(ObjectLines({"Truck", "Gunship", "Tower"}),
              "[Truck]\nMesh = Tank\nClass = Vehicle\nPos = 1220 500 3\n"
              "[Gunship]\nMesh = Tank\nClass = Helicopter\nPos = 1250 500 40\n"
              "[Tower]\nMesh = House\nClass = Other\nPos = 1240 500 7\n");
  t.Run(1);
  EXPECT_EQ(game_test::RidgeHeight(1220), IntToFixed(14));
  EXPECT_EQ(t.Object(u"Truck")->world.GetTranslation().y, IntToFixed(14 + 3));
  EXPECT_EQ(t.Object(u"Truck")->groundHeight, IntToFixed(14));
  // A helicopter keeps its absolute height and only remembers how high it is above the ground.
  EXPECT_EQ(t.Object(u"Gunship")->world.GetTranslation().y, IntToFixed(40));
  EXPECT_EQ(t.Object(u"Gunship")->heightAboveGround, IntToFixed(40 - 18));
  EXPECT_EQ(t.Object(u"Tower")->world.GetTranslation().y, IntToFixed(7));
}

TEST(GameWorldLanding, CountsStrictlyWithin20MetresOfTheHelipad) {
  const struct {
    double east;
    bool ends;
  } cases[] = {{19.9, true}, {-19.9, true}, {20.0, false}, {25.0, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.east);
    TestWorld t("", "");  // no goals: complete from the first tick
    t.PlaceChopper(1000 + c.east, 10.05, 1000);
    t.chopper->onGround = 0;
    t.Run(1);
    EXPECT_EQ(t.chopper->onGround, 1);
    EXPECT_EQ(t.world->missionOver, c.ends ? 1 : 0);
  }
}

TEST(GameWorldLanding, UnloadsPassengersAtTheHelipadButEndsOnlyACompleteMission) {
  TestWorld t(ObjectLines({"Depot"}) + "Goal = Destroy Depot\n", "[Depot]\nMesh = House\nPos = 500 500 0\n");
  t.chopper->passengers = 1;
  t.PlaceChopper(1000, 10.05, 1000);
  t.chopper->onGround = 0;
  t.Run(1);
  EXPECT_EQ(t.chopper->passengers, 0);
  EXPECT_EQ(t.LastMessage(), u"All passengers out");
  EXPECT_EQ(t.world->missionOver, 0);
}

TEST(GameWorldGoals, WithoutGoalsTheMissionIsCompleteAtOnce) {
  TestWorld t("", "");
  t.Run(1, /*slowBlink=*/false);
  EXPECT_EQ(t.LastMessage(), u"Cleared for takeoff");
  t.Run(1, /*slowBlink=*/true);
  EXPECT_EQ(t.LastMessage(), u"Mission complete. Return to base");
  // Posted again on every slow-blink tick.
  t.Run(2, true);
  EXPECT_EQ(t.queue.entries.Count(), 3);
  EXPECT_EQ(t.world->missionOver, 0);
}

TEST(GameWorldGoals, AFailedGoalEndsTheMissionAtOnce) {
  TestWorld t(ObjectLines({"Depot"}) + "Goal = Destroy Depot 1\n", "[Depot]\nMesh = House\nPos = 500 500 0\n");
  t.Run(30);  // 990 ms
  EXPECT_EQ(t.world->missionOver, 0);
  t.Run(1);
  EXPECT_EQ(t.world->mission->goals[0]->status, GoalFailed);
  EXPECT_EQ(t.world->missionOver, 1);
}

TEST(GameWorldSounds, WarningsBeepOnTheFastBlinkAndTheEngineLoopsWhileItRuns) {
  TestWorld t("", "");
  t.Run(1, false, false);
  EXPECT_TRUE(t.sounds.sound(SoundEngine)->IsPlaying());
  // On the ground the altitude warning is requested too; fuel is full.
  EXPECT_FALSE(t.sounds.sound(SoundAltitude)->IsPlaying());
  t.Run(1, false, true);
  EXPECT_TRUE(t.sounds.sound(SoundAltitude)->IsPlaying());
  EXPECT_FALSE(t.sounds.sound(SoundFuelLow)->IsPlaying());
  t.chopper->fuel = IntToFixed(30);
  t.Run(1, false, true);
  EXPECT_TRUE(t.sounds.sound(SoundFuelLow)->IsPlaying());
  EXPECT_FALSE(t.sounds.sound(SoundFuelCritical)->IsPlaying());
  t.chopper->fuel = IntToFixed(10);
  t.Run(1, false, true);
  EXPECT_TRUE(t.sounds.sound(SoundFuelCritical)->IsPlaying());
  // The engine stops for good when the tank runs dry on the ground: the mission is over.
  t.chopper->fuel = 1;
  t.Run(1);
  EXPECT_EQ(t.chopper->engineRunning, 0);
  EXPECT_EQ(t.world->missionOver, 1);
  EXPECT_FALSE(t.sounds.sound(SoundEngine)->IsPlaying());
}

TEST(GameSounds, MuteOrVolumeZeroLoadsNothing) {
  for (const auto& [mute, volume] : {std::pair{true, 128}, std::pair{false, 0}}) {
    GameSounds sounds;
    sounds.Load(mute, static_cast<uint8_t>(volume));
    for (uint32_t slot = 0; slot < kGameSoundSlots; ++slot) EXPECT_EQ(sounds.sound(GameSoundSlot(slot)), nullptr);
    sounds.PlayOnce(SoundExplosion);  // nothing to play: nothing happens
    sounds.SetEngine(true);
  }
  SoundMixer::Instance().Reset();
}

// --- Shots ---------------------------------------------------------------------------------------

struct Armed {
  std::unique_ptr<WeaponDef> gun = game_test::MakeWeapon(u"Gun", WeaponMachineGun, 3600, 300, 20, 1);
  std::unique_ptr<WeaponDef> rockets = game_test::MakeWeapon(u"Rockets", WeaponRocket, 720, 1000, 40, 4);
};

TEST(GameWorldShots, ARocketReachesItsFullSpeedAfterOneSecond) {
  Armed weapons;
  weapons.rockets->speed = SpeedFromKmh(200);
  TestWorld t("", "");
  t.Hover(60);
  t.chopper->AddWeapon(weapons.rockets.get());
  Projectile* rocket = t.chopper->Fire();
  ASSERT_NE(rocket, nullptr);
  EXPECT_EQ(rocket->speed, 0);
  // Ten ticks of 0.1 s (raw 6554): 9 x 364102 (= 55.554 m/s^2 x 0.1 s) is still short of
  // 200 km/h (3640800 raw); the tenth would pass it and stops at it.
  for (int i = 0; i < 9; ++i) t.world->Update(100, 6554, false, false);
  EXPECT_EQ(rocket->speed, 9 * 364102);
  t.world->Update(100, 6554, false, false);
  EXPECT_EQ(rocket->speed, 3640800);
}

TEST(GameWorldShots, LaunchSoundsMessagesSidesAndTheDip) {
  Armed weapons;
  TestWorld t("", "");
  t.Hover(60);
  t.chopper->AddWeapon(weapons.gun.get());
  t.chopper->AddWeapon(weapons.rockets.get());
  Projectile* bullet = t.chopper->Fire();
  ASSERT_NE(bullet, nullptr);
  EXPECT_EQ(bullet->speed, weapons.gun->speed);
  EXPECT_EQ(bullet->smoke, nullptr);
  EXPECT_EQ(t.LastMessage(), u"MachineGun fired");
  EXPECT_TRUE(t.sounds.sound(SoundMachineGun)->IsPlaying());
  // Straight ahead (-z) and 5 degrees down, from the chopper itself.
  EXPECT_EQ(bullet->transform.GetTranslation(), t.chopper->GetPosition());
  EXPECT_NEAR(bullet->transform.m[7] / 65536.0, -0.0872, 0.001);
  EXPECT_NEAR(bullet->transform.m[8] / 65536.0, -0.9962, 0.001);

  ASSERT_TRUE(t.chopper->SelectWeapon(1));
  EXPECT_EQ(t.LastMessage(), u"Rockets selected");
  Projectile* first = t.chopper->Fire();
  Projectile* second = t.chopper->Fire();
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(t.LastMessage(), u"Rocket away");
  EXPECT_TRUE(t.sounds.sound(SoundRocket)->IsPlaying());
  EXPECT_FALSE(t.sounds.sound(SoundGuidedRocket)->IsPlaying());
  // Two metres to either side along the chopper's right axis (which points along -x here), in turn.
  const fixed x0 = first->transform.GetTranslation().x - kHelipad;
  const fixed x1 = second->transform.GetTranslation().x - kHelipad;
  EXPECT_EQ(std::abs(x0), IntToFixed(2));
  EXPECT_EQ(x1, -x0);
  EXPECT_EQ(first->speed, 0);
  ASSERT_NE(first->smoke, nullptr);
  EXPECT_EQ(t.world->effects->groups().Count(), 2);
  EXPECT_EQ(t.world->projectiles.Count(), 3);
  EXPECT_EQ(t.chopper->weaponSlots[1]->ShotsLeft(), 2);

  weapons.rockets->guidance = GuidanceHeat;
  t.chopper->Fire();
  EXPECT_TRUE(t.sounds.sound(SoundGuidedRocket)->IsPlaying());
}

TEST(GameWorldShots, TheNearerOfTwoObjectsIsHitAndPeopleAndFuelNeverAre) {
  Armed weapons;
  // In a line south (-z) of the helipad at the chopper's height: the rocket flies 5 degrees down,
  // so the boxes are tall (house 7.5 m half size) and near.
  TestWorld t(ObjectLines({"Drum1", "Pilot", "Near", "Far"}),
              "[Drum1]\nMesh = Drum\nClass = Fuel\nPos = 1000 990 30\n"
              "[Pilot]\nMesh = Person\nClass = Human\nPos = 1000 985 30\n"
              "[Near]\nMesh = House\nClass = Structure\nPos = 1000 980 30\nMaxDamage = 100\n"
              "[Far]\nMesh = House\nClass = Structure\nPos = 1000 972 30\nMaxDamage = 100\n");
  t.Settle();
  t.Hover(30);
  t.chopper->AddWeapon(weapons.gun.get());
  t.chopper->Fire();
  // A 1000 m/s bullet covers 33 m in the tick: every object lies within its step.
  t.Run(1);
  EXPECT_EQ(t.world->projectiles.Count(), 0);
  EXPECT_EQ(t.Object(u"Near")->damage, 20);
  EXPECT_EQ(t.Object(u"Far")->damage, 0);
  EXPECT_EQ(t.Object(u"Drum1")->alive, 1);
  EXPECT_EQ(t.Object(u"Pilot")->alive, 1);
  EXPECT_EQ(t.LastMessage(), u"Target hit");
  EXPECT_TRUE(t.sounds.sound(SoundHit)->IsPlaying());
}

TEST(GameWorldShots, DamageDestroysAtMaxDamageAndLeavesTheWreckSmoking) {
  const struct {
    const char* maxDamage;
    int shotsToDestroy;
  } cases[] = {{"MaxDamage = 0", 1}, {"MaxDamage = 40", 2}, {"MaxDamage = 41", 3}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.maxDamage);
    Armed weapons;
    TestWorld t(ObjectLines({"Target"}),
                std::string("[Target]\nMesh = House\nClass = Structure\nPos = 1000 980 30\n") + c.maxDamage + "\n");
    t.Settle();
    t.Hover(30);
    t.chopper->AddWeapon(weapons.gun.get());
    SceneObject* target = t.Object(u"Target");
    for (int shot = 1; shot <= c.shotsToDestroy; ++shot) {
      EXPECT_EQ(target->alive, 1);
      t.chopper->Fire();
      t.Run(1);
    }
    EXPECT_EQ(target->alive, 0);
    EXPECT_EQ(target->damage, target->maxDamage);
    EXPECT_EQ(t.LastMessage(), u"Target destroyed");
    ASSERT_EQ(t.world->effects->groups().Count(), 1);
    EXPECT_EQ(static_cast<const Emitter*>(t.world->effects->groups()[0])->anchor, &target->world);
    // A wreck is never hit again: the next shot flies through.
    t.chopper->Fire();
    t.Run(1);
    EXPECT_EQ(t.world->effects->groups().Count(), 1);
  }
}

TEST(GameWorldShots, RangeOutAndGroundStrikesVanishSilently) {
  Armed weapons;
  TestWorld t("", "");
  // Low over flat ground: the 5-degree dip puts the bullet into the ground 2 m below within
  // 23 m, in the first tick of 33 m.
  t.Hover(2);
  t.chopper->AddWeapon(weapons.gun.get());
  t.chopper->Fire();
  const uint16_t messages = t.queue.entries.Count();
  t.Run(1);
  EXPECT_EQ(t.world->projectiles.Count(), 0);
  EXPECT_EQ(t.queue.entries.Count(), messages);

  // High up, a 300 m gun runs out after its tenth tick of 33 m (distance 330 > 300).
  t.Hover(90);
  t.chopper->Fire();
  t.Run(9);
  EXPECT_EQ(t.world->projectiles.Count(), 1);
  t.Run(1);
  EXPECT_EQ(t.world->projectiles.Count(), 0);
}

TEST(GameWorldTearDown, DeletesEverythingMidFlight) {
  // Shots with trails, a smoking wreck and particles in the air when the world goes; the
  // sanitizer build reports anything left behind.
  Armed weapons;
  auto t = std::make_unique<TestWorld>(ObjectLines({"Target"}),
                                       "[Target]\nMesh = House\nClass = Structure\nPos = 1000 980 30\nMaxDamage = 0\n");
  t->Settle();
  t->Hover(30);
  t->chopper->AddWeapon(weapons.gun.get());
  t->chopper->AddWeapon(weapons.rockets.get());
  t->chopper->Fire();
  t->Run(1);
  t->chopper->SelectWeapon(1);
  t->chopper->Fire();
  t->chopper->Fire();
  t->Run(15);
  EXPECT_EQ(t->world->projectiles.Count(), 2);
  EXPECT_GT(t->world->effects->ParticleCount(), 0u);
  t.reset();
}

TEST(GameWorldHandOver, ReleasedMissionAndChopperOutliveTheWorld) {
  auto t = std::make_unique<TestWorld>("", "");
  MissionInstance* mission = t->world->mission;
  Chopper* chopper = t->chopper;
  t->world->ReleaseMissionAndChopper();
  EXPECT_EQ(chopper->world, nullptr);
  t->world->Update(33, kDt33, true, true);  // nothing left to play: no harm
  t.reset();
  EXPECT_TRUE(mission->IsComplete());
  delete mission;
  delete chopper;
}

}  // namespace

namespace {

TEST(WorldReport, StateLineGivesTheChopperGoalsAndMessagesInReadableUnits) {
  Armed weapons;
  TestWorld t(ObjectLines({"Depot"}) + "Goal = Destroy Depot 90\nGoal = Rescue \"Nobody\"\n",
              "[Depot]\nMesh = House\nPos = 500 500 0\n");
  t.chopper->AddWeapon(weapons.rockets.get());
  t.Run(1);
  const std::string json = DescribeWorld(*t.world, &t.queue);
  EXPECT_EQ(json.rfind("\"chopper\":{\"pos\":[1000.00,10.00,1000.00],\"heading\":180,\"speed\":0,", 0), 0u) << json;
  EXPECT_NE(json.find("\"onGround\":1,\"engineRunning\":1,\"crashed\":0,\"passengers\":0,\"weapon\":\"Rockets\",\"shots\":4}"),
            std::string::npos)
      << json;
  EXPECT_NE(json.find("\"goals\":[{\"type\":\"Destroy\",\"object\":\"Depot\",\"status\":\"pending\",\"timeLeft\":89967},"
                      "{\"type\":\"Rescue\",\"object\":\"Nobody\",\"status\":\"achieved\",\"timeLeft\":0}]"),
            std::string::npos)
      << json;
  EXPECT_NE(json.find("\"messages\":[\"Cleared for takeoff\"],\"missionOver\":0"), std::string::npos) << json;
}

}  // namespace
