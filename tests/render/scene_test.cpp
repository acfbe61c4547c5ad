#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "content/scene_object.h"
#include "core/wide_string.h"
#include "mesh_shapes.h"
#include "render_test_support.h"

namespace {

using render_test::ParseIni;
using render_test::TestPack;

constexpr fixed kBoxRadius = IntToFixed(2);
constexpr fixed kSmallRadius = kFixedHalf;

// A mission scene with two meshes of known radius: "Box" (2.0) and "Small" (0.5).
class SceneTest : public testing::Test {
 protected:
  SceneTest()
      : pack_({{"box.msh", mesh_shapes::MeshFileBytes(mesh_shapes::Cube(1.0), 2.0)},
               {"small.msh", mesh_shapes::MeshFileBytes(mesh_shapes::Cube(0.25), 0.5)}}) {
    const auto meshes = ParseIni("[Box]\nMesh 0 = 16 box.msh\n[Small]\nMesh 0 = 16 small.msh\n");
    for (const IniSection* section : meshes->sections) scene.meshes.LoadMesh(&pack_.pack, *section);
  }

  // The objects of every section of `ini`, in order (null where none was made).
  std::vector<SceneObject*> CreateAll(const std::string& ini) {
    const auto document = ParseIni(ini);
    std::vector<SceneObject*> made;
    for (const IniSection* section : document->sections) made.push_back(CreateSceneObject(scene, *section));
    return made;
  }
  SceneObject* Create(const std::string& body) { return CreateAll("[Object]\n" + body)[0]; }

  TestPack pack_;
  MissionScene scene;
};

Vector3 Position(const SceneNode& node) { return node.world.GetTranslation(); }
Vector3 Metres(int32_t x, int32_t y, int32_t z) { return Vector3(IntToFixed(x), IntToFixed(y), IntToFixed(z)); }

TEST_F(SceneTest, AnObjectWithOnlyAMeshHasTheDefaults) {
  SceneObject* object = Create("Mesh = box\n");
  ASSERT_NE(object, nullptr);
  EXPECT_EQ(std::u16string(object->name), u"Object");
  EXPECT_EQ(object->mesh, scene.meshes.FindMesh(u"Box"));
  EXPECT_EQ(object->radius, kBoxRadius);
  EXPECT_EQ(object->local, Matrix34());
  EXPECT_EQ(object->world, Matrix34());
  EXPECT_EQ(object->maxSpeed, 910200);
  EXPECT_EQ(object->range, 0);
  EXPECT_EQ(object->heightAboveGround, 0);
  EXPECT_EQ(object->damage, 0);
  EXPECT_EQ(object->maxDamage, 100);
  EXPECT_EQ(object->objectClass, ClassStructure);
  EXPECT_EQ(object->target, ObjectTargetOther);
  EXPECT_EQ(object->role, RoleOther);
  EXPECT_EQ(object->weapon, ObjectWeaponOther);
  EXPECT_EQ(object->attitude, AttitudeOther);
  EXPECT_EQ(object->alive, 1);
  EXPECT_EQ(object->active, 1);
  EXPECT_EQ(object->hitpoints, nullptr);
  EXPECT_EQ(scene.roots.Count(), 1);
}

TEST_F(SceneTest, NumbersAreConvertedToTheirUnits) {
  SceneObject* object = Create("Mesh = box\nMaxDamage = 250\nMaxSpeed = 100\nRange = 300\n");
  ASSERT_NE(object, nullptr);
  EXPECT_EQ(object->maxDamage, 250);
  EXPECT_EQ(object->maxSpeed, 100 * 18204);
  EXPECT_EQ(object->range, IntToFixed(300));
}

TEST_F(SceneTest, WordsAreCodedIgnoringCaseAndOtherWordsGetTheLastCode) {
  const struct {
    const char* line;
    uint32_t SceneObject::*field;
    uint32_t code;
  } cases[] = {
      {"Class = helicopter", &SceneObject::objectClass, ClassHelicopter},
      {"Class = VEHICLE", &SceneObject::objectClass, ClassVehicle},
      {"Class = Fuel", &SceneObject::objectClass, ClassFuel},
      {"Class = Human", &SceneObject::objectClass, ClassHuman},
      {"Class = tank", &SceneObject::objectClass, ClassOther},
      {"Role = enemy", &SceneObject::role, RoleEnemy},
      {"Role = Friend", &SceneObject::role, RoleFriend},
      {"Role = Neutral", &SceneObject::role, RoleOther},
      {"Target = air", &SceneObject::target, ObjectTargetAir},
      {"Target = Ground", &SceneObject::target, ObjectTargetGround},
      {"Target = ALL", &SceneObject::target, ObjectTargetAll},
      {"Target = Sea", &SceneObject::target, ObjectTargetOther},
      {"Weapon = machinegun", &SceneObject::weapon, ObjectWeaponMachinegun},
      {"Weapon = Cannon", &SceneObject::weapon, ObjectWeaponCannon},
      {"Weapon = Rocket", &SceneObject::weapon, ObjectWeaponRocket},
      {"Weapon = guidedrocket", &SceneObject::weapon, ObjectWeaponGuidedRocket},
      {"Weapon = Radar", &SceneObject::weapon, ObjectWeaponRadar},
      {"Weapon = Missile", &SceneObject::weapon, ObjectWeaponOther},
      // The content's own spelling is the word; the dictionary spelling is just another word.
      {"Attitude = aggresive", &SceneObject::attitude, AttitudeAggressive},
      {"Attitude = Aggressive", &SceneObject::attitude, AttitudeOther},
      {"Attitude = Defensive", &SceneObject::attitude, AttitudeDefensive},
  };
  for (const auto& c : cases) {
    SceneObject* object = Create(std::string("Mesh = box\n") + c.line + "\n");
    ASSERT_NE(object, nullptr) << c.line;
    EXPECT_EQ(object->*c.field, c.code) << c.line;
  }
}

TEST_F(SceneTest, PositionsAreReadAsXZYAndPosX2Doubles) {
  const struct {
    const char* keys;
    Vector3 position;
    fixed heightAboveGround;
  } cases[] = {
      {"Pos = 10 20 3", Metres(10, 3, 20), IntToFixed(3)},
      {"PosX2 = 10 20 3", Metres(20, 6, 40), IntToFixed(6)},
      {"PosX2 = 10 20 3\nPos = 1 2 3", Metres(20, 6, 40), IntToFixed(6)},  // PosX2 wins, wherever it is
      {"Pos = 10 20", Vector3(), 0},                                       // too few values: skipped
  };
  for (const auto& c : cases) {
    SceneObject* object = Create(std::string("Mesh = box\n") + c.keys + "\n");
    ASSERT_NE(object, nullptr) << c.keys;
    EXPECT_EQ(Position(*object), c.position) << c.keys;
    EXPECT_EQ(object->heightAboveGround, c.heightAboveGround) << c.keys;
  }
}

TEST_F(SceneTest, YawPitchRollTurnsTheObjectAndKeepsItsPosition) {
  SceneObject* object = Create("Mesh = box\nPos = 10 20 3\nYawPitchRoll = 90\n");
  ASSERT_NE(object, nullptr);
  Matrix34 expected;
  expected.FromYawPitchRoll(16384, 0, 0);
  expected.SetTranslation(Metres(10, 3, 20));
  EXPECT_EQ(object->local, expected);
  // A quarter turn about the vertical axis takes the object's forward (z) to world x.
  EXPECT_EQ(object->world.RotateVector(Vector3(0, 0, kFixedOne)), Vector3(kFixedOne, 0, 0));

  SceneObject* tilted = Create("Mesh = box\nYawPitchRoll = 0 45 180\n");
  ASSERT_NE(tilted, nullptr);
  Matrix34 all;
  all.FromYawPitchRoll(0, AngleFromDegrees(45), AngleFromDegrees(180));
  EXPECT_EQ(tilted->local, all);
}

TEST_F(SceneTest, WithoutAKnownMeshNoObjectIsMade) {
  EXPECT_EQ(Create("Pos = 1 2 3\n"), nullptr);
  EXPECT_EQ(Create("Mesh = Tank\n"), nullptr);
  EXPECT_EQ(Create("Mesh = \"\"\n"), nullptr);
  EXPECT_TRUE(scene.nodes.Empty());
  EXPECT_TRUE(scene.roots.Empty());
}

TEST_F(SceneTest, AChildIsPlacedInItsParentsFrameAndIsNoRoot) {
  const auto made = CreateAll(
      "[Base]\nMesh = box\nPos = 100 200 0\nYawPitchRoll = 90\n"
      "[Gun]\nMesh = small\nParent = BASE\nPos = 1 0 0\n");
  ASSERT_NE(made[0], nullptr);
  ASSERT_NE(made[1], nullptr);
  SceneObject& base = *made[0];
  SceneObject& gun = *made[1];
  EXPECT_EQ(gun.parent, &base);
  EXPECT_EQ(base.firstChild, &gun);
  // The base's quarter turn takes the gun's local x (1 m) to world -z.
  EXPECT_EQ(Position(gun), Metres(100, 0, 199));
  EXPECT_EQ(gun.local.GetTranslation(), Metres(1, 0, 0));
  EXPECT_EQ(scene.nodes.Count(), 2);
  EXPECT_EQ(scene.roots.Count(), 1);
  EXPECT_EQ(scene.FindNode(u"gun"), &gun);
  EXPECT_EQ(scene.FindRoot(u"gun"), nullptr);
  EXPECT_EQ(scene.FindRoot(u"base"), &base);
}

TEST_F(SceneTest, AParentMustComeEarlierAndHaveBeenMade) {
  const auto made = CreateAll(
      "[Early]\nMesh = box\nParent = Late\n"
      "[Late]\nMesh = box\n"
      "[Broken]\nMesh = Tank\n"
      "[Orphan]\nMesh = box\nParent = Broken\n"
      "[Self]\nMesh = box\nParent = Self\n");
  for (size_t i : {0u, 1u, 3u, 4u}) {
    ASSERT_NE(made[i], nullptr) << i;
    EXPECT_EQ(made[i]->parent, nullptr) << i;
    EXPECT_EQ(made[i]->firstChild, nullptr) << i;
  }
  EXPECT_EQ(made[2], nullptr);
  EXPECT_EQ(scene.roots.Count(), 4);
}

TEST_F(SceneTest, TheFirstNodeOfANameWins) {
  const auto made = CreateAll("[Twin]\nMesh = box\n[twin]\nMesh = small\n[Child]\nMesh = small\nParent = TWIN\n");
  EXPECT_EQ(scene.FindNode(u"TWIN"), made[0]);
  EXPECT_EQ(made[2]->parent, made[0]);
}

TEST_F(SceneTest, RadiusCoversTheChildrenAsTheyWereWhenAdded) {
  // "Parent" is read before "Pos", so the child's offset is not yet known when the parent's
  // radius grows; only the child's own radius counts.
  const auto made = CreateAll("[Base]\nMesh = small\n[Child]\nMesh = box\nParent = Base\nPos = 10 0 0\n");
  EXPECT_EQ(made[0]->radius, kBoxRadius);

  // Adding or removing a child measures every child again, with the offsets they have now.
  SceneObject* far = Create("Mesh = small\nPos = 3 4 0\n");
  made[0]->AddChild(far);
  EXPECT_EQ(made[0]->radius, IntToFixed(12));  // |(10, 0, 0)| + 2.0 beats |(3, 0, 4)| + 0.5
  made[0]->RemoveChild(far);
  EXPECT_EQ(made[0]->radius, IntToFixed(12));
  EXPECT_EQ(far->parent, nullptr);
  EXPECT_EQ(Position(*far), Metres(3, 0, 4));
  EXPECT_EQ(scene.FindRoot(far->name), far);
}

TEST_F(SceneTest, SetLocalMovesTheWholeSubtreeAndItsHitpoints) {
  const auto made = CreateAll(
      "[A]\nMesh = box\n"
      "[B]\nMesh = box\nParent = A\nPos = 0 10 0\n"
      "[C]\nMesh = box\nParent = B\nPos = 0 1 0\nHitpoint = 0 2 0 7 8\n");
  SceneObject& a = *made[0];
  SceneObject& c = *made[2];
  EXPECT_EQ(Position(c), Metres(0, 0, 11));
  ASSERT_NE(c.hitpoints, nullptr);
  EXPECT_EQ(c.hitpoints->worldPos, Metres(0, 2, 11));

  Matrix34 moved;
  moved.SetTranslation(Metres(5, 1, 0));
  a.SetLocal(moved);
  EXPECT_EQ(Position(c), Metres(5, 1, 11));
  EXPECT_EQ(c.hitpoints->worldPos, Metres(5, 3, 11));
}

TEST_F(SceneTest, EveryHitpointKeyWithFiveValuesAddsOneInFront) {
  SceneObject* object =
      Create("Mesh = box\nPos = 1 2 3\nHitpoint = 1 2 3 10 20\nHitpoint = 4 5 6\nHitpoint = 7 8 9 30 40\n");
  ASSERT_NE(object, nullptr);
  const Hitpoint* first = object->hitpoints;
  ASSERT_NE(first, nullptr);
  const Hitpoint* second = first->next;
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->next, nullptr);
  EXPECT_EQ(first->localPos, Metres(7, 8, 9));  // no swap of y and z here
  EXPECT_EQ(first->value1, 30u);
  EXPECT_EQ(first->value2, 40u);
  EXPECT_EQ(first->worldPos, Metres(8, 11, 11));  // the object stands at (1, 3, 2)
  EXPECT_EQ(second->localPos, Metres(1, 2, 3));
  EXPECT_EQ(second->value1, 10u);

  Hitpoint* removed = object->hitpoints;
  object->RemoveHitpoint(removed);
  EXPECT_EQ(object->hitpoints, second);
  delete removed;
}

TEST_F(SceneTest, DeletingANodeTakesItsSubtreeAndLeavesItsParent) {
  const auto made = CreateAll(
      "[Root]\nMesh = small\n[Child]\nMesh = box\nParent = Root\n[Grandchild]\nMesh = box\nParent = Child\n"
      "[Other]\nMesh = box\n");
  EXPECT_EQ(scene.nodes.Count(), 4);
  EXPECT_EQ(made[0]->radius, kBoxRadius);

  delete made[1];  // the child and its own child go; the root stays, with its own radius again
  EXPECT_EQ(made[0]->firstChild, nullptr);
  EXPECT_EQ(made[0]->radius, kSmallRadius);
  EXPECT_EQ(scene.nodes.Count(), 2);
  EXPECT_EQ(scene.roots.Count(), 2);
  EXPECT_EQ(scene.FindNode(u"Grandchild"), nullptr);

  delete made[0];
  EXPECT_EQ(scene.nodes.Count(), 1);
  ASSERT_EQ(scene.roots.Count(), 1);
  EXPECT_EQ(scene.roots[0], made[3]);
}

TEST(MissionScene, TearsDownObjectsBeforeTheMeshesTheyPointTo) {
  // Deleting a child makes its parent measure its mesh again: with the library gone first this
  // would read freed memory (the sanitizer build watches it).
  TestPack pack({{"box.msh", mesh_shapes::MeshFileBytes(mesh_shapes::Cube(1.0), 2.0)}});
  auto* scene = new MissionScene;
  const auto meshes = ParseIni("[Box]\nMesh 0 = 16 box.msh\n");
  ASSERT_NE(scene->meshes.LoadMesh(&pack.pack, *meshes->sections[0]), nullptr);
  const auto objects = ParseIni("[A]\nMesh = box\n[B]\nMesh = box\nParent = A\n[C]\nMesh = box\nParent = B\n");
  for (const IniSection* section : objects->sections) ASSERT_NE(CreateSceneObject(*scene, *section), nullptr);
  EXPECT_EQ(scene->nodes.Count(), 3);
  SceneGraph* base = scene;
  delete base;  // through the base class, as the game holds it
}

TEST_F(SceneTest, SetGroundKeepsObjectsOnTheTerrainByClass) {
  const struct {
    const char* className;
    fixed groundHeight;
    fixed y;                  // afterwards
    fixed heightAboveGround;  // afterwards
  } cases[] = {
      {"Vehicle", IntToFixed(40), IntToFixed(43), IntToFixed(3)},
      {"Structure", IntToFixed(40), IntToFixed(43), IntToFixed(3)},
      {"Fuel", IntToFixed(-2), IntToFixed(1), IntToFixed(3)},
      {"Human", IntToFixed(40), IntToFixed(43), IntToFixed(3)},
      {"Helicopter", IntToFixed(40), IntToFixed(3), IntToFixed(-37)},  // stays; remembers its height
      {"Tank", IntToFixed(40), IntToFixed(3), IntToFixed(3)},          // other classes: nothing
  };
  for (const auto& c : cases) {
    const std::string name = c.className;
    const auto made = CreateAll("[" + name + "]\nMesh = box\nPos = 10 20 3\nClass = " + name + "\n[" + name +
                                " rider]\nMesh = small\nParent = " + name + "\nPos = 0 0 1\n");
    SceneObject& object = *made[0];
    object.SetGround(c.groundHeight);
    EXPECT_EQ(object.groundHeight, c.groundHeight) << c.className;
    EXPECT_EQ(Position(object), Vector3(IntToFixed(10), c.y, IntToFixed(20))) << c.className;
    EXPECT_EQ(object.heightAboveGround, c.heightAboveGround) << c.className;
    EXPECT_EQ(Position(*made[1]).y, c.y + kFixedOne) << c.className;  // the child follows
  }
}

}  // namespace
