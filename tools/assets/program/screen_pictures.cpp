// The full-screen pictures (240 x 320) and the pictures drawn over them: the maker's logo (100),
// the title art (112) with its overlay (110/111), the title screen's logo (150/151), the
// credits (160, 161), the key layouts (180, 181), the mission stamps (400-403) and the title
// screen's slides (500-505).
//
// Screens with the menu frame keep their text inside it: right of the left rail (x >= 14),
// above the bottom rail, and clear of the OK button (x < 186 below y = 264).
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "noise.h"
#include "picture_set.h"
#include "scenery.h"
#include "ui_style.h"

namespace {

constexpr int kScreenWidth = 240;
constexpr int kScreenHeight = 320;
const PictureGroup kGroup = PictureGroup::Screens;

// "KESTREL RUN" in the game's font at `scale`, filled with a bright-to-deep green gradient, a
// dark outline and a soft green glow, centred on cx with its top row at y.
void PaintTitleLettering(Canvas& canvas, const char* text, int cx, int y, int scale) {
  TextStyle style;
  style.scaleX = scale;
  style.scaleY = scale;
  const Coverage ink = TextCoverage(style, text);
  const int pad = 2 + scale * 2;
  Coverage padded(ink.width() + 2 * pad, ink.height() + 2 * pad);
  for (int py = 0; py < ink.height(); ++py) {
    for (int px = 0; px < ink.width(); ++px) padded.Set(px + pad, py + pad, ink.At(px, py));
  }
  const int left = cx - ink.width() / 2 - pad, top = y - pad;
  canvas.FillCoverage(padded.Dilated(scale).Blurred(scale), left, top, ui::TextGreen(), 0.55);
  canvas.FillCoverage(padded.Dilated(std::max(1, scale / 2)), left, top, ui::Ink(), 0.95);
  const double capitals = 7.0 * scale;
  canvas.FillCoverage(ink, left + pad, top + pad, [=](double, double py) {
    const double t = (py - y) / capitals;
    if (t < 0.45) return Mix(RgbBytes(235, 255, 235), ui::TitleGreen(), t / 0.45);
    return Mix(ui::TextGreen(), RgbBytes(20, 130, 30), (t - 0.45) / 0.55);
  });
}

// A line of small text with a dark outline, readable over any picture.
void PaintOutlinedText(Canvas& canvas, const char* text, int x, int y, Align align, Rgb colour,
                       const Font* font = &kSqTinyFont, int scale = 1) {
  TextStyle style;
  style.font = font;
  style.scaleX = scale;
  style.scaleY = scale;
  style.colour = colour;
  style.outline = 1;
  style.outlineColour = ui::Ink();
  style.outlineOpacity = 0.85;
  canvas.Text(style, text, x, y, align);
}

// --- Scenes -----------------------------------------------------------------------------------

struct HillLayer {
  double baseY, amplitude, wavelength;
  Rgb top, bottom;
  uint32_t seed;
};

struct SmokeColumn {
  double x, groundY, height, drift, width;
  Rgb dark, light;
  double opacity;
  bool fire;
  uint32_t seed;
};

struct Flier {
  HelicopterPose pose;
  Rgb colour;
};

struct Scene {
  std::vector<SkyStop> sky;
  bool sun = false;
  double sunX = 0, sunY = 0, sunRadius = 0;
  Rgb sunColour;
  double glowRadius = 0, glow = 0;
  bool clouds = false;
  double cloudTop = 0, cloudBottom = 0, cloudThreshold = 0.6;
  Rgb cloudLit, cloudShade;
  double cloudOpacity = 0.8;
  std::vector<HillLayer> hills;  // far to near
  std::function<void(Canvas&)> afterHills;  // water, buildings, lights
  std::vector<SmokeColumn> smoke;
  std::vector<Flier> fliers;  // far to near
  std::function<void(Canvas&)> last;  // rocket trails, searchlights
};

Canvas PaintScene(const Scene& scene) {
  Canvas canvas(kScreenWidth, kScreenHeight);
  PaintSky(canvas, scene.sky);
  if (scene.sun) PaintSun(canvas, scene.sunX, scene.sunY, scene.sunRadius, scene.sunColour, scene.glowRadius, scene.glow);
  if (scene.clouds) {
    PaintClouds(canvas, scene.cloudTop, scene.cloudBottom, scene.cloudThreshold, scene.cloudLit, scene.cloudShade,
                scene.cloudOpacity, 77);
  }
  size_t smokeIndex = 0;
  for (size_t layer = 0; layer < scene.hills.size(); ++layer) {
    const HillLayer& hill = scene.hills[layer];
    PaintHills(canvas, hill.baseY, hill.amplitude, hill.wavelength, hill.top, hill.bottom, hill.seed);
    // Smoke rising from behind the nearest hills is painted before them.
    if (layer + 2 == scene.hills.size()) {
      for (; smokeIndex < scene.smoke.size(); ++smokeIndex) {
        const SmokeColumn& s = scene.smoke[smokeIndex];
        if (s.fire) PaintGlow(canvas, s.x, s.groundY, s.width * 0.9, RgbBytes(255, 120, 40), 0.9);
        PaintSmokeColumn(canvas, s.x, s.groundY, s.height, s.drift, s.width, s.dark, s.light, s.opacity, s.seed);
      }
    }
  }
  if (scene.afterHills) scene.afterHills(canvas);
  for (const Flier& flier : scene.fliers) PaintHelicopter(canvas, flier.pose, flier.colour);
  if (scene.last) scene.last(canvas);
  return canvas;
}

HelicopterPose Pose(double x, double y, double size, int facing, double pitch, bool stubWings = true) {
  HelicopterPose pose;
  pose.x = x;
  pose.y = y;
  pose.size = size;
  pose.facing = facing;
  pose.pitch = pitch;
  pose.stubWings = stubWings;
  return pose;
}

// The title art: a sunset over the hills, a burning target on the horizon and a gunship
// coming in low, with two more behind it.
Scene TitleArtScene() {
  Scene scene;
  scene.sky = {{0, RgbBytes(16, 22, 58)},    {110, RgbBytes(92, 58, 104)}, {180, RgbBytes(226, 118, 70)},
              {222, RgbBytes(255, 190, 105)}, {240, RgbBytes(255, 220, 150)}};
  scene.sun = true;
  scene.sunX = 162, scene.sunY = 214, scene.sunRadius = 17;
  scene.sunColour = RgbBytes(255, 236, 180);
  scene.glowRadius = 70, scene.glow = 0.45;
  scene.clouds = true;
  scene.cloudTop = 120, scene.cloudBottom = 196, scene.cloudThreshold = 0.58;
  scene.cloudLit = RgbBytes(255, 170, 110), scene.cloudShade = RgbBytes(110, 60, 90), scene.cloudOpacity = 0.7;
  scene.hills = {{226, 12, 60, RgbBytes(150, 92, 110), RgbBytes(120, 78, 96), 11},
                {248, 20, 80, RgbBytes(80, 52, 76), RgbBytes(60, 40, 60), 12},
                {286, 26, 110, RgbBytes(28, 22, 32), RgbBytes(10, 9, 14), 13}};
  scene.smoke = {{52, 246, 150, 46, 22, RgbBytes(40, 32, 36), RgbBytes(120, 90, 100), 0.85, true, 21}};
  const Rgb far = RgbBytes(60, 40, 64), near = RgbBytes(12, 10, 16);
  scene.fliers = {{Pose(196, 96, 52, -1, 6), far}, {Pose(40, 176, 40, -1, 4), far}, {Pose(126, 144, 156, -1, 9), near}};
  return scene;
}

// The slides of the title screen, behind the logo and the menu: varied times of day and places.
Scene DawnPatrolScene() {
  Scene scene;
  scene.sky = {{0, RgbBytes(30, 46, 96)}, {150, RgbBytes(150, 120, 140)}, {230, RgbBytes(255, 196, 140)}};
  scene.sun = true;
  scene.sunX = 58, scene.sunY = 226, scene.sunRadius = 13;
  scene.sunColour = RgbBytes(255, 228, 190);
  scene.glowRadius = 80, scene.glow = 0.35;
  scene.clouds = true;
  scene.cloudTop = 60, scene.cloudBottom = 150, scene.cloudThreshold = 0.62;
  scene.cloudLit = RgbBytes(250, 200, 190), scene.cloudShade = RgbBytes(110, 100, 140);
  scene.hills = {{232, 16, 50, RgbBytes(120, 110, 140), RgbBytes(100, 90, 120), 31},
                {262, 22, 90, RgbBytes(60, 60, 84), RgbBytes(40, 42, 60), 32},
                {298, 18, 120, RgbBytes(22, 26, 36), RgbBytes(10, 12, 18), 33}};
  const Rgb colour = RgbBytes(26, 28, 42);
  scene.fliers = {{Pose(186, 158, 66, 1, 8), colour}, {Pose(112, 118, 118, 1, 10), colour}};
  return scene;
}

Scene MiddayRidgeScene() {
  Scene scene;
  scene.sky = {{0, RgbBytes(52, 104, 196)}, {200, RgbBytes(150, 196, 236)}, {250, RgbBytes(206, 226, 240)}};
  scene.sun = true;
  scene.sunX = 206, scene.sunY = 34, scene.sunRadius = 11;
  scene.sunColour = RgbBytes(255, 252, 236);
  scene.glowRadius = 60, scene.glow = 0.4;
  scene.clouds = true;
  scene.cloudTop = 80, scene.cloudBottom = 210, scene.cloudThreshold = 0.55;
  scene.cloudLit = RgbBytes(255, 255, 255), scene.cloudShade = RgbBytes(170, 186, 206), scene.cloudOpacity = 0.9;
  scene.hills = {{236, 18, 60, RgbBytes(120, 146, 150), RgbBytes(110, 136, 130), 41},
                {262, 24, 80, RgbBytes(96, 116, 64), RgbBytes(70, 90, 46), 42},
                {300, 20, 100, RgbBytes(58, 74, 34), RgbBytes(32, 44, 20), 43}};
  scene.smoke = {{196, 250, 110, 30, 14, RgbBytes(90, 86, 80), RgbBytes(190, 186, 176), 0.7, false, 44}};
  scene.fliers = {{Pose(62, 186, 46, -1, 6), RgbBytes(70, 84, 70)}, {Pose(142, 136, 150, -1, 10), RgbBytes(36, 44, 30)}};
  return scene;
}

Scene SeaSunsetScene() {
  Scene scene;
  constexpr double kHorizon = 206;
  scene.sky = {{0, RgbBytes(40, 20, 60)}, {120, RgbBytes(190, 70, 60)}, {kHorizon, RgbBytes(255, 170, 80)}};
  scene.sun = true;
  scene.sunX = 150, scene.sunY = kHorizon - 6, scene.sunRadius = 22;
  scene.sunColour = RgbBytes(255, 214, 140);
  scene.glowRadius = 90, scene.glow = 0.45;
  scene.clouds = true;
  scene.cloudTop = 70, scene.cloudBottom = 180, scene.cloudThreshold = 0.63;
  scene.cloudLit = RgbBytes(255, 150, 100), scene.cloudShade = RgbBytes(110, 40, 70), scene.cloudOpacity = 0.75;
  scene.afterHills = [](Canvas& canvas) {
    // The sea: darker towards the viewer, with a broken path of sunlight.
    canvas.Fill(RectShape(0, kHorizon, kScreenWidth, kScreenHeight),
                VerticalGradient(kHorizon, RgbBytes(150, 70, 70), kScreenHeight, RgbBytes(20, 12, 36)));
    for (int y = static_cast<int>(kHorizon); y < kScreenHeight; ++y) {
      const double depth = (y - kHorizon) / (kScreenHeight - kHorizon);
      for (int x = 0; x < kScreenWidth; ++x) {
        const double wave = FractalNoise(x / (6.0 + 30 * depth), y / (1.0 + 4 * depth), 3, 51);
        const double path = std::exp(-std::pow((x - 150) / (14 + 60 * depth), 2.0));
        if (wave > 0.55) canvas.AddLight(x, y, RgbBytes(255, 190, 110), (wave - 0.55) * 3.0 * path);
        if (wave < 0.35) canvas.Blend(x, y, RgbBytes(12, 6, 24), (0.35 - wave) * 1.5);
      }
    }
    // A ship on the horizon.
    canvas.Fill(PolygonShape({22, kHorizon, 74, kHorizon, 70, kHorizon + 4, 26, kHorizon + 4}), RgbBytes(30, 16, 30));
    canvas.Fill(RectShape(42, kHorizon - 7, 58, kHorizon), RgbBytes(30, 16, 30));
    canvas.Fill(RectShape(49, kHorizon - 14, 51, kHorizon - 7), RgbBytes(30, 16, 30));
  };
  scene.fliers = {{Pose(104, 128, 130, 1, 6, false), RgbBytes(14, 8, 20)}};
  return scene;
}

Scene NightRaidScene() {
  Scene scene;
  scene.sky = {{0, RgbBytes(4, 6, 18)}, {200, RgbBytes(18, 26, 56)}, {250, RgbBytes(40, 42, 70)}};
  scene.hills = {{240, 16, 60, RgbBytes(16, 20, 40), RgbBytes(12, 16, 32), 61},
                {268, 20, 90, RgbBytes(10, 12, 24), RgbBytes(6, 8, 16), 62},
                {300, 14, 100, RgbBytes(4, 5, 10), RgbBytes(2, 2, 6), 63}};
  scene.smoke = {{170, 262, 120, -30, 18, RgbBytes(70, 36, 24), RgbBytes(40, 40, 56), 0.8, true, 64}};
  scene.afterHills = [](Canvas& canvas) {
    RandomSequence random(65);
    for (int star = 0; star < 90; ++star) {
      const double x = random.NextUnit() * kScreenWidth, y = random.NextUnit() * 200;
      const double size = 0.4 + 0.6 * random.NextUnit();
      if (y < 215 && y < HillRidge(x, 240, 16, 60, 61)) {
        canvas.Fill(CircleShape(x, y, size), RgbBytes(230, 236, 255), 0.4 + 0.6 * random.NextUnit());
      }
    }
    // A crescent moon.
    PaintGlow(canvas, 186, 58, 20, RgbBytes(120, 130, 170), 0.5);
    canvas.Fill(SubtractShape(CircleShape(186, 58, 13), CircleShape(192, 53, 12)), RgbBytes(236, 236, 220));
  };
  scene.fliers = {{Pose(84, 112, 124, 1, 12), RgbBytes(2, 3, 8)}};
  scene.last = [](Canvas& canvas) {
    // The searchlight: a cone of light from the nose down to the ground.
    const Shape beam = PolygonShape({104, 126, 112, 126, 160, 300, 112, 304});
    canvas.Fill(beam, [](double x, double y) {
      (void)x;
      return Mix(RgbBytes(230, 240, 255), RgbBytes(150, 170, 200), (y - 126) / 180);
    }, 0.22);
    canvas.Fill(EllipseShape(136, 302, 26, 6), RgbBytes(200, 210, 230), 0.3);
  };
  return scene;
}

Scene RocketAttackScene() {
  Scene scene;
  scene.sky = {{0, RgbBytes(96, 98, 100)}, {180, RgbBytes(182, 164, 132)}, {240, RgbBytes(220, 190, 140)}};
  scene.clouds = true;
  scene.cloudTop = 0, scene.cloudBottom = 120, scene.cloudThreshold = 0.5;
  scene.cloudLit = RgbBytes(170, 166, 160), scene.cloudShade = RgbBytes(90, 90, 96), scene.cloudOpacity = 0.8;
  scene.hills = {{238, 14, 50, RgbBytes(150, 124, 100), RgbBytes(130, 110, 90), 71},
                {262, 18, 70, RgbBytes(120, 90, 62), RgbBytes(96, 72, 50), 72},
                {296, 16, 100, RgbBytes(70, 52, 36), RgbBytes(40, 30, 20), 73}};
  scene.smoke = {{40, 256, 170, 60, 20, RgbBytes(30, 28, 28), RgbBytes(110, 104, 100), 0.9, true, 74},
                {206, 262, 120, 40, 16, RgbBytes(40, 36, 34), RgbBytes(130, 124, 116), 0.85, true, 75}};
  scene.fliers = {{Pose(88, 112, 140, 1, 14), RgbBytes(30, 30, 26)}};
  scene.last = [](Canvas& canvas) {
    PaintRocketTrail(canvas, 100, 130, 176, 200, 76);
    PaintRocketTrail(canvas, 96, 134, 150, 226, 77);
    PaintGlow(canvas, 206, 258, 16, RgbBytes(255, 170, 60), 1.2);
  };
  return scene;
}

Scene HomeBaseScene() {
  Scene scene;
  constexpr double kGround = 236;
  scene.sky = {{0, RgbBytes(50, 80, 136)}, {160, RgbBytes(170, 150, 150)}, {kGround, RgbBytes(236, 178, 120)}};
  scene.sun = true;
  scene.sunX = 40, scene.sunY = 200, scene.sunRadius = 12;
  scene.sunColour = RgbBytes(255, 230, 190);
  scene.glowRadius = 60, scene.glow = 0.3;
  scene.hills = {{kGround - 4, 10, 50, RgbBytes(120, 110, 130), RgbBytes(100, 96, 110), 81}};
  scene.afterHills = [](Canvas& canvas) {
    canvas.Fill(RectShape(0, kGround, kScreenWidth, kScreenHeight),
                VerticalGradient(kGround, RgbBytes(110, 104, 80), kScreenHeight, RgbBytes(50, 52, 36)));
    // Hangars and a control tower against the sky.
    const Rgb building = RgbBytes(52, 50, 60);
    canvas.Fill(UnionShape(RectShape(150, kGround - 18, 214, kGround + 2), EllipseShape(182, kGround - 18, 32, 10)),
                building);
    canvas.Fill(RectShape(220, kGround - 40, 228, kGround + 2), building);
    canvas.Fill(RectShape(216, kGround - 48, 232, kGround - 40), building);
    canvas.Fill(RectShape(218, kGround - 46, 230, kGround - 42), RgbBytes(255, 210, 120), 0.8);
    // The helipad: a ring and an H in perspective.
    const double cx = 104, cy = 276;
    canvas.Fill(EllipseShape(cx, cy, 76, 18), RgbBytes(80, 80, 78));
    canvas.Fill(SubtractShape(EllipseShape(cx, cy, 62, 14.5), EllipseShape(cx, cy, 58, 13)), RgbBytes(230, 220, 120));
    canvas.Fill(RectShape(cx - 14, cy - 7, cx - 9, cy + 7), RgbBytes(240, 240, 232));
    canvas.Fill(RectShape(cx + 9, cy - 7, cx + 14, cy + 7), RgbBytes(240, 240, 232));
    canvas.Fill(RectShape(cx - 9, cy - 1.5, cx + 9, cy + 1.5), RgbBytes(240, 240, 232));
    // The landing helicopter's shadow.
    canvas.Fill(EllipseShape(cx + 6, cy + 2, 40, 5), RgbBytes(20, 20, 20), 0.35);
  };
  scene.fliers = {{Pose(196, 130, 40, -1, 4), RgbBytes(70, 70, 90)}, {Pose(112, 206, 126, -1, -4, false), RgbBytes(22, 24, 26)}};
  return scene;
}

// --- Title pieces -----------------------------------------------------------------------------

void AddTitlePictures(PictureSet& set) {
  set.AddPlain(112, kGroup, "title art", PaintScene(TitleArtScene()));

  // The overlay: the name over the top of the sliding title art, a line under it.
  Canvas overlay(kScreenWidth, kScreenHeight);
  PaintTitleLettering(overlay, "KESTREL RUN", kScreenWidth / 2, 22, 4);
  PaintOutlinedText(overlay, "HELICOPTER ACTION", kScreenWidth / 2, 58, Align::Centre, ui::TitleGreen(),
                    &kSqTinyBoldFont);
  set.AddMasked(110, 111, kGroup, "title overlay", overlay);

  // The title screen's logo, centred at y = 5 over the slides.
  Canvas logo(220, 50);
  PaintTitleLettering(logo, "KESTREL RUN", 110, 8, 4);
  PaintOutlinedText(logo, "HELICOPTER ACTION", 110, 41, Align::Centre, ui::TitleGreen());
  set.AddMasked(150, 151, kGroup, "title logo", logo);
}

// The maker's logo: a rotor in a ring above the team's name.
void AddMakerLogo(PictureSet& set) {
  Canvas canvas(kScreenWidth, kScreenHeight);
  canvas.Fill(RectShape(0, 0, kScreenWidth, kScreenHeight), [](double x, double y) {
    const double d = std::hypot(x - 120, y - 140) / 220;
    return Mix(RgbBytes(26, 34, 20), RgbBytes(2, 3, 2), std::min(1.0, d * 1.4));
  });
  const double cx = 120, cy = 128;
  Coverage ring(kScreenWidth, kScreenHeight);
  for (int y = 0; y < kScreenHeight; ++y) {
    for (int x = 0; x < kScreenWidth; ++x) {
      const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
      ring.Set(x, y, std::clamp(1.5 - std::abs(d - 46), 0.0, 1.0));
    }
  }
  canvas.FillCoverage(ring.Blurred(4), 0, 0, ui::TextGreen(), 0.8);
  canvas.FillCoverage(ring, 0, 0, ui::TitleGreen());
  // Four blades, swept a little, and the hub.
  constexpr double kPi = 3.14159265358979323846;
  for (int blade = 0; blade < 4; ++blade) {
    const double a = kPi / 2 * blade + 0.35;
    const double tx = cx + std::cos(a) * 38, ty = cy + std::sin(a) * 38;
    const double sx = cx + std::cos(a + 0.12) * 20, sy = cy + std::sin(a + 0.12) * 20;
    canvas.Fill(PolygonShape({cx, cy, sx, sy, tx, ty, cx + std::cos(a - 0.1) * 36, cy + std::sin(a - 0.1) * 36}),
                ui::TextGreen());
  }
  canvas.Fill(CircleShape(cx, cy, 7), ui::TitleGreen());
  canvas.Fill(CircleShape(cx, cy, 3), ui::Ink());
  PaintTitleLettering(canvas, "KESTREL TEAM", 120, 196, 2);
  PaintOutlinedText(canvas, "PRESENTS", 120, 222, Align::Centre, ui::RimGreen());
  set.AddPlain(100, kGroup, "maker's logo", canvas);
}

// --- Credits and key layouts ------------------------------------------------------------------

// A dim scene under a translucent panel: the background of the text screens.
Canvas TextScreenBackground(uint32_t seed) {
  Scene scene = NightRaidScene();
  scene.smoke.clear();
  scene.last = nullptr;
  scene.fliers = {{Pose(150 + static_cast<double>(seed % 3) * 10, 250, 110, -1, 6), RgbBytes(2, 3, 8)}};
  Canvas canvas = PaintScene(scene);
  canvas.Fill(RoundedRectShape(16, 8, 234, 300, 6), ui::PanelOlive(), 0.72);
  canvas.Fill(SubtractShape(RoundedRectShape(16, 8, 234, 300, 6), RoundedRectShape(17, 9, 233, 299, 5)),
              ui::RimGreen(), 0.9);
  return canvas;
}

struct Line {
  const char* text;
  bool heading;
};

// Lines of text from the top, headings in title green at twice the size.
void PaintLines(Canvas& canvas, int top, const std::vector<Line>& lines) {
  int y = top;
  for (const Line& line : lines) {
    if (line.text[0] == '\0') {
      y += 6;
      continue;
    }
    if (line.heading) {
      TextStyle style = ui::CaptionStyle(ui::Look::Normal);
      style.colour = ui::TitleGreen();
      canvas.Text(style, line.text, 125, y, Align::Centre);
      y += 19;
    } else {
      canvas.Text(ui::LabelStyle(ui::TextGreen()), line.text, 125, y, Align::Centre);
      y += 11;
    }
  }
}

void AddCredits(PictureSet& set) {
  Canvas first = TextScreenBackground(1);
  PaintTitleLettering(first, "KESTREL RUN", 125, 20, 3);
  PaintLines(first, 50, {{"VERSION 1.1.2", false},
                         {"", false},
                         {"GAME DESIGN", true},
                         {"THE KESTREL TEAM", false},
                         {"", false},
                         {"PROGRAMMING", true},
                         {"THE KESTREL TEAM", false},
                         {"", false},
                         {"PICTURES", true},
                         {"DRAWN BY THE BUILD, IN CODE:", false},
                         {"SKIES, HILLS, SMOKE AND ROTORS", false},
                         {"", false},
                         {"SOUND", true},
                         {"SYNTHESISED FROM OSCILLATORS", false},
                         {"AND FILTERED NOISE", false}});
  set.AddPlain(160, kGroup, "credits 1", first);

  Canvas second = TextScreenBackground(2);
  PaintTitleLettering(second, "THANK YOU", 125, 20, 3);
  PaintLines(second, 52, {{"FOR FLYING WITH US", false},
                          {"", false},
                          {"LINUX VERSION", true},
                          {"SDL2 FOR WINDOW, KEYS AND SOUND", false},
                          {"", false},
                          {"PICTURES", true},
                          {"THIS SOFTWARE IS BASED IN PART", false},
                          {"ON THE WORK OF THE INDEPENDENT", false},
                          {"JPEG GROUP.", false},
                          {"", false},
                          {"TEST PILOTS", true},
                          {"EVERYONE WHO CRASHED", false},
                          {"ON THE HELIPAD FIRST", false}});
  set.AddPlain(161, kGroup, "credits 2", second);
}

struct KeyRow {
  const char* key;     // on the badge
  const char* action;  // what it does in flight
  const char* other;   // the same key on the other layout, dimmed at the right
};

void PaintKeyRows(Canvas& canvas, int top, const std::vector<KeyRow>& rows) {
  int y = top;
  for (const KeyRow& row : rows) {
    ui::Panel(canvas, 22, y, 78, y + 13, 3, ui::Look::Highlighted);
    canvas.Text(ui::LabelStyle(ui::DarkGreen()), row.key, 50, y + 3, Align::Centre);
    canvas.Text(ui::LabelStyle(ui::TextGreen()), row.action, 84, y + 3, Align::Left);
    canvas.Text(ui::LabelStyle(Scale(ui::TextGreen(), 0.6)), row.other, 228, y + 3, Align::Right);
    y += 15;
  }
}

// The device, front on: the screen, the direction pad with its action press and the five
// application buttons, numbered.
void PaintDevice(Canvas& canvas, double cx, double top) {
  const double w = 64, h = 84;
  canvas.Fill(RoundedRectShape(cx - w / 2, top, cx + w / 2, top + h, 8), RgbBytes(60, 66, 56));
  canvas.Fill(SubtractShape(RoundedRectShape(cx - w / 2, top, cx + w / 2, top + h, 8),
                            RoundedRectShape(cx - w / 2 + 1, top + 1, cx + w / 2 - 1, top + h - 1, 7)),
              ui::RimGreen());
  canvas.Fill(RectShape(cx - 24, top + 6, cx + 24, top + 48), RgbBytes(10, 30, 12));
  canvas.Text(ui::LabelStyle(ui::TextGreen()), "240X320", static_cast<int>(cx), static_cast<int>(top + 23), Align::Centre);
  // Direction pad and action press.
  const double py = top + 64;
  canvas.Fill(CircleShape(cx, py, 10), RgbBytes(30, 34, 28));
  canvas.Fill(CircleShape(cx, py, 4), ui::SolidGreen());
  canvas.Fill(PolygonShape({cx, py - 9, cx - 3, py - 6, cx + 3, py - 6}), ui::TextGreen());
  canvas.Fill(PolygonShape({cx, py + 9, cx - 3, py + 6, cx + 3, py + 6}), ui::TextGreen());
  canvas.Fill(PolygonShape({cx - 9, py, cx - 6, py - 3, cx - 6, py + 3}), ui::TextGreen());
  canvas.Fill(PolygonShape({cx + 9, py, cx + 6, py - 3, cx + 6, py + 3}), ui::TextGreen());
  // Buttons 1, 2 left of the pad, 3, 4 right of it, 5 on the side.
  const double buttons[4][2] = {{cx - 24, py - 4}, {cx - 17, py + 8}, {cx + 17, py + 8}, {cx + 24, py - 4}};
  for (int i = 0; i < 4; ++i) {
    canvas.Fill(CircleShape(buttons[i][0], buttons[i][1], 4.5), ui::SolidGreen());
    canvas.Text(ui::LabelStyle(ui::DarkGreen()), std::to_string(i + 1).c_str(), static_cast<int>(buttons[i][0]) + 1,
                static_cast<int>(buttons[i][1]) - 3, Align::Centre);
  }
  canvas.Fill(RoundedRectShape(cx + w / 2, top + 14, cx + w / 2 + 4, top + 30, 1.5), ui::SolidGreen());
  canvas.Text(ui::LabelStyle(ui::TextGreen()), "5", static_cast<int>(cx + w / 2 + 6), static_cast<int>(top + 18),
              Align::Left);
}

void AddKeyLayouts(PictureSet& set) {
  Canvas device = TextScreenBackground(0);
  TextStyle heading = ui::CaptionStyle(ui::Look::Normal);
  heading.colour = ui::TitleGreen();
  device.Text(heading, "CONTROLS", 125, 15, Align::Centre);
  PaintDevice(device, 125, 36);
  device.Text(ui::LabelStyle(Scale(ui::TextGreen(), 0.6)), "KEYBOARD", 228, 128, Align::Right);
  PaintKeyRows(device, 140, {{"UP", "FASTER", "UP"},
                             {"DOWN", "SLOWER", "DOWN"},
                             {"LEFT RIGHT", "TURN", "LEFT RIGHT"},
                             {"ACTION", "FIRE", "ENTER SPACE"},
                             {"2", "NEXT WEAPON", "2  Q"},
                             {"3", "MAP", "3  TAB"},
                             {"4", "MENU", "4  ESC"},
                             {"5", "SCREENSHOT", "5  F12"}});
  device.Text(ui::LabelStyle(ui::TitleGreen()), "OR TOUCH THE GAUGES", 125, 266, Align::Centre);
  device.Text(ui::LabelStyle(ui::TitleGreen()), "WITH THE STYLUS", 125, 277, Align::Centre);
  set.AddPlain(180, kGroup, "key layout", device);

  // The second layout: the same keys on a desktop keyboard.
  Canvas keyboard = TextScreenBackground(1);
  keyboard.Text(heading, "KEYBOARD", 125, 15, Align::Centre);
  const char* const keyRows[4] = {"ESC  1 2 3 4 5  F12", "TAB  Q", "CTRL  SPACE  ENTER", "ARROWS"};
  for (int row = 0; row < 4; ++row) {
    ui::Panel(keyboard, 30, 40 + row * 20, 220, 40 + row * 20 + 15, 3, ui::Look::Normal);
    keyboard.Text(ui::LabelStyle(ui::TitleGreen()), keyRows[row], 125, 44 + row * 20, Align::Centre);
  }
  keyboard.Text(ui::LabelStyle(Scale(ui::TextGreen(), 0.6)), "HANDHELD", 228, 128, Align::Right);
  PaintKeyRows(keyboard, 140, {{"ARROWS", "FLY", "PAD"},
                               {"ENTER", "FIRE", "ACTION"},
                               {"Q", "NEXT WEAPON", "2"},
                               {"TAB", "MAP", "3"},
                               {"ESC", "MENU", "4"},
                               {"F12", "SCREENSHOT", "5"}});
  keyboard.Text(ui::LabelStyle(ui::TitleGreen()), "OR CLICK THE GAUGES", 125, 236, Align::Centre);
  keyboard.Text(ui::LabelStyle(ui::TitleGreen()), "WITH THE MOUSE", 125, 247, Align::Centre);
  set.AddPlain(181, kGroup, "keyboard layout", keyboard);
}

// --- Mission stamps ---------------------------------------------------------------------------

constexpr int kStampWidth = 200;
constexpr int kStampHeight = 96;

// A rubber stamp, tilted and worn, over a dark backing so it reads on any mission picture.
Canvas Stamp(const char* second, Rgb ink, uint32_t seed) {
  Canvas flat(186, 66);
  flat.Fill(RoundedRectShape(0, 0, 186, 66, 5), ui::Ink(), 0.7);
  const Shape border = SubtractShape(RoundedRectShape(3, 3, 183, 63, 4), RoundedRectShape(6, 6, 180, 60, 3));
  const Shape inner = SubtractShape(RoundedRectShape(8, 8, 178, 58, 2), RoundedRectShape(9, 9, 177, 57, 2));
  flat.Fill(border, ink);
  flat.Fill(inner, ink);
  TextStyle style;
  style.scaleX = 2;
  style.scaleY = 2;
  style.colour = ink;
  flat.Text(style, "MISSION", 93, 14, Align::Centre);
  style.scaleX = TextPixelWidth(TextStyle{}, second) * 3 <= 160 ? 3 : 2;
  style.scaleY = 3;
  flat.Text(style, second, 93, 33, Align::Centre);
  // Rotate by -7 degrees into the final picture, sampling the flat stamp bilinearly, and wear
  // the ink with noise.
  Canvas stamp(kStampWidth, kStampHeight);
  const double angle = -7 * 3.14159265358979323846 / 180, c = std::cos(angle), s = std::sin(angle);
  for (int y = 0; y < kStampHeight; ++y) {
    for (int x = 0; x < kStampWidth; ++x) {
      const double dx = x + 0.5 - kStampWidth / 2.0, dy = y + 0.5 - kStampHeight / 2.0;
      const double fx = dx * c + dy * s + flat.width() / 2.0 - 0.5, fy = -dx * s + dy * c + flat.height() / 2.0 - 0.5;
      const int ix = static_cast<int>(std::floor(fx)), iy = static_cast<int>(std::floor(fy));
      const double tx = fx - ix, ty = fy - iy;
      Rgb sum;
      double alpha = 0;
      for (int k = 0; k < 4; ++k) {
        const int sx = ix + (k & 1), sy = iy + (k >> 1);
        if (sx < 0 || sy < 0 || sx >= flat.width() || sy >= flat.height()) continue;
        const double weight = ((k & 1) ? tx : 1 - tx) * ((k >> 1) ? ty : 1 - ty);
        const double a = flat.OpacityAt(sx, sy) * weight;
        const Rgb colour = flat.ColourAt(sx, sy);
        sum = {sum.r + colour.r * a, sum.g + colour.g * a, sum.b + colour.b * a};
        alpha += a;
      }
      if (alpha <= 0) continue;
      Rgb colour = Scale(sum, 1 / alpha);
      // Worn ink: where the stamp is inked, some specks show the backing through.
      const double wear = FractalNoise(x / 3.0, y / 3.0, 2, seed);
      if (wear > 0.68) colour = Mix(colour, ui::Ink(), std::min(1.0, (wear - 0.68) * 4) * 0.8);
      stamp.Blend(x, y, colour, alpha);
    }
  }
  return stamp;
}

void AddStamps(PictureSet& set) {
  set.AddMasked(400, 401, kGroup, "mission accomplished", Stamp("ACCOMPLISHED", ui::TextGreen(), 401));
  set.AddMasked(402, 403, kGroup, "mission failed", Stamp("FAILED", RgbBytes(255, 72, 52), 403));
}

}  // namespace

void AddScreenPictures(PictureSet& set) {
  AddMakerLogo(set);
  AddTitlePictures(set);
  AddCredits(set);
  AddKeyLayouts(set);
  AddStamps(set);
  set.AddPlain(500, kGroup, "slide: home base", PaintScene(HomeBaseScene()));
  set.AddPlain(501, kGroup, "slide: dawn patrol", PaintScene(DawnPatrolScene()));
  set.AddPlain(502, kGroup, "slide: ridge at noon", PaintScene(MiddayRidgeScene()));
  set.AddPlain(503, kGroup, "slide: sea at sunset", PaintScene(SeaSunsetScene()));
  set.AddPlain(504, kGroup, "slide: night raid", PaintScene(NightRaidScene()));
  set.AddPlain(505, kGroup, "slide: rocket attack", PaintScene(RocketAttackScene()));
}
