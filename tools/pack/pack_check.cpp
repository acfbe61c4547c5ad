// `kestrel-pack check`: the pack as a whole, the manifest and the list files. The definitions
// are made by the game's own list loaders (ContentRegistry) and then checked one by one.
#include "pack_check.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "archive_index.h"
#include "archive_writer.h"
#include "content/content_registry.h"
#include "content/data_buffer.h"
#include "core/wide_string.h"
#include "pack_check_internal.h"
#include "pack_sources.h"

namespace fs = std::filesystem;

namespace pack_check {
namespace {

// A pack made of a folder for the length of the check, in the temporary folder.
class TemporaryPack {
 public:
  ~TemporaryPack() {
    if (!path_.empty()) std::remove(path_.c_str());
  }
  const std::string& path() const { return path_; }

  // Stores every file of `folder` as `create` would name it (no compression: the files are
  // read back at once).
  bool Make(const std::string& folder, std::string& error) {
    std::vector<PackSource> sources;
    if (!CollectPackSources({folder}, int64_t{0}, sources, error)) return false;
    ArchiveOptions options;
    options.store = true;
    const std::vector<uint8_t> bytes = BuildArchive(sources, options);
    std::string name = (fs::temp_directory_path() / "kestrel-pack-check-XXXXXX").string();
    const int descriptor = mkstemp(name.data());
    if (descriptor < 0) {
      error = "cannot make a temporary file in " + fs::temp_directory_path().string();
      return false;
    }
    path_ = name;
    size_t written = 0;
    while (written < bytes.size()) {
      const ssize_t n = write(descriptor, bytes.data() + written, bytes.size() - written);
      if (n <= 0) break;
      written += static_cast<size_t>(n);
    }
    close(descriptor);
    if (written != bytes.size()) error = "cannot write the temporary file " + path_;
    return written == bytes.size();
  }

 private:
  std::string path_;
};

enum class Defines { kMissions, kChoppers, kWeapons };

// A list file's kind: the manifest keys that name such files, the section and keys inside.
struct ListKind {
  Defines defines;
  const char16_t* countKey;  // in the manifest
  const char* fileWord;
  const char16_t* listSection;
  const char16_t* listCountKey;
  const char* entryWord;
  void (ContentRegistry::*load)(const ContentPack*, const char16_t*);
};

constexpr ListKind kMissions = {Defines::kMissions,
                                u"NoOfMissionFiles",
                                "MissionFile",
                                u"Missions",
                                u"NoOfMissions",
                                "Mission",
                                &ContentRegistry::LoadMissionList};
constexpr ListKind kChoppers = {Defines::kChoppers,
                                u"NoOfChopperFiles",
                                "ChopperFile",
                                u"Choppers",
                                u"NoOfChoppers",
                                "Chopper",
                                &ContentRegistry::LoadChopperList};
constexpr ListKind kWeapons = {Defines::kWeapons,
                               u"NoOfWeaponFiles",
                               "WeaponFile",
                               u"Weapons",
                               u"NoOfWeapons",
                               "Weapon",
                               &ContentRegistry::LoadWeaponList};

struct Numbered {
  const char16_t* value;
  std::string key;
};

// The first values of "<word> 0" .. "<word> N-1", N being the value of `countKey`, as the
// registry reads them. Reports a missing count (when `required`), a count that is not a number,
// numbered keys missing below N, and numbered keys the game never reads.
std::vector<Numbered> NumberedValues(Context& context, const char16_t* file, const IniSection& section,
                                     const char16_t* countKey, const std::string& word, bool required) {
  std::vector<Numbered> values;
  const IniKey* count = section.FindKey(countKey);
  const Where countWhere{file, KeyOf(section, countKey)};
  uint64_t checked = 0;
  if (count == nullptr || count->values.Empty()) {
    if (required) context.report.Add(countWhere, "missing: the file defines nothing");
  } else if (!WholeNumber(*count->values[0], checked)) {
    context.report.Add(countWhere, Quote(count->values[0]->text) + " is not a whole number (the game reads " +
                                       std::to_string(count->values[0]->ToInt()) + ")");
  }
  const uint16_t n = count != nullptr && !count->values.Empty() ? static_cast<uint16_t>(count->values[0]->ToInt()) : 0;
  const std::string countText = Show(countKey) + " is " + std::to_string(n);
  long missingFrom = -1;  // the first of a run of missing keys
  const auto endRun = [&](long end) {
    if (missingFrom < 0) return;
    const std::string first = word + " " + std::to_string(missingFrom);
    const std::string keys = end - 1 == missingFrom ? first : first + " to " + word + " " + std::to_string(end - 1);
    context.report.Add({file, KeyOf(section, keys)}, "missing, though " + countText);
    missingFrom = -1;
  };
  for (uint16_t i = 0; i < n; ++i) {
    const std::string key = word + " " + std::to_string(i);
    const IniKey* found = section.FindKey(WideFromUtf8(key).c_str());
    if (found == nullptr || found->values.Empty()) {
      if (missingFrom < 0) missingFrom = i;
      continue;
    }
    endRun(i);
    values.push_back({found->values[0]->text, KeyOf(section, key)});
  }
  endRun(n);
  const std::string prefix = MatchName(word + " ");
  for (const IniKey* key : section.keys) {
    const std::string name = Show(key->name);
    if (name.size() <= prefix.size() || MatchName(name.substr(0, prefix.size())) != prefix) continue;
    const std::string digits = name.substr(prefix.size());
    if (digits.find_first_not_of("0123456789") != std::string::npos || digits.size() > 6) continue;
    if (std::stoul(digits) >= n) context.report.Add({file, KeyOf(section, key->name)}, "ignored, as " + countText);
  }
  return values;
}

// One list file named by the manifest: its sections checked, its definitions made by the
// registry's loader and checked.
void CheckList(Context& context, ContentRegistry& registry, const Numbered& named, const ListKind& kind) {
  const char16_t* file = named.value;
  const DataBuffer bytes(context.pack, file);
  if (bytes.Empty()) {
    context.report.Add({u"content.ini", named.key},
                       "names " + QuoteFile(file) + ", which is " + context.WhyMissing(file));
    return;
  }
  IniDocument document;
  document.LoadFromBuffer(bytes.data, bytes.size);
  const IniSection* list = document.FindSection(kind.listSection);
  if (list == nullptr) {
    context.report.Add({file, "[" + Show(kind.listSection) + "]"}, "missing: the file defines nothing");
    return;
  }
  std::vector<const IniSection*> sections;
  for (const Numbered& entry : NumberedValues(context, file, *list, kind.listCountKey, kind.entryWord, true)) {
    const IniSection* section = document.FindSection(entry.value);
    if (section == nullptr) {
      context.report.Add({file, entry.key}, "names no section " + Quote(entry.value) + " of this file");
    } else {
      sections.push_back(section);
    }
  }
  // The registry makes one definition per section found, in the same order.
  const uint16_t before[3] = {registry.missions.Count(), registry.choppers.Count(), registry.weapons.Count()};
  (registry.*kind.load)(context.pack, file);
  for (size_t k = 0; k < sections.size(); ++k) {
    const uint16_t at = static_cast<uint16_t>(k);
    if (kind.defines == Defines::kMissions && before[0] + at < registry.missions.Count()) {
      CheckMission(context, document, *sections[k], *registry.missions[before[0] + at]);
    } else if (kind.defines == Defines::kChoppers && before[1] + at < registry.choppers.Count()) {
      CheckChopper(context, file, *sections[k], *registry.choppers[before[1] + at]);
    } else if (kind.defines == Defines::kWeapons && before[2] + at < registry.weapons.Count()) {
      CheckWeapon(context, file, *sections[k], *registry.weapons[before[2] + at]);
    }
  }
}

void CheckManifest(Context& context) {
  const Where top{u"content.ini", "[KestrelRun]"};
  const DataBuffer bytes(context.pack, u"content.ini");
  if (bytes.Empty()) {
    context.report.Add(
        top, "content.ini is " + context.WhyMissing(u"content.ini") + ": the game ignores a pack without its manifest");
    return;
  }
  IniDocument manifest;
  manifest.LoadFromBuffer(bytes.data, bytes.size);
  const IniSection* section = manifest.FindSection(u"KestrelRun");
  if (section == nullptr) {
    context.report.Add(top, "missing: the game ignores a pack without it");
    return;
  }
  ContentRegistry registry;  // holds the definitions while they are checked
  for (const ListKind* kind : {&kMissions, &kChoppers, &kWeapons}) {
    for (const Numbered& list :
         NumberedValues(context, u"content.ini", *section, kind->countKey, kind->fileWord, false)) {
      CheckList(context, registry, list, *kind);
    }
  }
  if (section->FindKey(u"Intro") != nullptr) CheckIntro(context, *section);
}

}  // namespace
}  // namespace pack_check

bool CheckContent(const std::string& path, std::vector<std::string>& problems, std::string& error) {
  using namespace pack_check;
  problems.clear();
  std::error_code ec;
  TemporaryPack temporary;
  std::string archive = path;
  if (fs::is_directory(path, ec)) {
    if (!temporary.Make(path, error)) return false;
    archive = temporary.path();
  }
  std::vector<ArchiveEntryInfo> entries;
  bool solid = false;
  if (!ListArchive(archive, entries, solid, error)) return false;
  Context context;
  for (const ArchiveEntryInfo& entry : entries) context.entrySizes[MatchName(entry.name)] = entry.unpackedSize;
  ContentPack pack;
  if (!pack.Open(WideFromUtf8(archive).c_str(), nullptr)) {
    error = "cannot read " + path;
    return false;
  }
  context.pack = &pack;
  context.lineFinder.SetPack(&pack);
  CheckManifest(context);
  problems = context.report.lines();
  return true;
}
