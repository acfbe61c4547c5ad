#include <gtest/gtest.h>

#include <string>

#include "content/chopper_def.h"
#include "content/ini.h"
#include "content/mission_def.h"
#include "content/weapon_def.h"

namespace {

// Parses `body` as the section [Test] and hands it to `record`.
template <typename Record>
void Read(Record& record, const std::string& body) {
  const std::string text = "[Test]\n" + body;
  IniDocument document;
  document.LoadFromBuffer(reinterpret_cast<const uint8_t*>(text.data()), static_cast<uint32_t>(text.size()));
  ASSERT_NE(document.FindSection(u"Test"), nullptr);
  record.ReadSection(*document.FindSection(u"Test"));
}

std::u16string Text(const char16_t* text) { return text != nullptr ? text : u"(null)"; }

TEST(ChopperDef, EmptySectionKeepsTheDefaults) {
  ChopperDef chopper(nullptr);
  Read(chopper, "");
  EXPECT_EQ(std::u16string(chopper.name), u"Test");
  EXPECT_EQ(chopper.forwardSpeed[0], 3640800);
  EXPECT_EQ(chopper.forwardSpeed[1], 3094680);
  EXPECT_EQ(chopper.turnRate[0], 7281);
  EXPECT_EQ(chopper.turnRate[1], 5461);
  EXPECT_EQ(chopper.fuelUse[0], 65536);
  EXPECT_EQ(chopper.fuelUse[1], 78643);
  EXPECT_EQ(chopper.fuelCapacity, IntToFixed(180));
  EXPECT_EQ(chopper.payload, 1000);
  EXPECT_TRUE(chopper.hasMachineGun);
  EXPECT_FALSE(chopper.hasRadar);
  EXPECT_EQ(chopper.splashPicture, nullptr);
}

TEST(ChopperDef, ConvertsEveryKey) {
  ChopperDef chopper(nullptr);
  Read(chopper,
       "Forward = 180 150\nReverse = 36 18\nStrafe = 72 36\nClimbRate = 12 9\nTurnRate = 90 45\n"
       "Acceleration = 25 5\nRange = 200 100\nPayload = 1500\nDamage = 90\nPassengers = 6\nPylons = 4\n"
       "MachineGun = false\nRadar = True\nResource Splash = splash.jpg\nResource Title = t.jpg tm.jpg\n"
       "Resource Weapon = w.jpg\n");
  EXPECT_EQ(chopper.forwardSpeed[0], 3276720);
  EXPECT_EQ(chopper.forwardSpeed[1], 2730600);
  EXPECT_EQ(chopper.reverseSpeed[0], 36 * 18204);
  EXPECT_EQ(chopper.strafeSpeed[1], 36 * 18204);
  EXPECT_EQ(chopper.climbRate[0], IntToFixed(12));
  EXPECT_EQ(chopper.turnRate[0], 16384);
  EXPECT_EQ(chopper.turnRate[1], 8192);
  EXPECT_EQ(chopper.acceleration[1], IntToFixed(5));
  EXPECT_EQ(chopper.fuelCapacity, IntToFixed(200));
  EXPECT_EQ(chopper.fuelUse[0], IntToFixed(1));
  EXPECT_EQ(chopper.fuelUse[1], IntToFixed(2));
  EXPECT_EQ(chopper.payload, 1500);
  EXPECT_EQ(chopper.damage, 90);
  EXPECT_EQ(chopper.passengers, 6);
  EXPECT_EQ(chopper.pylons, 4);
  EXPECT_FALSE(chopper.hasMachineGun);
  EXPECT_TRUE(chopper.hasRadar);
  EXPECT_EQ(Text(chopper.splashPicture), u"splash.jpg");
  EXPECT_EQ(Text(chopper.titlePicture), u"t.jpg");
  EXPECT_EQ(Text(chopper.titleMask), u"tm.jpg");
  EXPECT_EQ(Text(chopper.weaponPicture), u"w.jpg");
}

TEST(ChopperDef, KeysWithTooFewValuesAreIgnoredWhole) {
  ChopperDef chopper(nullptr);
  Read(chopper, "Forward = 180\nTurnRate = 40 40\nResource Title = only.jpg\n");
  EXPECT_EQ(chopper.forwardSpeed[0], 3640800);
  EXPECT_EQ(chopper.forwardSpeed[1], 3094680);
  EXPECT_EQ(chopper.turnRate[0], 7281);  // 7281.78 truncated
  EXPECT_EQ(chopper.titlePicture, nullptr);
  EXPECT_EQ(chopper.titleMask, nullptr);
}

TEST(ChopperDef, ZeroRangeCountsAsOne) {
  ChopperDef chopper(nullptr);
  Read(chopper, "Range = 0 0\n");
  EXPECT_EQ(chopper.range[0], 1);
  EXPECT_EQ(chopper.fuelCapacity, IntToFixed(1));
  EXPECT_EQ(chopper.fuelUse[1], IntToFixed(1));

  ChopperDef loadedOnly(nullptr);
  Read(loadedOnly, "Range = 120 0\n");
  EXPECT_EQ(loadedOnly.fuelUse[1], IntToFixed(120));
}

TEST(WeaponDef, EmptySectionKeepsTheDefaults) {
  WeaponDef weapon(nullptr);
  Read(weapon, "");
  EXPECT_EQ(weapon.weaponType, WeaponOther);
  EXPECT_EQ(weapon.payload, 20);
  EXPECT_EQ(weapon.range, 32768000);
  EXPECT_EQ(weapon.speed, 65536000);
  EXPECT_EQ(weapon.noOfItems, 1);
}

TEST(WeaponDef, WordsAreMatchedIgnoringCase) {
  const struct {
    const char* line;
    uint32_t type, target, guidance;
  } cases[] = {
      {"Type = rocket", WeaponRocket, TargetAny, GuidanceNone},
      {"Type = MACHINEGUN", WeaponMachineGun, TargetAny, GuidanceNone},
      {"Type = Cannon", WeaponOther, TargetAny, GuidanceNone},
      {"Target = air\nGuidance = heat", WeaponOther, TargetAir, GuidanceHeat},
      {"Target = Ground\nGuidance = Radar", WeaponOther, TargetGround, GuidanceRadar},
      {"Target = Sea\nGuidance = Laser", WeaponOther, TargetAny, GuidanceNone},
  };
  for (const auto& c : cases) {
    WeaponDef weapon(nullptr);
    Read(weapon, std::string(c.line) + "\n");
    EXPECT_EQ(weapon.weaponType, c.type) << c.line;
    EXPECT_EQ(weapon.targetKind, c.target) << c.line;
    EXPECT_EQ(weapon.guidance, c.guidance) << c.line;
  }
}

TEST(WeaponDef, NumbersAndPictures) {
  WeaponDef weapon(nullptr);
  Read(weapon,
       "Weight = 120\nPayload = 80\nRange = 1500\nSpeed = 200\nAccuracy = 3\nNoOfItems = 19\n"
       "Resource Splash = s.jpg\nResource Title = t.jpg m.jpg\nResource Pylon = p1.jpg\n");
  EXPECT_EQ(weapon.weight, 120);
  EXPECT_EQ(weapon.payload, 80);
  EXPECT_EQ(weapon.range, IntToFixed(1500));
  EXPECT_EQ(weapon.speed, 3640800);
  EXPECT_EQ(weapon.accuracy, 3);
  EXPECT_EQ(weapon.noOfItems, 19);
  EXPECT_EQ(Text(weapon.splashPicture), u"s.jpg");
  EXPECT_EQ(Text(weapon.titleMask), u"m.jpg");
  EXPECT_EQ(weapon.pylonPicture1, nullptr);  // one value for a pair: ignored
  EXPECT_EQ(weapon.pylonPicture2, nullptr);
}

TEST(WeaponDef, MachineGunDropsThePictures) {
  WeaponDef weapon(nullptr);
  Read(weapon, "Type = Rocket\nGuidance = Heat\nWeight = 50\nResource Splash = s.jpg\n");
  weapon.SetMachineGun(u"MachineGun", 20, IntToFixed(300), IntToFixed(4000), 1);
  EXPECT_EQ(std::u16string(weapon.name), u"MachineGun");
  EXPECT_EQ(weapon.weaponType, WeaponMachineGun);
  EXPECT_EQ(weapon.guidance, GuidanceNone);
  EXPECT_EQ(weapon.weight, 0);
  EXPECT_EQ(weapon.range, 19660800);
  EXPECT_EQ(weapon.speed, 262144000);
  EXPECT_EQ(weapon.splashPicture, nullptr);
  // No pack and no pictures: nothing to load.
  EXPECT_EQ(weapon.LoadSplash(), nullptr);
  EXPECT_EQ(weapon.LoadTitle(), nullptr);
  EXPECT_EQ(weapon.LoadPylon1(), nullptr);
}

TEST(MissionDef, ReadsTextsStartAndFiles) {
  MissionDef mission(nullptr, u"missions.ini");
  Read(mission,
       "Description = \"Destroy the radar before dawn\"\nHint = \"Fly low\"\nHelipad = 100 250\n"
       "Resource SplashScreen = m1.jpg\nResource VoxelHeight = isl.hgt\nResource VoxelTexture = isl.tex\n"
       "Resource SkyBackdrop = sky.jpg\n");
  EXPECT_EQ(Text(mission.description), u"Destroy the radar before dawn");
  EXPECT_EQ(Text(mission.hint), u"Fly low");
  EXPECT_EQ(mission.helipad, Vector3(IntToFixed(100), 0, IntToFixed(250)));
  EXPECT_EQ(Text(mission.listFile), u"missions.ini");
  EXPECT_EQ(Text(mission.splashScreen), u"m1.jpg");
  EXPECT_EQ(Text(mission.voxelHeight), u"isl.hgt");
  EXPECT_EQ(Text(mission.voxelTexture), u"isl.tex");
  EXPECT_EQ(Text(mission.skyBackdrop), u"sky.jpg");
  EXPECT_TRUE(mission.objectNames.Empty());
}

TEST(MissionDef, GoalsMeshesAndObjectsAddUp) {
  MissionDef mission(nullptr, u"m.ini");
  Read(mission,
       "Goal = Rescue Pilot 120\nGoal = destroy Bridge\nGoal = Escort Convoy\nGoal = KeepAlive\n"
       "Goal = KEEPALIVE Depot 30\nMesh = a b\nObject = Tank1\nMesh = c\nObject = Bridge Pilot\n");
  ASSERT_EQ(mission.goals.Count(), 3);
  EXPECT_EQ(mission.goals[0]->goalType, GoalRescue);
  EXPECT_EQ(Text(mission.goals[0]->objectName), u"Pilot");
  EXPECT_EQ(mission.goals[0]->timeLimit, 120000u);
  EXPECT_EQ(mission.goals[1]->goalType, GoalDestroy);
  EXPECT_EQ(Text(mission.goals[1]->objectName), u"Bridge");
  EXPECT_EQ(mission.goals[1]->timeLimit, 0u);
  EXPECT_EQ(mission.goals[2]->goalType, GoalKeepAlive);
  EXPECT_EQ(mission.goals[2]->timeLimit, 30000u);
  ASSERT_EQ(mission.meshNames.Count(), 3);
  EXPECT_EQ(Text(mission.meshNames[0]), u"a");
  EXPECT_EQ(Text(mission.meshNames[1]), u"b");
  EXPECT_EQ(Text(mission.meshNames[2]), u"c");
  ASSERT_EQ(mission.objectNames.Count(), 3);
  EXPECT_EQ(Text(mission.objectNames[2]), u"Pilot");
}

}  // namespace
