#include "platform/headless/soak_input.h"

#include <algorithm>
#include <cinttypes>
#include <cstdlib>

#include "platform/headless/headless_platform.h"

namespace {

// AddressSanitizer keeps freed blocks resident in its quarantine (256 MiB by default) so that
// late uses of them are caught: there the resident memory grows by design, and its own leak
// check at exit takes the place of the bound.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif
#else
constexpr bool kAddressSanitizer = false;
#endif

// The screen names as the game's state lines give them.
constexpr char kGameScreen[] = "game";
constexpr char kNoScreen[] = "none";
constexpr char kDebriefScreen[] = "Debrief";

// The value of "key" in a state line: a string's text or a number's digits; empty when absent.
std::string StateValue(const std::string& state, const std::string& key) {
  const std::string label = "\"" + key + "\":";
  const size_t at = state.find(label);
  if (at == std::string::npos) return {};
  const size_t start = at + label.size();
  if (start < state.size() && state[start] == '"') {
    const size_t end = state.find('"', start + 1);
    return end == std::string::npos ? std::string() : state.substr(start + 1, end - start - 1);
  }
  const size_t end = state.find_first_of(",}", start);
  return state.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

}  // namespace

SoakInput::SoakInput(uint32_t seconds, uint64_t seed) : durationMs_(seconds * 1000), seed_(seed), gestures_(seed) {}

void SoakInput::BeginPass(HeadlessPlatform& platform) {
  if (finished_) return;
  if (!started_) {
    startMs_ = platform.Milliseconds();
    started_ = true;
  }
  const uint32_t elapsed = platform.Milliseconds() - startMs_;
  if (ScriptHost* host = platform.scriptHost()) Observe(host->DescribeState(), elapsed);

  if (elapsed >= kFirstMinuteMs && !afterFirstMinute_) afterFirstMinute_ = ReadResidentMemory();
  if (elapsed >= durationMs_) {
    elapsedMs_ = elapsed;
    if (!screen_.empty()) visits_[screen_].milliseconds += elapsed - screenSinceMs_;
    atEnd_ = ReadResidentMemory();
    finished_ = true;
    platform.QueueEvent(PlatformEvent{EventKind::CloseRequested});
    return;
  }
  if (runner_.ranDry()) {
    SoakGestures::View view;
    view.scene = popupDepth_ > 0          ? SoakGestures::Scene::Popup
                 : screen_ == kGameScreen ? SoakGestures::Scene::Flight
                                          : SoakGestures::Scene::Menu;
    view.landscape = platform.landscape();
    runner_.Append(gestures_.Next(view));
  }
  runner_.BeginPass(platform);
  ++frames_;
}

void SoakInput::Observe(const std::string& state, uint32_t elapsedMs) {
  const std::string screen = StateValue(state, "screen");
  if (screen == kNoScreen) return;  // between one screen and the next, or at shutdown
  if (screen != screen_) {
    if (!screen_.empty()) visits_[screen_].milliseconds += elapsedMs - screenSinceMs_;
    screenSinceMs_ = elapsedMs;
    screen_ = screen;
    popupDepth_ = 0;
    ++visits_[screen].count;
    if (screen == kGameScreen) ++missionsStarted_;
    if (screen == kDebriefScreen) ++(StateValue(state, "result") == "success" ? missionsWon_ : missionsLost_);
  }
  // Only the innermost popup shows, so a popup that opens shows as one level more.
  const int depth = std::atoi(StateValue(state, "popupDepth").c_str());
  if (depth > popupDepth_) {
    popupsOpened_ += static_cast<uint32_t>(depth - popupDepth_);
    if (screen == kGameScreen) popupsInMissions_ += static_cast<uint32_t>(depth - popupDepth_);
  }
  popupDepth_ = depth;
}

bool SoakInput::Report(std::FILE* output) const {
  std::fprintf(output, "soak: seed %" PRIu64 ", %u.%03u simulated seconds, %" PRIu64 " frames, %u restarts\n", seed_,
               elapsedMs_ / 1000, elapsedMs_ % 1000, frames_, restarts_);
  std::fprintf(output, "screens visited:");
  const char* separator = " ";
  for (const auto& [screen, visits] : visits_) {
    std::fprintf(output, "%s%s %u (%u s)", separator, screen.c_str(), visits.count, visits.milliseconds / 1000);
    separator = ", ";
  }
  std::fprintf(output, "\nmissions started: %u (won %u, lost %u), popups opened: %u (in missions %u)\n",
               missionsStarted_, missionsWon_, missionsLost_, popupsOpened_, popupsInMissions_);

  // The kernel brings the high-water mark up to date only now and then: the samples count too.
  const uint64_t peak = std::max({ReadResidentMemory().peakKiB, atEnd_.peakKiB, atEnd_.currentKiB});
  std::fprintf(output, "memory: peak %" PRIu64 " KiB resident, at the end %" PRIu64 " KiB", peak, atEnd_.currentKiB);
  if (!afterFirstMinute_) {
    std::fprintf(output, " (a run of a minute or less is not checked for growth)\n");
    return true;
  }
  const int64_t growth = static_cast<int64_t>(atEnd_.currentKiB) - static_cast<int64_t>(afterFirstMinute_->currentKiB);
  std::fprintf(output, ", after the first minute %" PRIu64 " KiB: grew %" PRId64 " KiB ", afterFirstMinute_->currentKiB,
               growth);
  if (kAddressSanitizer) {
    std::fprintf(output, "(not checked: AddressSanitizer holds freed memory; its leak check runs at exit)\n");
    return true;
  }
  std::fprintf(output, "(bound %" PRId64 " KiB)\n", kGrowthBoundKiB);
  return growth <= kGrowthBoundKiB;
}
