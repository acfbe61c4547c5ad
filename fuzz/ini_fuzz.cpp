// The INI grammar of every definition file, and the definitions read from what it parses:
// each section is read as a helicopter, a weapon and a mission, as a pack's lists would have it.
//
// Checked: parsing is a function of the bytes (a second parse gives the same sections and keys).
#include "content/chopper_def.h"
#include "content/ini.h"
#include "content/mission_def.h"
#include "content/weapon_def.h"
#include "core/wide_string.h"
#include "fuzz_support.h"

namespace {

// Caps the text so that one input stays fast; definition files are a few kilobytes.
constexpr size_t kMaxTextSize = 64u << 10;

size_t KeyCount(const IniDocument& document) {
  size_t keys = 0;
  for (const IniSection* section : document.sections) keys += section->keys.Count();
  return keys;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > kMaxTextSize) return 0;
  IniDocument document;
  if (!document.LoadFromBuffer(data, static_cast<uint32_t>(size))) return 0;

  IniDocument again;
  FUZZ_CHECK(again.LoadFromBuffer(data, static_cast<uint32_t>(size)));
  FUZZ_CHECK(again.sections.Count() == document.sections.Count());
  FUZZ_CHECK(KeyCount(again) == KeyCount(document));

  for (const IniSection* section : document.sections) {
    for (const IniKey* key : section->keys) {
      for (const IniValue* value : key->values) {
        value->ToInt();
        value->ToBool();
      }
    }
    ChopperDef chopper(nullptr);
    chopper.ReadSection(*section);
    WeaponDef weapon(nullptr);
    weapon.ReadSection(*section);
    MissionDef mission(nullptr, u"list.ini");
    mission.ReadSection(*section);
  }
  return 0;
}
