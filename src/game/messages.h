// The message line: the texts the game shows ("Cleared for takeoff", "Target hit", ...) and
// the short queue of the latest ones that the HUD draws.
#pragma once

#include <cstdint>

#include "core/ptr_array.h"

enum MessageId : uint32_t {
  MessageClearedForTakeoff = 0,
  MessageLanded = 1,
  MessageAltitudeLow = 2,
  MessageFuelLow = 3,
  MessageDamage = 4,
  MessageAltitudeCritical = 5,
  MessageFuelCritical = 6,
  MessageFuelEmpty = 7,
  MessageDamageCritical = 8,
  MessagePickedUpFuel = 9,
  MessagePickedUpPassenger = 10,
  MessagePassengersOut = 11,
  MessageNoRoom = 12,
  MessageNextTarget = 13,
  MessageTargetAcquired = 14,
  MessageTargetLocked = 15,
  MessageTargetLost = 16,
  MessageNextWeapon = 17,
  MessageWeaponSelected = 18,  // "%s selected", with the weapon's name
  MessageWeaponEmpty = 19,
  MessageMachineGunFired = 20,
  MessageRocketAway = 21,
  MessageTargetHit = 22,
  MessageTargetDestroyed = 23,
  MessageTargetMissed = 24,
  MessageEnemySighted = 25,
  MessageEnemyGunfire = 26,
  MessageIncomingRocket = 27,
  MessageIncomingRocketMissed = 28,
  MessageMissionComplete = 29,
  MessageMissionFailed = 30,
};
constexpr uint32_t kMessageCount = 31;

// The text of a message id, or null for an id out of range. Id 18 holds a "%s" for the name.
const char16_t* MessageText(uint32_t id);

// The text of id 18 for a weapon called `weaponName`.
void FormatWeaponSelected(const char16_t* weaponName, char16_t* out, uint32_t outSize);

struct MessageEntry {
  static constexpr uint32_t kMaxLength = 39;
  char16_t text[kMaxLength + 1] = {};
  uint32_t age = 0;  // milliseconds since it was posted
};

// The latest messages, oldest first. A new message pushes out the oldest once three are shown;
// each one goes after 6 seconds of play.
class MessageQueue {
 public:
  static constexpr uint16_t kCapacity = 4;
  static constexpr uint32_t kLifetime = 6000;

  MessageQueue() = default;
  ~MessageQueue() { entries.DeleteAll(); }
  MessageQueue(const MessageQueue&) = delete;
  MessageQueue& operator=(const MessageQueue&) = delete;

  // A new entry of age 0, its text cut to 39 characters.
  void Add(const char16_t* text);
  // Every entry grows older by `elapsedMs`; those 6 seconds old go.
  void Age(uint32_t elapsedMs);

  PtrArray<MessageEntry*> entries;  // owned
};
