#include "game/messages.h"

namespace {

// As the game has always shown them ("aquired" included).
constexpr const char16_t* kTexts[kMessageCount] = {
    u"Cleared for takeoff",
    u"You have landed",
    u"Warning: Altitude Low",
    u"Warning: Fuel Low",
    u"Warning: Damage",
    u"Warning: Altitude Critical",
    u"Warning: Fuel Critical",
    u"Warning: Fuel Empty",
    u"Warning: Damage Critical",
    u"Picked up fuel",
    u"Picked up passenger",
    u"All passengers out",
    u"No room for more passengers",
    u"Next target",
    u"Target aquired",
    u"Target locked",
    u"Target lost",
    u"Next weapon",
    u"%s selected",
    u"Weapon empty",
    u"MachineGun fired",
    u"Rocket away",
    u"Target hit",
    u"Target destroyed",
    u"Target missed",
    u"Enemy sighted",
    u"Warning: Enemy gunfire",
    u"Warning: Incoming rocket",
    u"Incoming rocket missed",
    u"Mission complete. Return to base",
    u"Mission failed",
};

// Appends `text` to out[*length], stopping at the last place before the terminator.
void Append(const char16_t* text, char16_t* out, uint32_t outSize, uint32_t* length) {
  for (; text != nullptr && *text != 0 && *length + 1 < outSize; ++text) out[(*length)++] = *text;
}

}  // namespace

const char16_t* MessageText(uint32_t id) { return id < kMessageCount ? kTexts[id] : nullptr; }

void FormatWeaponSelected(const char16_t* weaponName, char16_t* out, uint32_t outSize) {
  if (outSize == 0) return;
  uint32_t length = 0;
  Append(weaponName, out, outSize, &length);
  Append(u" selected", out, outSize, &length);
  out[length] = 0;
}

void MessageQueue::Add(const char16_t* text) {
  auto* entry = new MessageEntry;
  uint32_t length = 0;
  Append(text, entry->text, MessageEntry::kMaxLength + 1, &length);
  entry->text[length] = 0;
  if (!entries.Append(entry)) {
    delete entry;
    return;
  }
  if (entries.Count() >= kCapacity) delete entries.RemoveAt(0);
}

void MessageQueue::Age(uint32_t elapsedMs) {
  for (uint16_t i = 0; i < entries.Count();) {
    MessageEntry* entry = entries[i];
    entry->age += elapsedMs;
    if (entry->age >= kLifetime) {
      delete entries.RemoveAt(i);
    } else {
      ++i;
    }
  }
}
