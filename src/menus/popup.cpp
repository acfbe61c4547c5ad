#include "menus/popup.h"

#include <algorithm>

#include "app/application.h"
#include "content/pictures.h"
#include "gfx/blit.h"

namespace {

constexpr fixed Pixels(int32_t n) { return IntToFixed(n); }

void DrawMasked(Surface& target, const Surface& picture, int32_t x, int32_t y) {
  BlitAlpha(target, x, y, picture, 0, 0, picture.width, picture.height);
}

// A picture and, at the next number, its mask.
void LoadLabel(Surface& target, uint16_t pictureId) {
  LoadProgramPicture(target, pictureId, static_cast<uint32_t>(pictureId) + 1);
}

int16_t Narrow(int32_t value) { return static_cast<int16_t>(std::clamp<int32_t>(value, INT16_MIN, INT16_MAX)); }

}  // namespace

// --- Widget ----------------------------------------------------------------------------------

void Widget::SlideIn(uint16_t delayMs) {
  delay = delayMs;
  flags = Shown | Active;
  slide.Init(0, IntToFixed(kSlideMs), Pixels(kSlideDistance), 0);
}

void Widget::SlideOut() {
  slide.Init(0, IntToFixed(kSlideMs), slide.y, Pixels(-kSlideDistance));
  flags &= static_cast<uint16_t>(~Active);
}

bool Widget::Animate(uint32_t elapsedMs) {
  if (!(flags & Shown)) return false;
  uint32_t sliding = elapsedMs;
  if (delay >= elapsedMs) {
    delay = static_cast<uint16_t>(delay - elapsedMs);
    sliding = 0;
  } else {
    sliding = elapsedMs - delay;
    delay = 0;
  }
  if (sliding > 0) slide.Advance(sliding);
  if (slide.x == slide.x1 && !(flags & Active)) flags &= static_cast<uint16_t>(~Shown);
  return (flags & Shown) != 0;
}

bool Widget::Inside(int32_t penX, int32_t penY, int32_t centreX, int32_t top) const {
  const int32_t left = Left(centreX);
  const int32_t widgetTop = top + y;
  return penX >= left && penX < left + width && penY >= widgetTop && penY < widgetTop + height;
}

PictureButton::PictureButton(uint16_t id, uint32_t kind, int16_t gap, uint16_t pictureId) : Widget(id, kind, gap) {
  LoadLabel(picture_, pictureId);
  width = static_cast<int16_t>(picture_.width);
  height = static_cast<int16_t>(picture_.height);
}

uint16_t PictureButton::Pen(bool penDown, int32_t penX, int32_t penY, int32_t centreX, int32_t top) {
  if (!penDown) {
    pressed = false;
    return 0;
  }
  if (!(flags & Active) || pressed || !Inside(penX, penY, centreX, top)) return 0;
  pressed = true;  // one report per press
  return id;
}

void PictureButton::Draw(Surface& surface, int32_t centreX, int32_t top, uint16_t chosenId, bool blinkPhase) const {
  if (!(flags & Shown)) return;
  // The chosen button flashes while the popup slides out.
  if (kind == WidgetChooseAndClose && id == chosenId && !blinkPhase) return;
  DrawMasked(surface, picture_, Left(centreX), top + y);
}

Toggle::Toggle(uint16_t id, int16_t gap, uint16_t pictureOn, uint16_t pictureOff, Settings* settings,
               bool (*read)(const Settings&), void (*write)(Settings&, bool), Touch touch)
    : Widget(id, WidgetOption, gap), settings_(settings), read_(read), write_(write), touch_(touch) {
  LoadLabel(pictureOn_, pictureOn);
  LoadLabel(pictureOff_, pictureOff);
  width = static_cast<int16_t>(std::max(pictureOn_.width, pictureOff_.width));
  height = static_cast<int16_t>(std::max(pictureOn_.height, pictureOff_.height));
}

uint16_t Toggle::Pen(bool penDown, int32_t penX, int32_t penY, int32_t centreX, int32_t top) {
  if (!penDown) {
    pressed = false;
    return 0;
  }
  if (!(flags & Active) || pressed || !Inside(penX, penY, centreX, top)) return 0;
  pressed = true;
  const bool value = touch_ == Touch::Flip ? !read_(*settings_) : penX >= Left(centreX) + width / 2;
  write_(*settings_, value);
  return id;
}

void Toggle::Draw(Surface& surface, int32_t centreX, int32_t top, uint16_t, bool) const {
  if (!(flags & Shown)) return;
  DrawMasked(surface, read_(*settings_) ? pictureOn_ : pictureOff_, Left(centreX), top + y);
}

Chooser::Chooser(uint16_t id, int16_t gap, const uint16_t (&valuePictures)[kMaximum + 1], Settings* settings,
                 uint32_t (*read)(const Settings&), void (*write)(Settings&, uint32_t))
    : Widget(id, WidgetOption, gap), settings_(settings), read_(read), write_(write) {
  int32_t widest = 0;
  int32_t tallest = 0;
  for (int i = 0; i <= kMaximum; ++i) {
    LoadLabel(valuePictures_[i], valuePictures[i]);
    widest = std::max<int32_t>(widest, valuePictures_[i].width);
    tallest = std::max<int32_t>(tallest, valuePictures_[i].height);
  }
  LoadLabel(bar_, 900);
  LoadLabel(knob_, 910);
  // The value's picture on top, the bar under it at the right end, with room for the knob.
  width = Narrow(std::max<int32_t>(widest, bar_.width));
  height = Narrow(tallest + BarRowHeight());
}

uint32_t Chooser::ValueAt(int32_t penX, int32_t barLeft) {
  // Half a step to the right, so the pen picks the value whose knob position is nearest.
  const int32_t halfStep = kBarLength / (kMaximum + 1) / 2;
  const int32_t offset = std::clamp(penX + halfStep - barLeft, 0, kBarLength);
  return static_cast<uint32_t>(std::min(kMaximum, offset * kMaximum / kBarLength));
}

int32_t Chooser::BarRowHeight() const { return std::max<int32_t>(bar_.height, knob_.height); }

uint16_t Chooser::Pen(bool penDown, int32_t penX, int32_t penY, int32_t centreX, int32_t top) {
  if (!penDown || !(flags & Active) || penY < top + y || penY >= top + y + height) return 0;
  // The bar's own picture may be wider than its 100-pixel run (rounded ends): centre the run.
  const int32_t runLeft = BarLeft(centreX) + std::max(0, bar_.width - kBarLength) / 2;
  const uint32_t value = ValueAt(penX, runLeft);
  if (value == read_(*settings_)) return 0;
  write_(*settings_, value);
  return id;
}

void Chooser::Draw(Surface& surface, int32_t centreX, int32_t top, uint16_t, bool) const {
  if (!(flags & Shown)) return;
  const uint32_t value = std::min<uint32_t>(read_(*settings_), kMaximum);
  const Surface& picture = valuePictures_[value];
  const int32_t left = Left(centreX);
  const int32_t widgetTop = top + y;
  DrawMasked(surface, picture, left + (width - picture.width) / 2, widgetTop);
  const int32_t barRowTop = widgetTop + height - BarRowHeight();
  const int32_t barLeft = BarLeft(centreX);
  DrawMasked(surface, bar_, barLeft, barRowTop + (BarRowHeight() - bar_.height) / 2);
  const int32_t runLeft = barLeft + std::max(0, bar_.width - kBarLength) / 2;
  const int32_t knobCentre = runLeft + static_cast<int32_t>(value) * kBarLength / kMaximum;
  DrawMasked(surface, knob_, knobCentre - knob_.width / 2, barRowTop + (BarRowHeight() - knob_.height) / 2);
}

// --- Popup -----------------------------------------------------------------------------------

Popup::Popup(Application* application) : application_(application) {}

Popup::~Popup() { widgets_.DeleteAll(); }

void Popup::AddWidget(Widget* widget) {
  if (!widgets_.Append(widget)) delete widget;
}

int32_t Popup::CentreX() const {
  const DepthSurface* surface = application_->backSurface.get();
  return surface != nullptr ? surface->width / 2 : 120;
}

int32_t Popup::Top() const {
  return application_->screenMode != ScreenModePortrait ? kOriginYLandscape : kOriginYPortrait;
}

void Popup::Open() {
  int32_t y = 0;
  uint16_t delay = 0;
  for (Widget* widget : widgets_) {
    y += widget->gap;
    widget->y = Narrow(y);
    y += widget->height;
    widget->SlideIn(delay);
    delay = static_cast<uint16_t>(delay + Widget::kStaggerMs);
  }
}

void Popup::Close() {
  if (child_ != nullptr) {
    child_->Close();
    return;
  }
  for (Widget* widget : widgets_) widget->SlideOut();
}

bool Popup::AnyOtherWidgetShown() const {
  for (const Widget* widget : widgets_) {
    if ((widget->flags & Widget::Shown) && widget->id != chosenId_) return true;
  }
  return false;
}

bool Popup::UpdateOwn(uint32_t elapsedMs, fixed frameSeconds) {
  if (child_ != nullptr) {
    if (child_->Update(elapsedMs, frameSeconds)) return true;
    if (child_->state_ == WidgetBack) {
      Open();  // back: this popup slides in again
    } else {
      state_ = child_->state_;
      chosenId_ = child_->chosenId_;
    }
    child_.reset();
  } else {
    const Application& app = *application_;
    const int32_t centreX = CentreX();
    const int32_t top = Top();
    for (Widget* widget : widgets_) {
      const uint16_t id = widget->Pen(app.penDown != 0, app.penX, app.penY, centreX, top);
      if (id == 0) continue;
      chosenId_ = id;
      state_ = widget->kind;
      if (state_ == WidgetChooseAndClose || state_ == WidgetBack) Close();
      break;
    }
    for (Widget* widget : widgets_) widget->Animate(elapsedMs);
  }
  return AnyOtherWidgetShown();
}

bool Popup::Update(uint32_t elapsedMs, fixed frameSeconds) {
  if (UpdateOwn(elapsedMs, frameSeconds)) return true;
  if (subPopups_ != nullptr && state_ == WidgetChooseAndClose) {
    if (Popup* sub = subPopups_(application_, chosenId_)) {
      child_.reset(sub);
      for (Widget* widget : widgets_) widget->flags &= static_cast<uint16_t>(~Widget::Shown);
      ResetChoice();
      return true;
    }
  }
  Settings& settings = *application_->settings;
  if ((state_ == WidgetChooseAndClose || state_ == WidgetBack) && settings.dirty) settings.Save();
  return false;
}

uint16_t Popup::Result() {
  if (child_ != nullptr) return child_->Result();
  uint16_t result = 0;
  if (state_ == WidgetOption || (state_ == WidgetChooseAndClose && !AnyOtherWidgetShown())) {
    result = chosenId_;
    ResetChoice();
  }
  return result;
}

void Popup::Draw(Surface& surface) const {
  if (child_ != nullptr) {
    child_->Draw(surface);
    return;
  }
  const bool blinkPhase = (application_->tickTime & 0x80) != 0;
  const int32_t centreX = CentreX();
  const int32_t top = Top();
  for (const Widget* widget : widgets_) widget->Draw(surface, centreX, top, chosenId_, blinkPhase);
}
