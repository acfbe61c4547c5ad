#include "content/mission_def.h"

#include "content/definition_reading.h"
#include "core/wide_string.h"

GoalDef::~GoalDef() { FreeString(&objectName); }

MissionDef::MissionDef(const ContentPack* pack, const char16_t* listFileName) : pack(pack) {
  DupString(&listFile, listFileName);
}

MissionDef::~MissionDef() {
  FreeString(&description);
  FreeString(&hint);
  FreeString(&listFile);
  FreeString(&splashScreen);
  FreeString(&voxelHeight);
  FreeString(&voxelTexture);
  FreeString(&skyBackdrop);
  goals.DeleteAll();
  meshNames.FreeAll();
  objectNames.FreeAll();
}

namespace {

// Appends a copy of every value of every key named `keyName` to `names`.
void CollectValues(const IniSection& section, const char16_t* keyName, PtrArray<char16_t*>& names) {
  for (const IniKey* key : section.keys) {
    if (!EqualsNoCase(key->name, keyName)) continue;
    for (const IniValue* value : key->values) {
      char16_t* copy = nullptr;
      if (DupString(&copy, value->text) != nullptr && !names.Append(copy)) FreeString(&copy);
    }
  }
}

}  // namespace

void MissionDef::ReadSection(const IniSection& section) {
  CopyName(name, section.name);
  if (const IniKey* k = KeyWithValues(section, u"Description", 1)) ReplaceText(&description, ValueText(*k, 0));
  if (const IniKey* k = KeyWithValues(section, u"Hint", 1)) ReplaceText(&hint, ValueText(*k, 0));
  if (const IniKey* k = KeyWithValues(section, u"Helipad", 2)) {
    helipad = Vector3(static_cast<fixed>(ValueInt(*k, 0) << 16), 0, static_cast<fixed>(ValueInt(*k, 1) << 16));
  }
  const struct {
    const char16_t* key;
    char16_t** field;
  } resources[] = {{u"Resource SplashScreen", &splashScreen},
                   {u"Resource VoxelHeight", &voxelHeight},
                   {u"Resource VoxelTexture", &voxelTexture},
                   {u"Resource SkyBackdrop", &skyBackdrop}};
  for (const auto& resource : resources) {
    if (const IniKey* k = KeyWithValues(section, resource.key, 1)) ReplaceText(resource.field, ValueText(*k, 0));
  }

  for (const IniKey* key : section.keys) {
    if (!EqualsNoCase(key->name, u"Goal") || key->values.Count() < 2) continue;
    const IniValue& word = *key->values[0];
    uint32_t type;
    if (word.Equals(u"Destroy")) {
      type = GoalDestroy;
    } else if (word.Equals(u"KeepAlive")) {
      type = GoalKeepAlive;
    } else if (word.Equals(u"Rescue")) {
      type = GoalRescue;
    } else {
      continue;
    }
    auto* goal = new GoalDef;
    goal->goalType = type;
    goal->timeLimit = key->values.Count() >= 3 ? ValueInt(*key, 2) * 1000u : 0;
    DupString(&goal->objectName, ValueText(*key, 1));
    if (goal->objectName == nullptr || !goals.Append(goal)) delete goal;
  }
  CollectValues(section, u"Mesh", meshNames);
  CollectValues(section, u"Object", objectNames);
}
