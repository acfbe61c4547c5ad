#include "menus/popup_tree.h"

#include "app/application.h"
#include "menus/popup.h"

namespace {

// Picture numbers of the popup labels; each has its mask at the next number.
enum PopupPicture : uint16_t {
  PictureScramble = 1000,
  PictureOptions = 1020,
  PictureHelp = 1030,
  PictureExit = 1040,
  PictureGraphics = 1100,
  PictureSound = 1110,
  PictureIntro = 1120,
  PictureCredits = 1130,
  PictureBack = 1140,
  PictureInterlacedOn = 1200,
  PictureInterlacedOff = 1205,
  PictureOrientation = 1210,
  PictureDrawDistance = 1215,
  PictureImageQuality = 1220,
  PictureMuteOn = 1225,
  PictureMuteOff = 1230,
  PictureSkipIntroOn = 1240,
  PictureSkipIntroOff = 1245,
  PicturePortrait = 1300,
  PictureLandscape = 1310,
  PictureNormal = 1320,
  PictureLow = 1330,
  PictureHigh = 1340,
  PictureVeryHigh = 1350,
  PictureNear = 1360,
  PictureFar = 1370,
  PictureVeryFar = 1380,
  PictureQuit = 1400,
  PictureReallyQuit = 1410,
  PictureYes = 1420,
  PictureNo = 1430,
};

Widget* Button(uint16_t id, uint32_t kind, int16_t gap, uint16_t picture) {
  return new PictureButton(id, kind, gap, picture);
}
Widget* Label(uint16_t picture) { return new PictureButton(kLabelId, WidgetLabel, 0, picture); }
Widget* BackButton() { return Button(PopupBack, WidgetBack, 5, PictureBack); }

Popup* Finish(Popup* popup, Popup::SubPopupFactory subPopups = nullptr) {
  popup->SetSubPopups(subPopups);
  popup->Open();
  return popup;
}

// The settings each option widget reads and writes.
bool ReadInterlaced(const Settings& s) { return s.interlaced; }
void WriteInterlaced(Settings& s, bool v) { s.SetInterlaced(v); }
bool ReadLandscape(const Settings& s) { return s.screenMode == 1; }
void WriteLandscape(Settings& s, bool v) { s.SetScreenMode(v ? 1 : 0); }
bool ReadMute(const Settings& s) { return s.mute; }
void WriteMute(Settings& s, bool v) { s.SetMute(v); }
bool ReadSkipIntro(const Settings& s) { return s.skipIntro; }
void WriteSkipIntro(Settings& s, bool v) { s.SetSkipIntro(v); }
uint32_t ReadDrawDistance(const Settings& s) { return s.drawDistance; }
void WriteDrawDistance(Settings& s, uint32_t v) { s.SetDrawDistance(v); }
uint32_t ReadImageQuality(const Settings& s) { return s.imageQuality; }
void WriteImageQuality(Settings& s, uint32_t v) { s.SetImageQuality(v); }

Popup* CreateOrientationPopup(Application* app) {
  auto* popup = new Popup(app);
  popup->AddWidget(Label(PictureOrientation));
  popup->AddWidget(new Toggle(PopupOrientation, 0, PictureLandscape, PicturePortrait, app->settings.get(),
                              &ReadLandscape, &WriteLandscape, Toggle::Touch::LeftHalfIsZero));
  popup->AddWidget(BackButton());
  return Finish(popup);
}

Popup* CreateDrawDistancePopup(Application* app) {
  static constexpr uint16_t kPictures[] = {PictureNear, PictureNormal, PictureFar, PictureVeryFar};
  auto* popup = new Popup(app);
  popup->AddWidget(Label(PictureDrawDistance));
  popup->AddWidget(new Chooser(PopupDrawDistance, 0, kPictures, app->settings.get(), &ReadDrawDistance,
                               &WriteDrawDistance));
  popup->AddWidget(BackButton());
  return Finish(popup);
}

Popup* CreateImageQualityPopup(Application* app) {
  static constexpr uint16_t kPictures[] = {PictureLow, PictureNormal, PictureHigh, PictureVeryHigh};
  auto* popup = new Popup(app);
  popup->AddWidget(Label(PictureImageQuality));
  popup->AddWidget(new Chooser(PopupImageQuality, 0, kPictures, app->settings.get(), &ReadImageQuality,
                               &WriteImageQuality));
  popup->AddWidget(BackButton());
  return Finish(popup);
}

Popup* GraphicsSubPopup(Application* app, uint16_t id) {
  switch (id) {
    case PopupOrientation: return CreateOrientationPopup(app);
    case PopupDrawDistance: return CreateDrawDistancePopup(app);
    case PopupImageQuality: return CreateImageQualityPopup(app);
    default: return nullptr;
  }
}

Popup* CreateGraphicsPopup(Application* app) {
  auto* popup = new Popup(app);
  popup->AddWidget(Button(PopupOrientation, WidgetChooseAndClose, 0, PictureOrientation));
  popup->AddWidget(new Toggle(PopupInterlaced, 2, PictureInterlacedOn, PictureInterlacedOff, app->settings.get(),
                              &ReadInterlaced, &WriteInterlaced));
  popup->AddWidget(Button(PopupDrawDistance, WidgetChooseAndClose, 2, PictureDrawDistance));
  popup->AddWidget(Button(PopupImageQuality, WidgetChooseAndClose, 2, PictureImageQuality));
  popup->AddWidget(BackButton());
  return Finish(popup, &GraphicsSubPopup);
}

Popup* CreateSoundPopup(Application* app) {
  auto* popup = new Popup(app);
  popup->AddWidget(new Toggle(PopupMute, 0, PictureMuteOn, PictureMuteOff, app->settings.get(), &ReadMute, &WriteMute));
  popup->AddWidget(BackButton());
  return Finish(popup);
}

Popup* CreateIntroPopup(Application* app) {
  auto* popup = new Popup(app);
  popup->AddWidget(new Toggle(PopupSkipIntro, 0, PictureSkipIntroOn, PictureSkipIntroOff, app->settings.get(),
                              &ReadSkipIntro, &WriteSkipIntro));
  popup->AddWidget(BackButton());
  return Finish(popup);
}

Popup* OptionsSubPopup(Application* app, uint16_t id) {
  switch (id) {
    case PopupGraphics: return CreateGraphicsPopup(app);
    case PopupSound: return CreateSoundPopup(app);
    case PopupIntro: return CreateIntroPopup(app);
    default: return nullptr;
  }
}

Popup* CreateOptionsPopup(Application* app) {
  auto* popup = new Popup(app);
  popup->AddWidget(Button(PopupGraphics, WidgetChooseAndClose, 0, PictureGraphics));
  popup->AddWidget(Button(PopupSound, WidgetChooseAndClose, 2, PictureSound));
  popup->AddWidget(Button(PopupIntro, WidgetChooseAndClose, 2, PictureIntro));
  popup->AddWidget(Button(PopupCredits, WidgetChooseAndClose, 2, PictureCredits));
  popup->AddWidget(BackButton());
  return Finish(popup, &OptionsSubPopup);
}

Popup* TitleSubPopup(Application* app, uint16_t id) {
  return id == PopupOptions ? CreateOptionsPopup(app) : nullptr;
}

Popup* CreateQuitPopup(Application* app) {
  auto* popup = new Popup(app);
  popup->AddWidget(Label(PictureReallyQuit));
  popup->AddWidget(Button(PopupExit, WidgetChooseAndClose, 5, PictureYes));
  popup->AddWidget(Button(PopupBack, WidgetBack, 2, PictureNo));
  return Finish(popup);
}

Popup* InGameSubPopup(Application* app, uint16_t id) {
  switch (id) {
    case PopupGraphics: return CreateGraphicsPopup(app);
    case PopupSound: return CreateSoundPopup(app);
    case PopupQuit: return CreateQuitPopup(app);
    default: return nullptr;
  }
}

}  // namespace

Popup* CreateTitleMenu(Application* app) {
  auto* popup = new Popup(app);
  popup->AddWidget(Button(PopupScramble, WidgetChooseAndClose, 0, PictureScramble));
  popup->AddWidget(Button(PopupOptions, WidgetChooseAndClose, 2, PictureOptions));
  popup->AddWidget(Button(PopupHelp, WidgetChooseAndClose, 2, PictureHelp));
  popup->AddWidget(Button(PopupExit, WidgetChooseAndClose, 2, PictureExit));
  return Finish(popup, &TitleSubPopup);
}

Popup* CreateInGameMenu(Application* app) {
  auto* popup = new Popup(app);
  popup->AddWidget(Button(PopupGraphics, WidgetChooseAndClose, 0, PictureGraphics));
  popup->AddWidget(Button(PopupSound, WidgetChooseAndClose, 2, PictureSound));
  popup->AddWidget(Button(PopupQuit, WidgetChooseAndClose, 2, PictureQuit));
  popup->AddWidget(Button(PopupBack, WidgetChooseAndClose, 5, PictureBack));
  return Finish(popup, &InGameSubPopup);
}
