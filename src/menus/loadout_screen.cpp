#include <algorithm>

#include "app/application.h"
#include "app/screen_factory.h"
#include "content/chopper_def.h"
#include "content/data_buffer.h"
#include "content/pictures.h"
#include "content/weapon_def.h"
#include "core/wide_string.h"
#include "game/chopper.h"
#include "game/mission_instance.h"
#include "game/weapons.h"
#include "gfx/blit.h"
#include "menus/selection_screens.h"

namespace {

// The weapon shown last, for the whole run of the program.
uint16_t rememberedWeapon = 0;

constexpr uint32_t kWeaponLabels = 250, kGuidanceNone = 252, kGuidanceHeat = 254, kGuidanceRadar = 256;
constexpr uint32_t kLoadLabels = 258, kTooManyKinds = 260, kFirstEmptyPylon = 262, kRemove = 270;
constexpr uint32_t kPylonMask = 271;
constexpr int kTooManyKindsCount = 4;  // four different weapons are one too many
constexpr int32_t kLoadBarX = 120, kLoadRow = 7, kCapacityRow = 18;
constexpr int32_t kFigureBarX = 100;
constexpr int32_t kFigureRows[5] = {153, 164, 175, 185, 196};

struct PylonPlace {
  int16_t x, y;
};

// Where the pylon buttons go, for helicopters of 2, 4, 6 or 8 pylons.
const PylonPlace* PylonPlaces(int count) {
  static constexpr PylonPlace kTwo[] = {{40, 75}, {170, 75}};
  static constexpr PylonPlace kFour[] = {{20, 60}, {190, 60}, {60, 95}, {150, 95}};
  static constexpr PylonPlace kSix[] = {{40, 55}, {170, 55}, {15, 100}, {195, 100}, {60, 100}, {150, 100}};
  static constexpr PylonPlace kEight[] = {{15, 30}, {195, 30}, {38, 67}, {172, 67},
                                          {15, 104}, {195, 104}, {60, 104}, {150, 104}};
  switch (count) {
    case 2: return kTwo;
    case 4: return kFour;
    case 6: return kSix;
    case 8: return kEight;
    default: return nullptr;
  }
}

void Replace(Surface& target, std::unique_ptr<Surface> picture) {
  if (picture != nullptr) {
    target = std::move(*picture);
  } else {
    target.Release();
  }
}

// The fast blink of the warnings: 256 ms on, 256 ms off.
bool FastBlink(const Application& application) { return (application.tickTime & 0x100) != 0; }

}  // namespace

LoadoutScreen::LoadoutScreen(Application* app, MissionInstance* mission, Chopper* chopper)
    : MenuScreen(app, FrameShown | FrameCancel, true), mission_(mission), chopper_(chopper) {
  // A helicopter's pylons beyond eight find no place in the list.
  pylonCount_ = std::min<int>(chopper_->definition->pylons, kMaxPylons);
}

LoadoutScreen::~LoadoutScreen() = default;

bool LoadoutScreen::Enter() {
  MenuScreen::Enter();
  LoadProgramPicture(weaponLabels_, kWeaponLabels, kWeaponLabels + 1);
  LoadProgramPicture(guidance_[GuidanceNone], kGuidanceNone, kGuidanceNone + 1);
  LoadProgramPicture(guidance_[GuidanceRadar], kGuidanceRadar, kGuidanceRadar + 1);
  LoadProgramPicture(guidance_[GuidanceHeat], kGuidanceHeat, kGuidanceHeat + 1);
  LoadProgramPicture(labels_, kLoadLabels, kLoadLabels + 1);
  LoadProgramPicture(warning_, kTooManyKinds, kTooManyKinds + 1);
  for (const WeaponDef* weapon : application->registry.weapons) {
    const fixed figures[5] = {IntToFixed(weapon->weight), IntToFixed(weapon->payload), weapon->range, weapon->speed,
                              IntToFixed(weapon->accuracy)};
    for (int i = 0; i < 5; ++i) largest_[i] = std::max(largest_[i], figures[i]);
  }
  capacity_.MoveTo(IntToFixed(chopper_->definition->payload));
  if (const PylonPlace* places = PylonPlaces(pylonCount_)) {
    for (int k = 0; k < pylonCount_; ++k) {
      AddButton(kFirstPylonButton + k, kFirstEmptyPylon + k, kPylonMask, kRemove, kPylonMask, places[k].x, places[k].y);
    }
  }
  Show(rememberedWeapon);
  // The helicopter seen with its pylons, in front of the weapon's picture.
  const ChopperDef& chopper = *chopper_->definition;
  if (chopper.weaponPicture != nullptr) DecodeJpeg(loadoutPicture_, DataBuffer(chopper.pack, chopper.weaponPicture));
  return true;
}

void LoadoutScreen::Show(uint16_t index) {
  const PtrArray<WeaponDef*>& weapons = application->registry.weapons;
  if (weapons.Empty()) {
    current_ = nullptr;
    SetFrameFlags(FrameShown | FrameCancel);
    SetBackground(nullptr);
    for (int k = 0; k < pylonCount_; ++k) {
      if (MenuButton* button = FindButton(kFirstPylonButton + k)) button->enabled = false;
    }
    return;
  }
  if (index >= weapons.Count()) index = 0;
  rememberedWeapon = index;
  current_ = weapons[index];
  CheckFlags();
  Replace(title_, current_->LoadTitle());
  SetBackground(current_->LoadSplash());
  const fixed figures[5] = {IntToFixed(current_->weight), IntToFixed(current_->payload), current_->range,
                            current_->speed, IntToFixed(current_->accuracy)};
  for (int i = 0; i < 5; ++i) figures_[i].MoveTo(figures[i]);
  // A tap on a pylon holding this weapon takes it off; on any other pylon it puts this one on.
  for (int k = 0; k < pylonCount_; ++k) {
    MenuButton* button = FindButton(kFirstPylonButton + k);
    if (button == nullptr) continue;
    button->enabled = true;
    if (pylons_[k] == current_) {
      LoadProgramPicture(button->highlighted, kRemove, kPylonMask);
    } else {
      Replace(button->highlighted, current_->LoadPylon2());
    }
  }
}

void LoadoutScreen::TogglePylon(int k) {
  MenuButton* button = FindButton(kFirstPylonButton + k);
  if (button == nullptr || current_ == nullptr) return;
  if (pylons_[k] == current_) {
    pylons_[k] = nullptr;
    LoadProgramPicture(button->normal, kFirstEmptyPylon + k, kPylonMask);
    Replace(button->highlighted, current_->LoadPylon2());
  } else {
    pylons_[k] = current_;
    Replace(button->normal, current_->LoadPylon1());
    LoadProgramPicture(button->highlighted, kRemove, kPylonMask);
  }
  load_.MoveTo(IntToFixed(static_cast<int32_t>(TotalWeight())));
  CheckFlags();
}

uint32_t LoadoutScreen::TotalWeight() const {
  uint32_t total = 0;
  for (int k = 0; k < pylonCount_; ++k) {
    if (pylons_[k] != nullptr) total += pylons_[k]->weight;
  }
  return total;
}

int LoadoutScreen::WeaponKinds() const {
  int kinds = 0;
  for (int k = 0; k < pylonCount_; ++k) {
    if (pylons_[k] == nullptr) continue;
    bool seen = false;
    for (int j = 0; j < k; ++j) seen = seen || pylons_[j] == pylons_[k];
    if (!seen) ++kinds;
  }
  return kinds;
}

void LoadoutScreen::CheckFlags() {
  const bool valid = TotalWeight() <= chopper_->definition->payload && WeaponKinds() < kTooManyKindsCount;
  SetFrameFlags(FrameShown | FrameCancel | FrameArrows | (valid && current_ != nullptr ? uint32_t{FrameOk} : 0u));
}

void LoadoutScreen::DisablePylons() {
  for (int k = 0; k < pylonCount_; ++k) {
    if (MenuButton* button = FindButton(kFirstPylonButton + k)) button->enabled = false;
  }
}

Screen* LoadoutScreen::UpdateMenu(uint32_t elapsedMs, fixed) {
  // Handed on, forward or back: the screen only fades out now, and what is clicked in the fade
  // is not acted on (the arrows would check a loadout against a chopper it no longer holds).
  if (mission_ == nullptr) return nullptr;
  const ScreenFactory& screens = application->screens;
  const uint16_t count = application->registry.weapons.Count();
  Screen* next = nullptr;
  const uint32_t clicked = TakeClick();
  switch (clicked) {
    case ButtonOk:
      if (chopper_ != nullptr && mission_ != nullptr && (frameFlags() & FrameOk)) {
        DisablePylons();
        // Armed as the game expects: the built-in gun first, then the pylons in order.
        if (chopper_->definition->hasMachineGun && application->registry.machineGun != nullptr) {
          chopper_->AddWeapon(application->registry.machineGun);
        }
        for (int k = 0; k < pylonCount_; ++k) {
          if (pylons_[k] != nullptr) chopper_->AddWeapon(pylons_[k]);
        }
        next = screens.CreateGameScreen(application, mission_.get(), chopper_.get());
        if (next != nullptr) {
          mission_.release();  // the game screen owns both now
          chopper_.release();
        } else {
          chopper_->weaponSlots.DeleteAll();  // not flown: unarmed again for the next try
        }
      }
      break;
    case ButtonCancel:
      if (mission_ != nullptr) {
        DisablePylons();
        chopper_.reset();
        next = screens.CreateChopperSelectScreen(application, mission_.get());
        if (next != nullptr) mission_.release();
      }
      break;
    case ButtonNext:
    case ButtonPrevious:
      if (count != 0) Show(NeighbourIndex(rememberedWeapon, count, clicked == ButtonNext));
      break;
    default:
      if (clicked >= kFirstPylonButton && clicked < kFirstPylonButton + static_cast<uint32_t>(pylonCount_)) {
        TogglePylon(static_cast<int>(clicked - kFirstPylonButton));
      }
      break;
  }
  load_.Advance(elapsedMs);
  capacity_.Advance(elapsedMs);
  for (ShownValue& figure : figures_) figure.Advance(elapsedMs);
  return next;
}

void LoadoutScreen::DrawMenu() {
  DepthSurface* surface = application->backSurface.get();
  if (surface == nullptr) return;
  if (current_ == nullptr) {
    DrawEmptyListNotice(*surface, u"No weapons installed");
    return;
  }
  if (loadoutPicture_.HasPixels()) {
    Blit(*surface, 0, 0, loadoutPicture_, 0, 0, loadoutPicture_.width, loadoutPicture_.height);
  }
  DrawMaskedPicture(*surface, title_, 175 - title_.width, 265);
  const bool blinkOn = FastBlink(*application);
  if (WeaponKinds() >= kTooManyKindsCount && blinkOn) DrawMaskedPicture(*surface, warning_, surface->width - warning_.width, 210);
  DrawMaskedPicture(*surface, labels_, 25, 2);
  const fixed payload = IntToFixed(chopper_ != nullptr ? chopper_->definition->payload : 0);
  const bool overweight = IntToFixed(static_cast<int32_t>(TotalWeight())) > payload;
  if (!overweight || blinkOn) DrawFigureBar(*surface, kLoadBarX, kLoadRow, load_.value(), payload, overweight);
  DrawFigureBar(*surface, kLoadBarX, kCapacityRow, capacity_.value(), payload, false);
  DrawMaskedPicture(*surface, weaponLabels_, 40, 150);
  for (int i = 0; i < 5; ++i) DrawFigureBar(*surface, kFigureBarX, kFigureRows[i], figures_[i].value(), largest_[i], false);
  const uint32_t guidance = current_->guidance < 3 ? current_->guidance : GuidanceNone;
  DrawMaskedPicture(*surface, guidance_[guidance], 100, 204);
}

std::string LoadoutScreen::DescribeState() const {
  std::string state = MenuScreen::DescribeState() + ",\"weapon\":" +
                      JsonString(current_ != nullptr ? current_->name : nullptr) + ",\"pylons\":[";
  for (int k = 0; k < pylonCount_; ++k) {
    if (k != 0) state += ",";
    state += pylons_[k] != nullptr ? JsonString(pylons_[k]->name) : "null";
  }
  return state + "],\"weight\":" + std::to_string(TotalWeight()) + ",\"ok\":" +
         std::to_string((frameFlags() & FrameOk) != 0 ? 1 : 0);
}
