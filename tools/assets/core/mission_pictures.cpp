// The mission pictures: the selection screen shows nothing of a mission but its picture (and
// the debriefing uses it as its background), so the picture carries the briefing: a view of the
// target from the air, the mission's name, its description and its goals.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

#include "picture_common.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
// Text must stay clear of the menu frame, whose pieces start at y = 235.
constexpr int kTextBottom = 232;

std::string Noun(const std::string& mesh) {
  static const std::map<std::string, std::string> nouns = {
      {"Hangar", "hangar"}, {"House", "building"}, {"RadarStation", "radar station"}, {"Tank", "tank"},
      {"Truck", "truck"},   {"EnemyHeli", "helicopter"}, {"FuelDrums", "fuel store"}, {"Person", "person"}};
  const auto found = nouns.find(mesh);
  return found != nouns.end() ? found->second : "target";
}

std::string Clock(uint32_t milliseconds) {
  const uint32_t seconds = milliseconds / 1000;
  char text[16];
  std::snprintf(text, sizeof(text), "%u:%02u", seconds / 60, seconds % 60);
  return text;
}

std::string Plural(const std::string& noun) { return noun == "person" ? "people" : noun + "s"; }

// One line per kind of goal and object, e.g. "DESTROY 2 tanks" or "RESCUE person in 2:30".
std::vector<std::string> GoalLines(const MissionSource& mission) {
  struct Line {
    std::string verb, noun, suffix;
    int count;
  };
  std::vector<Line> lines;
  for (const GoalDef* goal : mission.definition->goals) {
    std::string mesh;
    for (const PlacedObject& object : mission.objects) {
      if (object.name == Narrow(goal->objectName)) mesh = object.mesh;
    }
    static const char* const kVerbs[] = {"DESTROY", "KEEP ALIVE", "RESCUE"};
    const Line line{goal->goalType < 3 ? kVerbs[goal->goalType] : "?", Noun(mesh),
                    goal->timeLimit == 0 ? ""
                    : goal->goalType == GoalKeepAlive ? " for " + Clock(goal->timeLimit)
                                                      : " in " + Clock(goal->timeLimit),
                    1};
    const auto same = std::find_if(lines.begin(), lines.end(), [&line](const Line& l) {
      return l.verb == line.verb && l.noun == line.noun && l.suffix == line.suffix;
    });
    if (same != lines.end()) {
      ++same->count;
    } else {
      lines.push_back(line);
    }
  }
  std::vector<std::string> text;
  for (const Line& l : lines) {
    text.push_back(l.verb + " " + (l.count > 1 ? std::to_string(l.count) + " " + Plural(l.noun) : l.noun) + l.suffix);
  }
  return text;
}

// Where the first goal's object stands, or the helipad when there is none.
Vec3 TargetOf(const MissionSource& mission, const std::vector<SceneItem>& items) {
  const MissionDef& def = *mission.definition;
  if (!def.goals.Empty()) {
    for (size_t i = 0; i < mission.objects.size() && i < items.size(); ++i) {
      if (mission.objects[i].name == Narrow(def.goals[0]->objectName)) return items[i].pose.translation;
    }
  }
  return {def.helipad.x / 65536.0, 0, def.helipad.z / 65536.0};
}

Image MissionPicture(const Generator& g, const MissionSource& mission, const TerrainData& terrain) {
  const MissionDef& def = *mission.definition;
  const std::vector<SceneItem> items = MissionScene(g, mission, terrain);
  // Approach the first target from the helipad's side, 120 m out and 40 m up.
  const Vec3 target = TargetOf(mission, items);
  const Vec3 helipad{def.helipad.x / 65536.0, 0, def.helipad.z / 65536.0};
  Vec3 toward = Normalised(Vec3{target.x - helipad.x, 0, target.z - helipad.z});
  if (Length(toward) < 0.5) toward = {0, 0, -1};
  Camera camera;
  constexpr double kDistance = 120;
  camera.position = target - toward * kDistance;
  camera.position.y = std::max<double>(terrain.HeightAt(camera.position.x, camera.position.z), target.y) + 40;
  camera.heading = std::atan2(toward.x, toward.z) * 180 / kPi;
  // The target about 100 rows down, in the open part of the picture above the briefing.
  const double focal = 120 / std::tan(30 * kPi / 180);
  const double horizon = 100 + focal * (target.y - camera.position.y) / kDistance;
  camera.tilt = std::atan((kScreenHeight / 2.0 - horizon) / focal) * 180 / kPi;
  Image picture = RenderScene(terrain, camera, items, terrain.sun, kScreenWidth, kScreenHeight);

  // Name across the top.
  ShadeRows(picture, 0, 30, 0.55f, 0.0f);
  DrawTextCentred(picture, Narrow(def.name), kScreenWidth / 2.0f, 6,
                  TextStyle{2, true, kHudTitle, 0, 0.8f, Rgb(0, 30, 0)});

  // The briefing on a dark panel above the frame.
  const TextStyle body{1, false, kHudText};
  const TextStyle goals{1, true, kHudTitle};
  const TextStyle hint{1, false, Rgb(200, 220, 170)};
  constexpr float kLine = 10;
  constexpr float kMargin = 12;
  const std::vector<std::string> description = WrapText(Narrow(def.description), kScreenWidth - 2 * kMargin, body);
  const std::vector<std::string> goalLines = GoalLines(mission);
  std::vector<std::string> hintLines = WrapText("Hint: " + Narrow(def.hint), kScreenWidth - 2 * kMargin, hint);
  float height = (description.size() + goalLines.size()) * kLine + 14;
  if (height + hintLines.size() * kLine + 4 > 150) hintLines.clear();  // no room: the goals matter more
  if (!hintLines.empty()) height += hintLines.size() * kLine + 4;
  const float top = kTextBottom - height;
  picture.FillRect(4, top, kScreenWidth - 8, height, kHudPanel, 0.78f);
  picture.StrokeRect(4, top, kScreenWidth - 8, height, 1, Rgb(40, 120, 40), 0.9f);
  float y = top + 6;
  for (const std::string& line : description) {
    DrawText(picture, line, kMargin, y, body);
    y += kLine;
  }
  y += 2;
  for (const std::string& line : goalLines) {
    DrawText(picture, line, kMargin, y, goals);
    y += kLine;
  }
  y += 4;
  for (const std::string& line : hintLines) {
    DrawText(picture, line, kMargin, y, hint);
    y += kLine;
  }
  return picture;
}

// What the pilot sees at the start, for the contact sheet: from the helipad facing -z (the
// helicopter is turned half round before take-off) at the game's usual drawing distance of
// 800 m, without haze, as the game draws it; and the same 60 m up.
Image StartView(const Generator& g, const MissionSource& mission, const TerrainData& terrain, double height) {
  const MissionDef& def = *mission.definition;
  Camera camera;
  camera.position = {def.helipad.x / 65536.0, 0, def.helipad.z / 65536.0};
  camera.position.y = terrain.HeightAt(camera.position.x, camera.position.z) + 1.5 + height;
  camera.heading = 180;
  return RenderScene(terrain, camera, MissionScene(g, mission, terrain), terrain.sun, kScreenWidth, kScreenHeight,
                     800, 1e9);
}

}  // namespace

bool GenerateMissionPictures(Generator& g) {
  std::vector<std::pair<std::string, Image>> previews;
  std::vector<std::pair<std::string, Image>> views;
  for (const MissionSource& mission : g.sources.missions) {
    const MissionDef& def = *mission.definition;
    const std::string name = Narrow(def.name);
    const TerrainData* terrain = TerrainOf(g, def);
    if (terrain == nullptr) return g.Fail("mission " + name + " names a landscape that is not generated");
    if (def.splashScreen == nullptr) return g.Fail("mission " + name + " has no Resource SplashScreen");
    const Image picture = MissionPicture(g, mission, *terrain);
    if (!g.WriteJpeg(Narrow(def.splashScreen), picture.ToColourPicture())) return false;
    previews.push_back({name, picture});
    views.push_back({name + " take-off", StartView(g, mission, *terrain, 0)});
    views.push_back({name + " at 60 m", StartView(g, mission, *terrain, 60)});
  }
  return g.sheet.AddSheet("missions", previews, kScreenWidth, kScreenHeight, 3) &&
         g.sheet.AddSheet("mission_start_views", views, kScreenWidth, kScreenHeight, 4);
}
