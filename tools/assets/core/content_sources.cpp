#include "content_sources.h"

#include <fstream>
#include <iterator>

#include "core/wide_string.h"

namespace {

bool LoadDocument(const std::string& folder, const std::string& name, IniDocument& document, std::string& error) {
  std::ifstream in(folder + "/" + PathOfPackName(name), std::ios::binary);
  if (!in) {
    error = "cannot read " + folder + "/" + PathOfPackName(name);
    return false;
  }
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  document.LoadFromBuffer(reinterpret_cast<const uint8_t*>(bytes.data()), static_cast<uint32_t>(bytes.size()));
  return true;
}

const IniKey* KeyWith(const IniSection& section, const char16_t* name, uint16_t values) {
  const IniKey* key = section.FindKey(name);
  return key != nullptr && key->values.Count() >= values ? key : nullptr;
}

std::string Value(const IniKey& key, uint16_t index) { return Narrow(key.values[index]->text); }

// The first values of the numbered keys "<word> 0" .. "<word> N-1" of a list section.
std::vector<std::string> NumberedValues(const IniSection& section, const char16_t* countKey, const std::string& word) {
  std::vector<std::string> values;
  const IniKey* count = KeyWith(section, countKey, 1);
  if (count == nullptr) return values;
  const uint32_t n = count->values[0]->ToInt();
  for (uint32_t i = 0; i < n; ++i) {
    const std::u16string key = WideFromUtf8(word + " " + std::to_string(i));
    if (const IniKey* entry = KeyWith(section, key.c_str(), 1)) values.push_back(Value(*entry, 0));
  }
  return values;
}

PlacedObject ReadObject(const IniSection& section) {
  PlacedObject object;
  object.name = Narrow(section.name);
  object.objectClass = "Structure";
  if (const IniKey* k = KeyWith(section, u"Mesh", 1)) object.mesh = Value(*k, 0);
  if (const IniKey* k = KeyWith(section, u"Parent", 1)) object.parent = Value(*k, 0);
  if (const IniKey* k = KeyWith(section, u"Class", 1)) object.objectClass = Value(*k, 0);
  // Numbers as the game reads them: whole, without sign (so angles are given as 0..359).
  const IniKey* pos = KeyWith(section, u"Pos", 3);
  float scale = 1;
  if (const IniKey* k = KeyWith(section, u"PosX2", 3)) {
    pos = k;
    scale = 2;
  }
  if (pos != nullptr) {
    object.x = pos->values[0]->ToInt() * scale;
    object.z = pos->values[1]->ToInt() * scale;
    object.y = pos->values[2]->ToInt() * scale;
  }
  if (const IniKey* k = KeyWith(section, u"YawPitchRoll", 1)) {
    float* angles[3] = {&object.yaw, &object.pitch, &object.roll};
    for (uint16_t i = 0; i < 3 && i < k->values.Count(); ++i) *angles[i] = static_cast<float>(k->values[i]->ToInt());
  }
  return object;
}

bool ReadMissionList(const std::string& folder, const std::string& listFile, ContentSources& sources,
                     std::string& error) {
  IniDocument document;
  if (!LoadDocument(folder, listFile, document, error)) return false;
  const IniSection* list = document.FindSection(u"Missions");
  if (list == nullptr) {
    error = listFile + " has no [Missions] section";
    return false;
  }
  for (const std::string& name : NumberedValues(*list, u"NoOfMissions", "Mission")) {
    const IniSection* section = document.FindSection(WideFromUtf8(name).c_str());
    if (section == nullptr) {
      error = listFile + " names a mission [" + name + "] that it does not define";
      return false;
    }
    MissionSource mission;
    mission.definition = std::make_unique<MissionDef>(nullptr, WideFromUtf8(listFile).c_str());
    mission.definition->ReadSection(*section);
    for (const char16_t* objectName : mission.definition->objectNames) {
      const IniSection* objectSection = document.FindSection(objectName);
      if (objectSection == nullptr) {
        error = "mission " + name + " names an object [" + Narrow(objectName) + "] that " + listFile + " lacks";
        return false;
      }
      mission.objects.push_back(ReadObject(*objectSection));
    }
    sources.missions.push_back(std::move(mission));
  }
  return true;
}

template <typename Definition>
bool ReadDefinitionList(const std::string& folder, const std::string& listFile, const char16_t* listSection,
                        const char16_t* countKey, const std::string& entryWord,
                        std::vector<std::unique_ptr<Definition>>& records, std::string& error) {
  IniDocument document;
  if (!LoadDocument(folder, listFile, document, error)) return false;
  const IniSection* list = document.FindSection(listSection);
  if (list == nullptr) {
    error = listFile + " has no list section";
    return false;
  }
  for (const std::string& name : NumberedValues(*list, countKey, entryWord)) {
    const IniSection* section = document.FindSection(WideFromUtf8(name).c_str());
    if (section == nullptr) {
      error = listFile + " names [" + name + "] but does not define it";
      return false;
    }
    auto record = std::make_unique<Definition>(nullptr);
    record->ReadSection(*section);
    records.push_back(std::move(record));
  }
  return true;
}

}  // namespace

std::string Narrow(const char16_t* text) { return text != nullptr ? Utf8FromWide(text) : std::string(); }

std::string PathOfPackName(const std::string& name) {
  std::string path = name;
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return path;
}

std::string PathOfPackName(const char16_t* name) { return PathOfPackName(Narrow(name)); }

bool ReadContentSources(const std::string& folder, ContentSources& sources, std::string& error) {
  IniDocument manifest;
  if (!LoadDocument(folder, "content.ini", manifest, error)) return false;
  const IniSection* section = manifest.FindSection(u"KestrelRun");
  if (section == nullptr) {
    error = "content.ini has no [KestrelRun] section";
    return false;
  }
  for (const std::string& list : NumberedValues(*section, u"NoOfMissionFiles", "MissionFile")) {
    if (!ReadMissionList(folder, list, sources, error)) return false;
  }
  for (const std::string& list : NumberedValues(*section, u"NoOfChopperFiles", "ChopperFile")) {
    if (!ReadDefinitionList(folder, list, u"Choppers", u"NoOfChoppers", "Chopper", sources.choppers, error)) {
      return false;
    }
  }
  for (const std::string& list : NumberedValues(*section, u"NoOfWeaponFiles", "WeaponFile")) {
    if (!ReadDefinitionList(folder, list, u"Weapons", u"NoOfWeapons", "Weapon", sources.weapons, error)) {
      return false;
    }
  }
  sources.meshes = std::make_unique<IniDocument>();
  return LoadDocument(folder, "meshes.ini", *sources.meshes, error);
}
