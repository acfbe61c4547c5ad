#include <gtest/gtest.h>

#include <filesystem>

#include "app/application.h"
#include "../app/app_test_support.h"
#include "menus/popup.h"
#include "platform/headless/headless_platform.h"

namespace {

// The test pictures: 101 is 16 x 8 with its mask at 102; the chooser's bar (900) is 100 wide.
constexpr uint16_t kPicture = 101;

bool ReadMute(const Settings& s) { return s.mute; }
void WriteMute(Settings& s, bool v) { s.SetMute(v); }
uint32_t ReadDrawDistance(const Settings& s) { return s.drawDistance; }
void WriteDrawDistance(Settings& s, uint32_t v) { s.SetDrawDistance(v); }

class PopupTest : public testing::Test {
 protected:
  PopupTest() : application(&platform, ScreenFactory{}, home.SettingsPath()) {
    EXPECT_TRUE(application.Create(u"KestrelR", u"Kestrel Run"));
  }

  // Runs frames of `step` ms for `ms`; returns whether the popup still runs.
  bool Run(Popup& popup, uint32_t ms, uint32_t step = 32) {
    bool running = true;
    for (uint32_t t = 0; t < ms; t += step) running = popup.Update(step, 0);
    return running;
  }

  // Presses the stylus on the centre of a widget for one frame and lifts it in the next.
  bool Tap(Popup& popup, const Widget& widget) {
    application.penDown = 1;
    application.penX = static_cast<int16_t>(120 + widget.width / 2 - widget.width / 2);
    application.penY = static_cast<int16_t>(Popup::kOriginYPortrait + widget.y + widget.height / 2);
    const bool running = popup.Update(32, 0);
    application.penDown = 0;
    return running;
  }

  TemporaryHome home;
  HeadlessPlatform platform;
  Application application;
};

TEST_F(PopupTest, FourWidgetsAreInPlace896MillisecondsAfterOpening) {
  Popup popup(&application);
  for (int i = 0; i < 4; ++i) popup.AddWidget(new PictureButton(static_cast<uint16_t>(10 + i), WidgetChooseAndClose, 2, kPicture));
  popup.Open();
  const Widget& last = *popup.widgets()[3];
  EXPECT_EQ(last.delay, 384);
  EXPECT_EQ(popup.widgets()[1]->y, 2 + 8 + 2);  // laid out below the one above, after its gap
  Run(popup, 864);
  EXPECT_GT(last.slide.y, 0);
  EXPECT_EQ(popup.widgets()[2]->slide.y, 0);
  Run(popup, 32);
  EXPECT_EQ(last.slide.y, 0);
  EXPECT_EQ(last.flags, Widget::Shown | Widget::Active);
}

TEST_F(PopupTest, HoldingTheStylusReportsOncePerPress) {
  Popup popup(&application);
  popup.AddWidget(new PictureButton(70, WidgetOption, 0, kPicture));
  popup.Open();
  Run(popup, 600);
  const Widget& button = *popup.widgets()[0];
  application.penDown = 1;
  application.penX = 120;
  application.penY = static_cast<int16_t>(Popup::kOriginYPortrait + button.y + 2);
  popup.Update(32, 0);
  EXPECT_EQ(popup.Result(), 70);
  EXPECT_EQ(popup.Result(), 0);  // reported once
  popup.Update(32, 0);
  EXPECT_EQ(popup.Result(), 0);  // still held: nothing new
  application.penDown = 0;
  popup.Update(32, 0);
  application.penDown = 1;
  popup.Update(32, 0);
  EXPECT_EQ(popup.Result(), 70);  // pressed again
}

TEST_F(PopupTest, ChooseAndCloseReportsOnceTheWidgetsHaveSlidOut) {
  Popup popup(&application);
  popup.AddWidget(new PictureButton(100, WidgetChooseAndClose, 0, kPicture));
  popup.AddWidget(new PictureButton(140, WidgetChooseAndClose, 2, kPicture));
  popup.Open();
  Run(popup, 700);
  EXPECT_TRUE(Tap(popup, *popup.widgets()[1]));
  EXPECT_EQ(popup.chosenId(), 140);
  EXPECT_EQ(popup.Result(), 0);  // still sliding out
  EXPECT_FALSE(Run(popup, 544));
  EXPECT_EQ(popup.Result(), 140);
}

Popup* ChildFactory(Application* application, uint16_t id) {
  if (id != 120) return nullptr;
  auto* child = new Popup(application);
  child->AddWidget(new PictureButton(200, WidgetChooseAndClose, 0, kPicture));
  child->AddWidget(new PictureButton(150, WidgetBack, 5, kPicture));
  child->Open();
  return child;
}

TEST_F(PopupTest, BackSlidesTheParentInAgain) {
  Popup popup(&application);
  popup.SetSubPopups(&ChildFactory);
  popup.AddWidget(new PictureButton(120, WidgetChooseAndClose, 0, kPicture));
  popup.AddWidget(new PictureButton(140, WidgetChooseAndClose, 2, kPicture));
  popup.Open();
  Run(popup, 700);
  Tap(popup, *popup.widgets()[0]);
  EXPECT_TRUE(Run(popup, 600));
  ASSERT_EQ(popup.Depth(), 2);
  EXPECT_EQ(popup.widgets()[0]->flags & Widget::Shown, 0);  // the parent hides while its child shows
  Run(popup, 700);
  const Popup& child = *popup.Innermost();
  EXPECT_TRUE(Tap(popup, *child.widgets()[1]));
  EXPECT_TRUE(Run(popup, 600));
  EXPECT_EQ(popup.Depth(), 1);
  EXPECT_NE(popup.widgets()[0]->flags & Widget::Shown, 0);
  EXPECT_EQ(popup.Result(), 0);
}

TEST_F(PopupTest, AChildsChoiceBecomesTheParents) {
  Popup popup(&application);
  popup.SetSubPopups(&ChildFactory);
  popup.AddWidget(new PictureButton(120, WidgetChooseAndClose, 0, kPicture));
  popup.Open();
  Run(popup, 600);
  Tap(popup, *popup.widgets()[0]);
  Run(popup, 1200);
  Tap(popup, *popup.Innermost()->widgets()[0]);
  EXPECT_FALSE(Run(popup, 600));
  EXPECT_EQ(popup.Depth(), 1);
  EXPECT_EQ(popup.Result(), 200);
}

TEST_F(PopupTest, ChooserValueFromThePenPosition) {
  const struct {
    int32_t penX;
    uint32_t value;
  } cases[] = {{50, 0}, {100, 0}, {121, 0}, {122, 1}, {154, 1}, {155, 2}, {187, 2}, {188, 3}, {400, 3}};
  for (const auto& c : cases) EXPECT_EQ(Chooser::ValueAt(c.penX, 100), c.value) << c.penX;
}

TEST_F(PopupTest, ChooserChangesReportAtOnceAndThePopupStays) {
  static constexpr uint16_t kValues[] = {kPicture, kPicture, kPicture, kPicture};
  Popup popup(&application);
  popup.AddWidget(new Chooser(320, 0, kValues, application.settings.get(), &ReadDrawDistance, &WriteDrawDistance));
  popup.AddWidget(new PictureButton(150, WidgetBack, 5, kPicture));  // a popup runs while others show
  popup.Open();
  Run(popup, 600);
  const Widget& chooser = *popup.widgets()[0];
  const int32_t barRight = 120 + chooser.width - chooser.width / 2;
  EXPECT_EQ(chooser.width, 100);        // as wide as the bar, the widest of its pictures
  EXPECT_EQ(chooser.height, 8 + 10);   // the value's picture over the bar's row (the knob's height)
  application.penDown = 1;
  application.penY = static_cast<int16_t>(Popup::kOriginYPortrait + chooser.y);
  application.penX = static_cast<int16_t>(barRight - 100);  // the left end of the bar
  EXPECT_TRUE(popup.Update(32, 0));
  EXPECT_EQ(application.settings->drawDistance, 0u);
  EXPECT_EQ(popup.Result(), 320);
  application.penX = static_cast<int16_t>(barRight);  // dragged to the right end
  EXPECT_TRUE(popup.Update(32, 0));
  EXPECT_EQ(application.settings->drawDistance, 3u);
  EXPECT_EQ(popup.Result(), 320);
  EXPECT_TRUE(popup.Update(32, 0));
  EXPECT_EQ(popup.Result(), 0);  // no change, no report
  EXPECT_TRUE(application.settings->dirty);
}

TEST_F(PopupTest, SettingsAreSavedOnCloseOnlyWhenChanged) {
  for (bool change : {false, true}) {
    std::filesystem::remove(home.SettingsPath());
    application.settings->dirty = false;
    Popup popup(&application);
    popup.AddWidget(new Toggle(340, 0, kPicture, kPicture, application.settings.get(), &ReadMute, &WriteMute));
    popup.AddWidget(new PictureButton(150, WidgetBack, 5, kPicture));
    popup.Open();
    Run(popup, 700);
    const bool before = application.settings->mute;
    if (change) {
      Tap(popup, *popup.widgets()[0]);
      EXPECT_NE(application.settings->mute, before);
      EXPECT_FALSE(std::filesystem::exists(home.SettingsPath()));  // not yet: the popup is open
    }
    Tap(popup, *popup.widgets()[1]);
    EXPECT_FALSE(Run(popup, 600));
    EXPECT_EQ(std::filesystem::exists(home.SettingsPath()), change);
    EXPECT_FALSE(application.settings->dirty);
  }
}

TEST_F(PopupTest, HalfToggleTakesTheValueOfTheHalfTouched) {
  bool landscape = false;
  static bool* state = &landscape;
  Popup popup(&application);
  popup.AddWidget(new Toggle(
      310, 0, kPicture, kPicture, application.settings.get(), [](const Settings&) { return *state; },
      [](Settings&, bool v) { *state = v; }, Toggle::Touch::LeftHalfIsZero));
  popup.Open();
  Run(popup, 600);
  const Widget& toggle = *popup.widgets()[0];
  application.penDown = 1;
  application.penY = static_cast<int16_t>(Popup::kOriginYPortrait + toggle.y + 1);
  application.penX = static_cast<int16_t>(120 + 2);  // right half
  popup.Update(32, 0);
  EXPECT_TRUE(landscape);
  application.penDown = 0;
  popup.Update(32, 0);
  application.penDown = 1;
  application.penX = static_cast<int16_t>(120 - 6);  // left half
  popup.Update(32, 0);
  EXPECT_FALSE(landscape);
}

}  // namespace
