// The placed objects of core.bin's missions, read from the missions' own list files: every goal
// and every "Parent" names an object that the game will have created by then, every object's
// mesh is one the mission loads, and nothing solid stands where the helicopter starts.
#include <cmath>

#include "core_pack_support.h"

using namespace core_pack;

namespace {

const IniKey* KeyWith(const IniSection& section, const char16_t* name, uint16_t values) {
  const IniKey* key = section.FindKey(name);
  return key != nullptr && key->values.Count() >= values ? key : nullptr;
}

bool Contains(const PtrArray<char16_t*>& names, const char16_t* name) {
  for (const char16_t* n : names) {
    if (EqualsNoCase(n, name)) return true;
  }
  return false;
}

// The bounding radius of a mesh's finest level, metres; 0 when it cannot be read.
float MeshRadius(const char16_t* meshName) {
  IniDocument meshes;
  ReadIni(CorePack(), u"meshes.ini", meshes);
  const IniSection* section = meshes.FindSection(meshName);
  const IniKey* level = section != nullptr ? KeyWith(*section, u"Mesh 0", 2) : nullptr;
  if (level == nullptr) return 0;
  const std::vector<uint8_t> file = ReadEntry(CorePack(), level->values[1]->text);
  return file.size() >= 8 ? (file[6] | (file[7] & 0x7F) << 8) / 32.0f : 0;
}

}  // namespace

TEST(CoreMissions, GoalsAndParentsNameObjectsThatExistInTime) {
  for (const MissionDef* mission : Registry().missions) {
    SCOPED_TRACE(Text(mission->name));
    IniDocument file;
    ReadIni(mission->pack, mission->listFile, file);
    ASSERT_FALSE(file.sections.Empty());
    for (uint16_t i = 0; i < mission->objectNames.Count(); ++i) {
      const char16_t* name = mission->objectNames[i];
      const IniSection* object = file.FindSection(name);
      ASSERT_NE(object, nullptr) << "no section for " << Text(name);
      const IniKey* mesh = KeyWith(*object, u"Mesh", 1);
      ASSERT_NE(mesh, nullptr) << Text(name);
      EXPECT_TRUE(Contains(mission->meshNames, mesh->values[0]->text)) << Text(name) << " uses a mesh not loaded";
      if (const IniKey* parent = KeyWith(*object, u"Parent", 1)) {
        // Objects are made in list order: the parent must come earlier.
        bool earlier = false;
        for (uint16_t j = 0; j < i; ++j) earlier |= EqualsNoCase(mission->objectNames[j], parent->values[0]->text);
        EXPECT_TRUE(earlier) << Text(name) << "'s parent " << Text(parent->values[0]->text);
      }
    }
    for (const GoalDef* goal : mission->goals) {
      ASSERT_TRUE(Contains(mission->objectNames, goal->objectName)) << Text(goal->objectName);
      // Goals find their object among the objects without a parent only.
      const IniSection* object = file.FindSection(goal->objectName);
      ASSERT_NE(object, nullptr);
      EXPECT_EQ(object->FindKey(u"Parent"), nullptr) << Text(goal->objectName) << " has a parent";
    }
  }
}

TEST(CoreMissions, NothingSolidStandsOnTheHelipad) {
  for (const MissionDef* mission : Registry().missions) {
    SCOPED_TRACE(Text(mission->name));
    IniDocument file;
    ReadIni(mission->pack, mission->listFile, file);
    const float padX = mission->helipad.x / 65536.0f, padZ = mission->helipad.z / 65536.0f;
    for (const char16_t* name : mission->objectNames) {
      const IniSection* object = file.FindSection(name);
      ASSERT_NE(object, nullptr);
      if (object->FindKey(u"Parent") != nullptr) continue;  // only objects without a parent are touched
      const IniKey* classKey = KeyWith(*object, u"Class", 1);
      const bool solid = classKey == nullptr || classKey->values[0]->Equals(u"Helicopter") ||
                         classKey->values[0]->Equals(u"Vehicle") || classKey->values[0]->Equals(u"Structure");
      const IniKey* pos = KeyWith(*object, u"Pos", 3);
      const IniKey* mesh = KeyWith(*object, u"Mesh", 1);
      ASSERT_NE(pos, nullptr) << Text(name);
      ASSERT_NE(mesh, nullptr) << Text(name);
      const float x = static_cast<float>(pos->values[0]->ToInt()), z = static_cast<float>(pos->values[1]->ToInt());
      EXPECT_LT(x, 2048.0f) << Text(name);
      EXPECT_LT(z, 2048.0f) << Text(name);
      if (!solid) continue;
      // A solid object crashes a helicopter inside a box of 0.75 x its mesh radius; keep 5 m more.
      const float reach = 0.75f * MeshRadius(mesh->values[0]->text) + 5;
      EXPECT_TRUE(std::fabs(x - padX) > reach || std::fabs(z - padZ) > reach) << Text(name) << " blocks the start";
    }
  }
}

TEST(CoreMissions, ObjectsUseParentsHitpointsFuelAndPeople) {
  int parents = 0, hitpoints = 0, fuel = 0, people = 0;
  for (const MissionDef* mission : Registry().missions) {
    IniDocument file;
    ReadIni(mission->pack, mission->listFile, file);
    for (const char16_t* name : mission->objectNames) {
      const IniSection* object = file.FindSection(name);
      if (object == nullptr) continue;
      if (object->FindKey(u"Parent") != nullptr) ++parents;
      for (const IniKey* key : object->keys) {
        if (EqualsNoCase(key->name, u"Hitpoint") && key->values.Count() >= 5) ++hitpoints;
      }
      if (const IniKey* c = KeyWith(*object, u"Class", 1)) {
        if (c->values[0]->Equals(u"Fuel")) ++fuel;
        if (c->values[0]->Equals(u"Human") && object->FindKey(u"Parent") == nullptr) ++people;
      }
    }
  }
  EXPECT_GT(parents, 0);
  EXPECT_GT(hitpoints, 0);
  EXPECT_GT(fuel, 0);
  EXPECT_GT(people, 0);
}
