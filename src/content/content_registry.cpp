#include "content/content_registry.h"

#include <string>

#include "content/data_buffer.h"
#include "content/ini.h"
#include "core/wide_string.h"
#include "platform/files.h"

namespace {

// The built-in machine gun: 20 damage a hit, 300 m range, 4000 m/s.
constexpr uint16_t kMachineGunPayload = 20;
constexpr fixed kMachineGunRange = IntToFixed(300);
constexpr fixed kMachineGunSpeed = IntToFixed(4000);

bool IsSeparator(char16_t c) { return c == u'/' || c == u'\\'; }

// "Mission 3": a numbered key is the word, one space and the index in decimal.
std::u16string NumberedKey(const char16_t* word, uint32_t index) {
  std::u16string key = word;
  key += u' ';
  for (char c : std::to_string(index)) key += static_cast<char16_t>(c);
  return key;
}

const IniValue* FirstValue(const IniSection& section, const char16_t* keyName) {
  const IniKey* key = section.FindKey(keyName);
  return key != nullptr && !key->values.Empty() ? key->values[0] : nullptr;
}

// Calls `visit` with the first value of every numbered key "<word> 0" .. "<word> N-1" that
// exists, where N is the value of `countKey`.
template <typename Visit>
void ForEachNumbered(const IniSection& section, const char16_t* countKey, const char16_t* word, Visit visit) {
  const IniValue* count = FirstValue(section, countKey);
  if (count == nullptr) return;
  const uint16_t n = static_cast<uint16_t>(count->ToInt());
  for (uint16_t i = 0; i < n; ++i) {
    if (const IniValue* value = FirstValue(section, NumberedKey(word, i).c_str())) visit(value->text);
  }
}

// Reads a list file of `pack`: for every entry of `listSection` that names a section of the same
// file, a record is made by `create`, reads that section and is appended to `records`.
template <typename Record, typename Create>
void LoadList(const ContentPack* pack, const char16_t* listFile, const char16_t* listSection, const char16_t* countKey,
              const char16_t* entryWord, PtrArray<Record*>& records, Create create) {
  const DataBuffer file(pack, listFile);
  if (file.Empty()) return;
  IniDocument document;
  document.LoadFromBuffer(file.data, file.size);
  const IniSection* list = document.FindSection(listSection);
  if (list == nullptr) return;
  ForEachNumbered(*list, countKey, entryWord, [&](const char16_t* sectionName) {
    const IniSection* section = document.FindSection(sectionName);
    if (section == nullptr) return;
    Record* record = create();
    record->ReadSection(*section);
    if (!records.Append(record)) delete record;
  });
}

}  // namespace

ContentRegistry::ContentRegistry() = default;

ContentRegistry::~ContentRegistry() {
  delete machineGun;
  missions.DeleteAll();
  choppers.DeleteAll();
  weapons.DeleteAll();
  packs.DeleteAll();
}

bool ContentRegistry::Load(const char16_t* directory, const char16_t* extraDirectory) {
  const bool result = LoadPacks(directory, nullptr, extraDirectory);
  delete machineGun;
  machineGun = new WeaponDef(nullptr);
  machineGun->SetMachineGun(u"MachineGun", kMachineGunPayload, kMachineGunRange, kMachineGunSpeed, 1);
  return result;
}

bool ContentRegistry::LoadPacks(const char16_t* directory, const char16_t* password, const char16_t* extraDirectory) {
  PtrArray<char16_t*> paths;
  std::u16string core = directory != nullptr ? directory : u"";
  if (!core.empty() && !IsSeparator(core.back())) core += u'/';
  core += u"core.bin";
  char16_t* corePath = nullptr;
  if (DupString(&corePath, core.c_str()) != nullptr && !paths.Append(corePath)) FreeString(&corePath);

  // Without any pack in the folders nothing is loaded, not even a core.bin that is not there.
  uint16_t found = FindFiles(u"*.bin", directory, paths);
  if (extraDirectory != nullptr) found += FindFiles(u"*.bin", extraDirectory, paths);
  if (found == 0) {
    paths.FreeAll();
    return false;
  }
  // The search finds core.bin again: the later copy goes, so core.bin is always first, and a
  // player's pack never replaces one of the same name beside the program.
  RemoveDuplicateNames(paths);

  for (char16_t* path : paths) {
    auto* pack = new ContentPack;
    IniDocument manifest;
    const IniSection* section = nullptr;
    if (pack->Open(path, password)) {
      const DataBuffer file(pack, u"content.ini");
      if (!file.Empty()) {
        manifest.LoadFromBuffer(file.data, file.size);
        section = manifest.FindSection(u"KestrelRun");
      }
    }
    if (section == nullptr || !packs.Append(pack)) {
      delete pack;
      continue;
    }
    if (section->FindKey(u"Intro") != nullptr) introPack = pack;
    ForEachNumbered(*section, u"NoOfMissionFiles", u"MissionFile",
                    [&](const char16_t* list) { LoadMissionList(pack, list); });
    ForEachNumbered(*section, u"NoOfChopperFiles", u"ChopperFile",
                    [&](const char16_t* list) { LoadChopperList(pack, list); });
    ForEachNumbered(*section, u"NoOfWeaponFiles", u"WeaponFile",
                    [&](const char16_t* list) { LoadWeaponList(pack, list); });
  }
  paths.FreeAll();
  return !packs.Empty() && introPack != nullptr;
}

void ContentRegistry::LoadMissionList(const ContentPack* pack, const char16_t* listFile) {
  LoadList(pack, listFile, u"Missions", u"NoOfMissions", u"Mission", missions,
           [&] { return new MissionDef(pack, listFile); });
}

void ContentRegistry::LoadChopperList(const ContentPack* pack, const char16_t* listFile) {
  LoadList(pack, listFile, u"Choppers", u"NoOfChoppers", u"Chopper", choppers, [&] { return new ChopperDef(pack); });
}

void ContentRegistry::LoadWeaponList(const ContentPack* pack, const char16_t* listFile) {
  LoadList(pack, listFile, u"Weapons", u"NoOfWeapons", u"Weapon", weapons, [&] { return new WeaponDef(pack); });
}

uint16_t ContentRegistry::FindFiles(const char16_t* pattern, const char16_t* directory, PtrArray<char16_t*>& paths) {
  std::u16string prefix = directory != nullptr ? directory : u"";
  if (!prefix.empty() && !IsSeparator(prefix.back())) prefix += u'/';
  const std::string folder = prefix.empty() ? "." : Utf8FromWide(prefix.c_str());
  uint16_t found = 0;
  for (const std::string& name : ListFiles(folder, Utf8FromWide(pattern))) {
    const std::u16string path = prefix + WideFromUtf8(name);
    char16_t* copy = nullptr;
    if (DupString(&copy, path.c_str()) == nullptr) continue;
    if (!paths.Append(copy)) {
      FreeString(&copy);
      break;
    }
    ++found;
  }
  return found;
}

uint16_t ContentRegistry::RemoveDuplicateNames(PtrArray<char16_t*>& paths) {
  const auto fileName = [](const char16_t* path) {
    const char16_t* name = path;
    for (const char16_t* c = path; *c != 0; ++c) {
      if (IsSeparator(*c)) name = c + 1;
    }
    return name;
  };
  uint16_t removed = 0;
  for (uint16_t i = 0; i < paths.Count(); ++i) {
    for (uint16_t j = i + 1; j < paths.Count();) {
      if (EqualsNoCase(fileName(paths[i]), fileName(paths[j]))) {
        char16_t* duplicate = paths.RemoveAt(j);  // the entry that moves into place j is compared too
        FreeString(&duplicate);
        ++removed;
      } else {
        ++j;
      }
    }
  }
  return removed;
}
