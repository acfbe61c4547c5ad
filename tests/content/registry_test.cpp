#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "archive_writer.h"
#include "content/content_registry.h"
#include "content/data_buffer.h"
#include "core/wide_string.h"
#include "gfx/test_pictures.h"

namespace {

using Files = std::map<std::string, std::string>;

// A folder of packs for one test, removed afterwards.
class PackFolder {
 public:
  PackFolder() {
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    path_ = std::filesystem::temp_directory_path() /
            ("kestrel-registry-" + std::string(info->name()) + "-" + std::to_string(getpid()));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~PackFolder() { std::filesystem::remove_all(path_); }

  void WritePack(const std::string& name, const Files& files) const {
    std::vector<PackSource> sources;
    for (const auto& [entry, text] : files) sources.push_back({entry, std::vector<uint8_t>(text.begin(), text.end())});
    const std::vector<uint8_t> archive = BuildArchive(sources, ArchiveOptions{});
    std::ofstream(path_ / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(archive.data()), static_cast<std::streamsize>(archive.size()));
  }
  void WriteFile(const std::string& name, const std::string& bytes) const {
    std::ofstream(path_ / name, std::ios::binary) << bytes;
  }
  const std::filesystem::path& Path() const { return path_; }
  std::u16string Directory() const { return WideFromUtf8(path_.string() + "/"); }
  std::u16string PathOf(const std::string& name) const { return WideFromUtf8((path_ / name).string()); }

 private:
  std::filesystem::path path_;
};

std::string Manifest(const std::string& keys) { return "[KestrelRun]\n" + keys; }

// A pack with one mission, helicopter and weapon list, named after `tag`.
Files SmallPack(const std::string& tag, bool intro) {
  return {
      {"content.ini", Manifest(std::string(intro ? "Intro = yes\n" : "") +
                               "NoOfMissionFiles = 1\nMissionFile 0 = missions.ini\n"
                               "NoOfChopperFiles = 1\nChopperFile 0 = choppers.ini\n"
                               "NoOfWeaponFiles = 1\nWeaponFile 0 = weapons.ini\n")},
      {"missions.ini", "[Missions]\nNoOfMissions = 1\nMission 0 = M" + tag + "\n[M" + tag + "]\nHelipad = 1 2\n"},
      {"choppers.ini", "[Choppers]\nNoOfChoppers = 1\nChopper 0 = C" + tag + "\n[C" + tag + "]\nPylons = 4\n"},
      {"weapons.ini", "[Weapons]\nNoOfWeapons = 1\nWeapon 0 = W" + tag + "\n[W" + tag + "]\nType = Rocket\n"},
  };
}

std::u16string Name(const char16_t* name) { return name; }

TEST(ContentRegistry, CoreComesFirstWhateverTheOrderOnDisk) {
  PackFolder folder;
  folder.WritePack("aaa.bin", SmallPack("A", false));
  folder.WritePack("core.bin", SmallPack("Core", true));
  ContentRegistry registry;
  EXPECT_TRUE(registry.Load(folder.Directory().c_str()));
  ASSERT_EQ(registry.packs.Count(), 2);
  EXPECT_EQ(registry.packs[0]->archivePath(), Utf8FromWide(folder.PathOf("core.bin").c_str()));
  ASSERT_EQ(registry.missions.Count(), 2);
  EXPECT_EQ(Name(registry.missions[0]->name), u"MCore");
  EXPECT_EQ(Name(registry.missions[1]->name), u"MA");
  EXPECT_EQ(registry.missions[1]->pack, registry.packs[1]);
  EXPECT_EQ(Name(registry.missions[1]->listFile), u"missions.ini");
  EXPECT_EQ(Name(registry.choppers[0]->name), u"CCore");
  EXPECT_EQ(registry.choppers[0]->pylons, 4);
  EXPECT_EQ(registry.weapons[1]->weaponType, WeaponRocket);
  EXPECT_EQ(registry.introPack, registry.packs[0]);
  ASSERT_NE(registry.machineGun, nullptr);
  EXPECT_EQ(Name(registry.machineGun->name), u"MachineGun");
  EXPECT_EQ(registry.machineGun->range, 19660800);
}

// The player's own folder comes after the program's, and a pack named like one already found
// (core.bin above all) does not replace it.
TEST(ContentRegistry, ThePlayersPacksComeAfterTheProgramsAndReplaceNone) {
  PackFolder folder;
  std::filesystem::create_directories(folder.Path() / "player");
  folder.WritePack("core.bin", SmallPack("Core", true));
  folder.WritePack("zzz.bin", SmallPack("Z", false));
  folder.WritePack("player/aaa.bin", SmallPack("Player", false));
  folder.WritePack("player/core.bin", SmallPack("Impostor", true));
  folder.WritePack("player/ZZZ.bin", SmallPack("Shadow", false));
  ContentRegistry registry;
  EXPECT_TRUE(registry.Load(folder.Directory().c_str(), folder.PathOf("player").c_str()));
  ASSERT_EQ(registry.missions.Count(), 3);
  EXPECT_EQ(Name(registry.missions[0]->name), u"MCore");
  EXPECT_EQ(Name(registry.missions[1]->name), u"MZ");
  EXPECT_EQ(Name(registry.missions[2]->name), u"MPlayer");

  // With nothing beside the program, the player's packs still load; a missing folder is none.
  PackFolder alone;
  std::filesystem::create_directories(alone.Path() / "player");
  alone.WritePack("player/mine.bin", SmallPack("Mine", true));
  ContentRegistry fromPlayer;
  EXPECT_TRUE(fromPlayer.Load(alone.PathOf("empty").c_str(), alone.PathOf("player").c_str()));
  EXPECT_EQ(fromPlayer.missions.Count(), 1);
  ContentRegistry missing;
  EXPECT_FALSE(missing.Load(alone.PathOf("empty").c_str(), alone.PathOf("nowhere").c_str()));
}

TEST(ContentRegistry, APackOtherThanCoreIsLoadedAlone) {
  PackFolder folder;
  folder.WritePack("extra.BIN", SmallPack("X", true));  // the match ignores case
  ContentRegistry registry;
  EXPECT_TRUE(registry.Load(folder.Directory().c_str()));
  ASSERT_EQ(registry.packs.Count(), 1);
  EXPECT_EQ(Name(registry.missions[0]->name), u"MX");
}

TEST(ContentRegistry, NoPacksMeansNothingButTheMachineGun) {
  PackFolder folder;
  folder.WriteFile("readme.txt", "not a pack");
  ContentRegistry registry;
  EXPECT_FALSE(registry.Load(folder.Directory().c_str()));
  EXPECT_TRUE(registry.packs.Empty());
  EXPECT_TRUE(registry.missions.Empty());
  EXPECT_NE(registry.machineGun, nullptr);
}

TEST(ContentRegistry, PacksWithoutAManifestAreDropped) {
  PackFolder folder;
  Files noSection = SmallPack("N", true);
  noSection["content.ini"] = "[Other]\nNoOfMissionFiles = 1\nMissionFile 0 = missions.ini\n";
  folder.WritePack("core.bin", SmallPack("Core", false));
  folder.WritePack("nosection.bin", noSection);
  folder.WritePack("nomanifest.bin", {{"missions.ini", "[Missions]\n"}});
  folder.WriteFile("garbage.bin", "this is not an archive at all");
  ContentRegistry registry;
  EXPECT_FALSE(registry.Load(folder.Directory().c_str()));  // no intro pack among those kept
  ASSERT_EQ(registry.packs.Count(), 1);
  EXPECT_EQ(registry.missions.Count(), 1);
  EXPECT_EQ(registry.introPack, nullptr);
}

TEST(ContentRegistry, MissingNumberedKeysAndSectionsAreSkipped) {
  PackFolder folder;
  folder.WritePack("core.bin",
                   {{"content.ini", Manifest("Intro\nNoOfMissionFiles = 3\nMissionFile 0 = a.ini\n"
                                             "MissionFile 2 = c.ini\n")},
                    {"a.ini", "[Missions]\nNoOfMissions = 3\nMission 0 = One\nMission 1 = Missing\n"
                              "Mission 2 = Three\n[One]\n[Three]\n"},
                    {"c.ini", "[Missions]\nNoOfMissions = 1\nMission 0 = Four\n[Four]\n"}});
  ContentRegistry registry;
  registry.Load(folder.Directory().c_str());
  ASSERT_EQ(registry.missions.Count(), 3);
  EXPECT_EQ(Name(registry.missions[0]->name), u"One");
  EXPECT_EQ(Name(registry.missions[1]->name), u"Three");
  EXPECT_EQ(Name(registry.missions[2]->name), u"Four");
  EXPECT_EQ(Name(registry.missions[2]->listFile), u"c.ini");
}

TEST(ContentRegistry, TheLastPackWithIntroIsTheIntroPack) {
  PackFolder folder;
  folder.WritePack("core.bin", SmallPack("Core", true));
  folder.WritePack("later.bin", SmallPack("L", true));
  ContentRegistry registry;
  registry.Load(folder.Directory().c_str());
  ASSERT_EQ(registry.packs.Count(), 2);
  EXPECT_EQ(registry.introPack, registry.packs[1]);
}

TEST(ContentRegistry, RemoveDuplicateNamesKeepsTheFirstOfEachName) {
  PtrArray<char16_t*> paths;
  for (const char16_t* path : {u"/a/core.bin", u"/a/x.bin", u"/b/CORE.BIN", u"/c/core.bin", u"/d/y.bin", u"x.bin"}) {
    char16_t* copy = nullptr;
    DupString(&copy, path);
    paths.Append(copy);
  }
  EXPECT_EQ(ContentRegistry::RemoveDuplicateNames(paths), 3);
  ASSERT_EQ(paths.Count(), 3);
  EXPECT_EQ(Name(paths[0]), u"/a/core.bin");
  EXPECT_EQ(Name(paths[1]), u"/a/x.bin");
  EXPECT_EQ(Name(paths[2]), u"/d/y.bin");
  paths.FreeAll();
}

TEST(DataBuffer, FilesFromPacksAndFromDisk) {
  PackFolder folder;
  folder.WritePack("core.bin", {{"content.ini", Manifest("Intro\n")}, {"data\\notes.txt", "hello pack"}});
  folder.WriteFile("loose.txt", "hello disk");
  ContentPack pack;
  ASSERT_TRUE(pack.Open(folder.PathOf("core.bin").c_str(), nullptr));
  DataBuffer fromPack(&pack, u"DATA/NOTES.TXT");
  ASSERT_EQ(fromPack.size, 10u);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(fromPack.data), fromPack.size), "hello pack");
  DataBuffer fromDisk(nullptr, folder.PathOf("loose.txt").c_str());
  EXPECT_EQ(std::string(reinterpret_cast<char*>(fromDisk.data), fromDisk.size), "hello disk");

  EXPECT_EQ(DataBuffer(&pack, u"missing.txt").size, 0u);
  EXPECT_EQ(DataBuffer(nullptr, folder.PathOf("missing.txt").c_str()).size, 0u);
  EXPECT_FALSE(pack.Open(folder.PathOf("missing.bin").c_str(), nullptr));
  EXPECT_EQ(DataBuffer(&pack, u"data/notes.txt").size, 0u);  // a closed pack reads nothing
}

TEST(DataBuffer, ProgramPicturesViewTheProgramImage) {
  DataBuffer picture(101);
  EXPECT_GT(picture.size, 0u);
  DataBuffer moved(std::move(picture));
  EXPECT_TRUE(picture.Empty());
  moved.Release();  // frees nothing: the bytes belong to the program
  EXPECT_EQ(moved.size, 0u);
  EXPECT_EQ(DataBuffer(999).size, 0u);
}

TEST(WeaponDef, PicturesLoadFromItsPack) {
  PackFolder folder;
  const auto colour = EncodeFlatJpeg(16, 8, 3, 200);
  const auto mask = EncodeFlatJpeg(16, 8, 1, 255);
  const Files files = {{"content.ini", Manifest("Intro\nNoOfWeaponFiles = 1\nWeaponFile 0 = w.ini\n")},
                       {"w.ini", "[Weapons]\nNoOfWeapons = 1\nWeapon 0 = Hydra\n[Hydra]\nResource Splash = c.jpg\n"
                                 "Resource Title = c.jpg m.jpg\nResource Pylon = c.jpg gone.jpg\n"},
                       {"c.jpg", std::string(colour.begin(), colour.end())},
                       {"m.jpg", std::string(mask.begin(), mask.end())}};
  folder.WritePack("core.bin", files);
  ContentRegistry registry;
  registry.Load(folder.Directory().c_str());
  ASSERT_EQ(registry.weapons.Count(), 1);
  const WeaponDef& weapon = *registry.weapons[0];
  const auto splash = weapon.LoadSplash();
  ASSERT_NE(splash, nullptr);
  EXPECT_EQ(splash->width, 16);
  const auto title = weapon.LoadTitle();
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->Row(0)[0] >> 12, 15);  // white mask: opaque
  const auto pylon = weapon.LoadPylon1();  // masked by the program's picture 271
  ASSERT_NE(pylon, nullptr);
  EXPECT_EQ(pylon->Row(0)[0] >> 12, 0);    // its left half is black: transparent
  EXPECT_EQ(pylon->Row(0)[15] >> 12, 15);
  EXPECT_EQ(weapon.LoadPylon2(), nullptr);  // the file is not in the pack
}

}  // namespace
