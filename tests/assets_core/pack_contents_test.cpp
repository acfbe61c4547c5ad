// core.bin as a whole: it passes the pack tool's check, the game's registry finds every
// definition its sources list, and every picture a definition names is in the pack and decodes
// at the size the screen that shows it lays out.
#include <sys/wait.h>

#include <cstdlib>
#include <set>

#include "core_pack_support.h"
#include "gfx/jpeg.h"

using namespace core_pack;

namespace {

// The names a list file of the sources (data/core) defines, in order.
std::vector<std::string> SourceList(const std::string& file, const char16_t* section, const char16_t* countKey,
                                    const std::string& word) {
  const std::string path = std::string(KESTREL_CORE_SOURCES) + "/" + file;
  std::FILE* in = std::fopen(path.c_str(), "rb");
  std::vector<uint8_t> bytes;
  if (in != nullptr) {
    for (int c; (c = std::fgetc(in)) != EOF;) bytes.push_back(static_cast<uint8_t>(c));
    std::fclose(in);
  }
  IniDocument document;
  document.LoadFromBuffer(bytes.data(), static_cast<uint32_t>(bytes.size()));
  std::vector<std::string> names;
  const IniSection* list = document.FindSection(section);
  if (list == nullptr) return names;
  const IniKey* count = list->FindKey(countKey);
  for (uint32_t i = 0; count != nullptr && i < count->values[0]->ToInt(); ++i) {
    const std::u16string key = WideFromUtf8(word + " " + std::to_string(i));
    if (const IniKey* entry = list->FindKey(key.c_str())) names.push_back(Text(entry->values[0]->text));
  }
  return names;
}

// The names of the definitions that came from core.bin.
template <typename Definition>
std::set<std::string> NamesOf(const PtrArray<Definition*>& definitions) {
  std::set<std::string> names;
  for (const Definition* d : definitions) {
    if (d->pack == CorePack()) names.insert(Text(d->name));
  }
  return names;
}

struct PictureCheck {
  std::string owner;
  const char16_t* file;
  uint32_t width, height;
  bool mask;  // a greyscale mask rather than a colour picture
};

void ExpectPicture(const PictureCheck& check) {
  SCOPED_TRACE(check.owner + ": " + Text(check.file));
  ASSERT_NE(check.file, nullptr);
  const std::vector<uint8_t> bytes = ReadEntry(CorePack(), check.file);
  ASSERT_FALSE(bytes.empty()) << "not in the pack";
  const JpegFrame frame = ReadJpegFrame(bytes);
  EXPECT_EQ(frame.width, check.width);
  EXPECT_EQ(frame.height, check.height);
  EXPECT_EQ(frame.components, check.mask ? 1u : 3u);
  if (!check.mask) {
    Surface surface;
    EXPECT_TRUE(DecodeJpeg(surface, bytes.data(), static_cast<uint32_t>(bytes.size())));
    EXPECT_EQ(surface.width, check.width);
    EXPECT_EQ(surface.height, check.height);
  }
}

// Full-screen pictures; name plates beside the frame's buttons; the loadout plan above the
// weapon figures (y 150 on); pylon buttons of the size of the program's pylon mask (45 x 35).
constexpr uint32_t kScreenW = 240, kScreenH = 320;
constexpr uint32_t kTitleW = 100, kTitleH = 28;
constexpr uint32_t kPlanW = 240, kPlanH = 150;
constexpr uint32_t kPylonW = 45, kPylonH = 35;

}  // namespace

TEST(CorePack, PassesTheToolsCheckOfEveryEntry) {
  const std::string command = "'" KESTREL_PACK_BINARY "' test '" + CorePackPath() + "' > /dev/null";
  const int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(CorePack, RegistryFindsEveryDefinitionOfTheSources) {
  const ContentRegistry& registry = Registry();
  ASSERT_FALSE(registry.packs.Empty());
  EXPECT_EQ(registry.packs[0]->archivePath(), CorePackPath());
  EXPECT_EQ(registry.introPack, CorePack());

  std::set<std::string> missions;
  for (const char* list : {"missions/islands.ini", "missions/canyons.ini"}) {
    for (const std::string& name : SourceList(list, u"Missions", u"NoOfMissions", "Mission")) missions.insert(name);
  }
  const std::vector<std::string> choppers = SourceList("choppers.ini", u"Choppers", u"NoOfChoppers", "Chopper");
  const std::vector<std::string> weapons = SourceList("weapons.ini", u"Weapons", u"NoOfWeapons", "Weapon");
  EXPECT_GE(missions.size(), 5u);
  EXPECT_GE(choppers.size(), 3u);
  EXPECT_GE(weapons.size(), 4u);
  EXPECT_EQ(NamesOf(registry.missions), missions);
  EXPECT_EQ(NamesOf(registry.choppers), std::set<std::string>(choppers.begin(), choppers.end()));
  EXPECT_EQ(NamesOf(registry.weapons), std::set<std::string>(weapons.begin(), weapons.end()));
  for (const MissionDef* mission : registry.missions) {
    EXPECT_NE(mission->description, nullptr) << Text(mission->name);
    EXPECT_NE(mission->hint, nullptr) << Text(mission->name);
    EXPECT_FALSE(mission->goals.Empty()) << Text(mission->name);
  }
}

TEST(CorePack, EveryPictureADefinitionNamesDecodesAtItsSize) {
  std::vector<PictureCheck> checks;
  for (const ChopperDef* c : Registry().choppers) {
    const std::string owner = "helicopter " + Text(c->name);
    checks.push_back({owner, c->splashPicture, kScreenW, kScreenH, false});
    checks.push_back({owner, c->titlePicture, kTitleW, kTitleH, false});
    checks.push_back({owner, c->titleMask, kTitleW, kTitleH, true});
    checks.push_back({owner, c->weaponPicture, kPlanW, kPlanH, false});
  }
  for (const WeaponDef* w : Registry().weapons) {
    const std::string owner = "weapon " + Text(w->name);
    checks.push_back({owner, w->splashPicture, kScreenW, kScreenH, false});
    checks.push_back({owner, w->titlePicture, kTitleW, kTitleH, false});
    checks.push_back({owner, w->titleMask, kTitleW, kTitleH, true});
    checks.push_back({owner, w->pylonPicture1, kPylonW, kPylonH, false});
    checks.push_back({owner, w->pylonPicture2, kPylonW, kPylonH, false});
  }
  for (const MissionDef* m : Registry().missions) {
    checks.push_back({"mission " + Text(m->name), m->splashScreen, kScreenW, kScreenH, false});
  }
  for (const PictureCheck& check : checks) ExpectPicture(check);
}

TEST(CorePack, IntroFramesRunFromZeroAndFillTheScreen) {
  int frames = 0;
  for (;; ++frames) {
    char name[32];
    std::snprintf(name, sizeof(name), "intro\\%03d.jpg", frames);
    const std::u16string wide = WideFromUtf8(name);
    if (ReadEntry(Registry().introPack, wide.c_str()).empty()) break;
    ExpectPicture({"intro", wide.c_str(), kScreenW, kScreenH, false});
  }
  // At the game's ten frames a second at most, a flyover of a few seconds.
  EXPECT_GE(frames, 20);
}

TEST(CorePack, MissionsUseEveryKindOfGoal) {
  bool destroy = false, keepAlive = false, timedKeepAlive = false, rescue = false;
  for (const MissionDef* m : Registry().missions) {
    for (const GoalDef* goal : m->goals) {
      destroy |= goal->goalType == GoalDestroy;
      keepAlive |= goal->goalType == GoalKeepAlive;
      timedKeepAlive |= goal->goalType == GoalKeepAlive && goal->timeLimit != 0;
      rescue |= goal->goalType == GoalRescue;
    }
  }
  EXPECT_TRUE(destroy);
  EXPECT_TRUE(keepAlive);
  EXPECT_TRUE(timedKeepAlive);
  EXPECT_TRUE(rescue);
}
