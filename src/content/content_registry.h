// Everything the packs bring, loaded once at start-up and kept for the whole run: the packs
// themselves, every mission, helicopter and weapon they define, the pack whose pictures play
// as the introduction, and the built-in machine gun.
//
// Packs are RAR 2.0 archives named "core.bin" and "*.bin" in one folder. Each holds a manifest
// "content.ini" whose section "KestrelRun" names its list files; a pack without that manifest
// is dropped silently. Definitions keep a pointer to their pack and read their pictures,
// landscapes and meshes from it later, so packs stay registered until the registry goes.
#pragma once

#include <cstdint>

#include "content/chopper_def.h"
#include "content/content_pack.h"
#include "content/mission_def.h"
#include "content/weapon_def.h"
#include "core/ptr_array.h"

class ContentRegistry {
 public:
  ContentRegistry();
  ~ContentRegistry();
  ContentRegistry(const ContentRegistry&) = delete;
  ContentRegistry& operator=(const ContentRegistry&) = delete;

  // Loads the packs of `directory` and `extraDirectory` (see LoadPacks), then creates the
  // built-in machine gun.
  bool Load(const char16_t* directory, const char16_t* extraDirectory = nullptr);
  // "core.bin" first, then every other "*.bin" of the folder in name order, then those of
  // `extraDirectory` (the player's own packs) in name order; a pack whose file name was already
  // found is skipped. True when at least one pack was kept and one of them is the intro pack.
  bool LoadPacks(const char16_t* directory, const char16_t* password, const char16_t* extraDirectory = nullptr);

  void LoadMissionList(const ContentPack* pack, const char16_t* listFile);
  void LoadChopperList(const ContentPack* pack, const char16_t* listFile);
  void LoadWeaponList(const ContentPack* pack, const char16_t* listFile);

  // Appends directory + "/" (when missing) + name, as new texts, for every file of `directory`
  // matching `pattern`; returns how many were found.
  static uint16_t FindFiles(const char16_t* pattern, const char16_t* directory, PtrArray<char16_t*>& paths);
  // Of every set of paths whose file names are equal ignoring case, keeps the first and frees
  // the others; returns how many went. The order of the rest is kept.
  static uint16_t RemoveDuplicateNames(PtrArray<char16_t*>& paths);

  PtrArray<MissionDef*> missions;
  PtrArray<ChopperDef*> choppers;
  PtrArray<WeaponDef*> weapons;
  PtrArray<ContentPack*> packs;
  const ContentPack* introPack = nullptr;  // one of `packs`, or null
  WeaponDef* machineGun = nullptr;          // owned; present whatever the packs hold
};
