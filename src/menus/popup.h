// Popup menus: columns of picture buttons and option widgets that slide in from the right, one
// after another, and slide out again when a button is chosen.
//
// A button may open a sub-popup, so popups form a stack in which only the innermost one is shown
// and touched; each popup owns its open child. Option widgets (toggles and four-step choosers)
// write straight into the Settings and mark them changed. Every label is one of the program's
// pictures (colour at its number, mask at the next), so popups hold no text of their own.
#pragma once

#include <cstdint>
#include <memory>

#include "core/fixed.h"
#include "core/linear_map.h"
#include "core/ptr_array.h"
#include "gfx/surface.h"

class Application;
class Settings;

enum WidgetKind : uint32_t {
  WidgetLabel = 0,           // shows a picture; choosing it changes nothing
  WidgetChooseAndClose = 1,  // reports its id once the popup has slid out
  WidgetBack = 2,            // closes the popup and shows its parent again
  WidgetOption = 3,          // reports a change at once; the popup stays
};

// The id every pure label carries.
constexpr uint16_t kLabelId = 1;

class Widget {
 public:
  enum Flags : uint16_t { Shown = 1u << 0, Active = 1u << 1 };

  // Slide timing: 512 ms per slide over 320 pixels, each widget 128 ms after the one above.
  static constexpr int32_t kSlideMs = 512;
  static constexpr int32_t kSlideDistance = 320;
  static constexpr uint16_t kStaggerMs = 128;

  Widget(uint16_t id, uint32_t kind, int16_t gap) : id(id), kind(kind), gap(gap) {}
  virtual ~Widget() = default;
  Widget(const Widget&) = delete;
  Widget& operator=(const Widget&) = delete;

  // The id to report when the pen chose or changed this widget in this frame, else 0.
  virtual uint16_t Pen(bool penDown, int32_t penX, int32_t penY, int32_t centreX, int32_t top) = 0;
  virtual void Draw(Surface& surface, int32_t centreX, int32_t top, uint16_t chosenId, bool blinkPhase) const = 0;

  // Counts the delay down, then slides; returns whether the widget is still shown.
  bool Animate(uint32_t elapsedMs);
  void SlideIn(uint16_t delayMs);
  void SlideOut();

  int32_t Left(int32_t centreX) const { return centreX + static_cast<int32_t>(slide.y >> 16) - width / 2; }
  bool Inside(int32_t penX, int32_t penY, int32_t centreX, int32_t top) const;

  uint16_t id;
  uint32_t kind;
  int16_t gap;  // pixels of space above the widget
  uint16_t flags = 0;
  uint16_t delay = 0;  // ms before its slide starts
  int16_t y = 0;       // top, relative to the popup's top
  int16_t width = 0;
  int16_t height = 0;
  LinearMap slide;  // time in ms -> horizontal offset in pixels
  bool pressed = false;
};

// A picture with its mask; a label is a picture button with id kLabelId and kind WidgetLabel.
class PictureButton : public Widget {
 public:
  PictureButton(uint16_t id, uint32_t kind, int16_t gap, uint16_t pictureId);
  uint16_t Pen(bool penDown, int32_t penX, int32_t penY, int32_t centreX, int32_t top) override;
  void Draw(Surface& surface, int32_t centreX, int32_t top, uint16_t chosenId, bool blinkPhase) const override;

 private:
  Surface picture_;
};

// Two pictures, one per value; a press flips the value (or, split into halves, picks the half's).
class Toggle : public Widget {
 public:
  enum class Touch { Flip, LeftHalfIsZero };
  // `read` and `write` connect the toggle to its setting.
  Toggle(uint16_t id, int16_t gap, uint16_t pictureOn, uint16_t pictureOff, Settings* settings,
         bool (*read)(const Settings&), void (*write)(Settings&, bool), Touch touch = Touch::Flip);
  uint16_t Pen(bool penDown, int32_t penX, int32_t penY, int32_t centreX, int32_t top) override;
  void Draw(Surface& surface, int32_t centreX, int32_t top, uint16_t chosenId, bool blinkPhase) const override;

 private:
  Surface pictureOn_;
  Surface pictureOff_;
  Settings* settings_;
  bool (*read_)(const Settings&);
  void (*write_)(Settings&, bool);
  Touch touch_;
};

// A four-step value: its picture over a 100-pixel bar with a knob at value / 3 of the way. The
// bar sits at the widget's right end; the whole widget takes the pen.
class Chooser : public Widget {
 public:
  static constexpr int32_t kMaximum = 3;
  static constexpr int32_t kBarLength = 100;

  Chooser(uint16_t id, int16_t gap, const uint16_t (&valuePictures)[kMaximum + 1], Settings* settings,
          uint32_t (*read)(const Settings&), void (*write)(Settings&, uint32_t));
  uint16_t Pen(bool penDown, int32_t penX, int32_t penY, int32_t centreX, int32_t top) override;
  void Draw(Surface& surface, int32_t centreX, int32_t top, uint16_t chosenId, bool blinkPhase) const override;

  // The value a pen at penX picks on a bar starting at barLeft.
  static uint32_t ValueAt(int32_t penX, int32_t barLeft);

 private:
  int32_t BarLeft(int32_t centreX) const { return Left(centreX) + width - bar_.width; }
  int32_t BarRowHeight() const;

  Surface valuePictures_[kMaximum + 1];
  Surface bar_;
  Surface knob_;
  Settings* settings_;
  uint32_t (*read_)(const Settings&);
  void (*write_)(Settings&, uint32_t);
};

class Popup {
 public:
  // Top of every popup: 140 on the portrait surface, 50 in landscape.
  static constexpr int16_t kOriginYPortrait = 140;
  static constexpr int16_t kOriginYLandscape = 50;

  explicit Popup(Application* application);
  ~Popup();
  Popup(const Popup&) = delete;
  Popup& operator=(const Popup&) = delete;

  // Lays the widgets out top to bottom and slides them in, one after another.
  void Open();
  // Slides every widget out (or asks the open child to).
  void Close();
  // One frame: true while the popup is still running. A popup that stopped with a choice that
  // opens a sub-popup opens it and goes on; one that stops for good saves changed settings.
  bool Update(uint32_t elapsedMs, fixed frameSeconds);
  // What the popup's user acts on this frame: a chosen or changed id, or 0.
  uint16_t Result();
  // Draws the innermost popup.
  void Draw(Surface& surface) const;

  void AddWidget(Widget* widget);
  // Which chosen ids open a sub-popup: the factory returns the new popup, opened, or null.
  using SubPopupFactory = Popup* (*)(Application* application, uint16_t chosenId);
  void SetSubPopups(SubPopupFactory factory) { subPopups_ = factory; }
  const Popup* Innermost() const { return child_ ? child_->Innermost() : this; }
  int Depth() const { return child_ ? 1 + child_->Depth() : 1; }
  uint16_t chosenId() const { return chosenId_; }
  uint32_t state() const { return state_; }
  const PtrArray<Widget*>& widgets() const { return widgets_; }

 private:
  int32_t CentreX() const;
  int32_t Top() const;
  // The popup's own frame, without sub-popups being opened: true while it runs.
  bool UpdateOwn(uint32_t elapsedMs, fixed frameSeconds);
  // True while a widget other than the chosen one is shown.
  bool AnyOtherWidgetShown() const;
  void ResetChoice() {
    state_ = 0;
    chosenId_ = 0;
  }

  Application* application_;
  SubPopupFactory subPopups_ = nullptr;
  std::unique_ptr<Popup> child_;
  PtrArray<Widget*> widgets_;
  uint32_t state_ = 0;  // 0 idle, else the kind of the widget last chosen
  uint16_t chosenId_ = 0;
};
