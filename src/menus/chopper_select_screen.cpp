#include <algorithm>

#include "app/application.h"
#include "app/screen_factory.h"
#include "content/chopper_def.h"
#include "content/pictures.h"
#include "core/wide_string.h"
#include "game/chopper.h"
#include "game/mission_instance.h"
#include "menus/selection_screens.h"

namespace {

// The helicopter shown last, for the whole run of the program.
uint16_t rememberedChopper = 0;

constexpr uint32_t kLabels = 200, kLegend = 202, kPassengerIcon = 204, kPylonIcon = 206, kMachineGunLabel = 208;
constexpr int32_t kBarX = 100;
// Top rows of the bars: the seven pairs (empty, then laden), payload, armour.
constexpr int32_t kPairRows[ChopperSelectScreen::kPairs] = {3, 14, 25, 35, 46, 57, 68};
constexpr int32_t kLadenOffset = 3;
constexpr int32_t kPayloadRow = 81, kDamageRow = 91;
constexpr int32_t kPassengerY = 97, kPylonY = 111;

// A helicopter's figures as bar values: the seven pairs (empty, laden), payload and armour.
struct Figures {
  fixed pairs[ChopperSelectScreen::kPairs][2];
  fixed payload;
  fixed damage;
};

Figures FiguresOf(const ChopperDef& d) {
  Figures f{};
  for (int i = 0; i < 2; ++i) {
    f.pairs[0][i] = d.forwardSpeed[i];
    f.pairs[1][i] = d.reverseSpeed[i];
    f.pairs[2][i] = d.strafeSpeed[i];
    f.pairs[3][i] = d.climbRate[i];
    f.pairs[4][i] = d.turnRate[i];
    f.pairs[5][i] = d.acceleration[i];
    f.pairs[6][i] = IntToFixed(d.range[i]);
  }
  f.payload = IntToFixed(d.payload);
  f.damage = IntToFixed(d.damage);
  return f;
}

// Copies of `icon` side by side from x, as far as the screen reaches.
void DrawIconRow(Surface& surface, const Surface& icon, int32_t count, int32_t y) {
  if (icon.width == 0) return;
  for (int32_t i = 0, x = kBarX; i < count && x < surface.width; ++i, x += icon.width) DrawMaskedPicture(surface, icon, x, y);
}

}  // namespace

ChopperSelectScreen::ChopperSelectScreen(Application* app, MissionInstance* mission)
    : MenuScreen(app, FrameShown | FrameCancel, true), mission_(mission) {}

ChopperSelectScreen::~ChopperSelectScreen() = default;

bool ChopperSelectScreen::Enter() {
  MenuScreen::Enter();
  LoadProgramPicture(labels_, kLabels, kLabels + 1);
  LoadProgramPicture(legend_, kLegend, kLegend + 1);
  LoadProgramPicture(passengerIcon_, kPassengerIcon, kPassengerIcon + 1);
  LoadProgramPicture(pylonIcon_, kPylonIcon, kPylonIcon + 1);
  LoadProgramPicture(machineGunLabel_, kMachineGunLabel, kMachineGunLabel + 1);
  // Each bar's scale is the largest value of its figure among all the helicopters.
  for (const ChopperDef* chopper : application->registry.choppers) {
    const Figures f = FiguresOf(*chopper);
    for (int i = 0; i < kPairs; ++i) largest_[i] = std::max(largest_[i], f.pairs[i][0]);
    largest_[kPairs] = std::max(largest_[kPairs], f.payload);
    largest_[kPairs + 1] = std::max(largest_[kPairs + 1], f.damage);
  }
  Show(rememberedChopper);
  return true;
}

void ChopperSelectScreen::Show(uint16_t index) {
  const PtrArray<ChopperDef*>& choppers = application->registry.choppers;
  if (choppers.Empty()) {
    current_ = nullptr;
    SetFrameFlags(FrameShown | FrameCancel);
    SetBackground(nullptr);
    return;
  }
  if (index >= choppers.Count()) index = 0;
  rememberedChopper = index;
  current_ = choppers[index];
  SetFrameFlags(FrameShown | FrameCancel | FrameArrows | FrameOk);
  LoadPackSprite(title_, current_->pack, current_->titlePicture, current_->titleMask);
  SetBackground(PackBackground(current_->pack, current_->splashPicture));
  const Figures f = FiguresOf(*current_);
  for (int i = 0; i < kPairs; ++i) {
    shown_[2 * i].MoveTo(f.pairs[i][0]);
    shown_[2 * i + 1].MoveTo(f.pairs[i][1]);
  }
  shown_[2 * kPairs].MoveTo(f.payload);
  shown_[2 * kPairs + 1].MoveTo(f.damage);
}

Screen* ChopperSelectScreen::UpdateMenu(uint32_t elapsedMs, fixed) {
  const ScreenFactory& screens = application->screens;
  const uint16_t count = application->registry.choppers.Count();
  Screen* next = nullptr;
  const uint32_t clicked = TakeClick();
  switch (clicked) {
    case ButtonOk:
      if (current_ != nullptr && mission_ != nullptr) {
        auto* chopper = new Chopper(current_);
        chopper->Reset();
        next = screens.CreateLoadoutScreen(application, mission_.get(), chopper);
        if (next != nullptr) {
          mission_.release();  // the loadout screen owns it now
        } else {
          delete chopper;
        }
      }
      break;
    case ButtonCancel:
      mission_.reset();
      next = screens.CreateMissionSelectScreen(application);
      break;
    case ButtonNext:
    case ButtonPrevious:
      if (count != 0) Show(NeighbourIndex(rememberedChopper, count, clicked == ButtonNext));
      break;
    default:
      break;
  }
  for (ShownValue& value : shown_) value.Advance(elapsedMs);
  return next;
}

void ChopperSelectScreen::DrawMenu() {
  DepthSurface* surface = application->backSurface.get();
  if (surface == nullptr) return;
  if (current_ == nullptr) {
    DrawEmptyListNotice(*surface, u"No helicopters installed");
    return;
  }
  DrawMaskedPicture(*surface, title_, 130 - title_.width / 2, 265);
  DrawMaskedPicture(*surface, labels_, 25, 2);
  DrawMaskedPicture(*surface, legend_, surface->width - legend_.width, 2 + (labels_.height - legend_.height) / 2);
  if (current_->hasMachineGun) DrawMaskedPicture(*surface, machineGunLabel_, 25, labels_.height + 2);
  for (int i = 0; i < kPairs; ++i) {
    DrawFigureBar(*surface, kBarX, kPairRows[i], shown_[2 * i].value(), largest_[i], false);
    DrawFigureBar(*surface, kBarX, kPairRows[i] + kLadenOffset, shown_[2 * i + 1].value(), largest_[i], true);
  }
  DrawFigureBar(*surface, kBarX, kPayloadRow, shown_[2 * kPairs].value(), largest_[kPairs], false);
  DrawFigureBar(*surface, kBarX, kDamageRow, shown_[2 * kPairs + 1].value(), largest_[kPairs + 1], false);
  DrawIconRow(*surface, passengerIcon_, current_->passengers, kPassengerY);
  DrawIconRow(*surface, pylonIcon_, current_->pylons, kPylonY);
}

std::string ChopperSelectScreen::DescribeState() const {
  return MenuScreen::DescribeState() + ",\"chopper\":" + JsonString(current_ != nullptr ? current_->name : nullptr) +
         ",\"index\":" + std::to_string(rememberedChopper);
}
