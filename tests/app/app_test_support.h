// Shared pieces for the application tests: a temporary home for settings and screenshots, and
// a screen that records what the application asks of it.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/screen.h"

// Points the config, documents, data and content folders at a fresh temporary folder for one test.
class TemporaryHome {
 public:
  TemporaryHome() {
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    root = std::filesystem::temp_directory_path() /
           ("kestrel-app-" + std::string(info->test_suite_name()) + "-" + info->name() + "-" +
            std::to_string(::getpid()));
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root / "config");
    std::filesystem::create_directories(root / "documents");
    setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
    setenv("XDG_DOCUMENTS_DIR", (root / "documents").c_str(), 1);
    setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
    // No packs: the application tests are about the shell, not the content.
    std::filesystem::create_directories(root / "content");
    setenv("KESTREL_DATA_DIR", (root / "content").c_str(), 1);
  }
  ~TemporaryHome() { std::filesystem::remove_all(root); }

  std::string SettingsPath() const { return (root / "config" / "kestrel-run" / "settings.ini").string(); }

  std::filesystem::path root;
};

// Records its calls into a shared log; Update returns whatever the test put in `next`.
class RecordingScreen : public Screen {
 public:
  RecordingScreen(Application* application, std::string label, std::vector<std::string>* log)
      : Screen(application), label_(std::move(label)), log_(log) {}
  ~RecordingScreen() override { log_->push_back(label_ + ":delete"); }

  bool Enter() override {
    log_->push_back(label_ + ":enter");
    return true;
  }
  void Leave() override { log_->push_back(label_ + ":leave"); }
  Screen* Update(uint32_t elapsedMs, fixed frameSeconds) override {
    log_->push_back(label_ + ":update " + std::to_string(elapsedMs) + " " + std::to_string(frameSeconds));
    Screen* result = next;
    next = nullptr;
    return result;
  }
  bool Draw() override {
    log_->push_back(label_ + ":draw");
    return drawResult;
  }
  const char* Name() const override { return "Recording"; }

  Screen* next = nullptr;
  bool drawResult = true;

 private:
  std::string label_;
  std::vector<std::string>* log_;
};
