// The way from the title menu into a mission: which mission, which helicopter (with bar charts
// of its flight figures), and which weapon on which pylon, within its payload. Each screen pages
// through a list of the content registry with the frame's arrows, goes on with OK and one step
// back with cancel, and remembers its place in the list for the whole run of the program.
//
// The mission instance (made when a mission is chosen) and the chopper (made when a helicopter is
// chosen) belong to the screen that holds them: handed forward, deleted going back.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "app/menu_screen.h"
#include "gfx/surface.h"
#include "menus/selection_support.h"

class Chopper;
class ChopperDef;
class MissionDef;
class MissionInstance;
class WeaponDef;

class MissionSelectScreen : public MenuScreen {
 public:
  explicit MissionSelectScreen(Application* application);

  bool Enter() override;
  Screen* UpdateMenu(uint32_t elapsedMs, fixed frameSeconds) override;
  void DrawMenu() override;
  const char* Name() const override { return "MissionSelect"; }
  std::string DescribeState() const override;

 private:
  void Show(uint16_t index);

  const MissionDef* current_ = nullptr;
};

class ChopperSelectScreen : public MenuScreen {
 public:
  // Takes over the mission instance.
  ChopperSelectScreen(Application* application, MissionInstance* mission);
  ~ChopperSelectScreen() override;

  bool Enter() override;
  Screen* UpdateMenu(uint32_t elapsedMs, fixed frameSeconds) override;
  void DrawMenu() override;
  const char* Name() const override { return "ChopperSelect"; }
  std::string DescribeState() const override;

  // The figures with a bar: the seven flight figures as empty and laden pairs, then payload and
  // armour.
  static constexpr int kPairs = 7;
  static constexpr int kFigures = kPairs + 2;

 private:
  void Show(uint16_t index);

  std::unique_ptr<MissionInstance> mission_;
  const ChopperDef* current_ = nullptr;
  Surface labels_, legend_, passengerIcon_, pylonIcon_, machineGunLabel_, title_;
  fixed largest_[kFigures] = {};
  ShownValue shown_[2 * kPairs + 2];
};

class LoadoutScreen : public MenuScreen {
 public:
  static constexpr int kMaxPylons = 8;
  static constexpr uint32_t kFirstPylonButton = 6;

  // Takes over the mission instance and the chopper.
  LoadoutScreen(Application* application, MissionInstance* mission, Chopper* chopper);
  ~LoadoutScreen() override;

  bool Enter() override;
  Screen* UpdateMenu(uint32_t elapsedMs, fixed frameSeconds) override;
  void DrawMenu() override;
  const char* Name() const override { return "Loadout"; }
  std::string DescribeState() const override;

  // What the pylons hold (null: empty), and whether the loadout may be flown.
  const WeaponDef* pylon(int k) const { return pylons_[k]; }
  int pylonCount() const { return pylonCount_; }
  uint32_t TotalWeight() const;
  int WeaponKinds() const;

 private:
  void Show(uint16_t index);
  void TogglePylon(int k);
  // OK only for a loadout within the payload and of fewer than four kinds of weapon.
  void CheckFlags();
  void DisablePylons();

  std::unique_ptr<MissionInstance> mission_;
  std::unique_ptr<Chopper> chopper_;
  const WeaponDef* current_ = nullptr;
  const WeaponDef* pylons_[kMaxPylons] = {};
  int pylonCount_ = 0;
  Surface loadoutPicture_, title_, removePicture_;
  Surface labels_, weaponLabels_, warning_, guidance_[3];
  fixed largest_[5] = {};  // weight, payload, range, speed, accuracy over all weapons
  ShownValue load_, capacity_, figures_[5];
};

// After a mission: its picture with the stamp of success or failure; OK goes back to the title.
class DebriefScreen : public MenuScreen {
 public:
  // Takes over the mission instance and the chopper.
  DebriefScreen(Application* application, MissionInstance* mission, Chopper* chopper);
  ~DebriefScreen() override;

  bool Enter() override;
  Screen* UpdateMenu(uint32_t elapsedMs, fixed frameSeconds) override;
  void DrawMenu() override;
  const char* Name() const override { return "Debrief"; }
  std::string DescribeState() const override;

 private:
  std::unique_ptr<MissionInstance> mission_;
  std::unique_ptr<Chopper> chopper_;
  Surface stamp_;
  bool success_ = false;
};
