// The recorded script: steps and input in the order a headless replay needs them.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/input_recorder.h"
#include "app/keys.h"

namespace {

std::string Recorded(void (*record)(InputRecorder&)) {
  const auto path = std::filesystem::temp_directory_path() / ("kestrel-record-" + std::to_string(::getpid()));
  {
    InputRecorder recorder;
    EXPECT_TRUE(recorder.Open(path.string()));
    record(recorder);
  }  // finished by the destructor
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  std::filesystem::remove(path);
  const std::string all = text.str();
  return all.substr(all.find('\n') + 1);  // without the heading comment
}

TEST(InputRecorder, WritesStepsBeforeTheTicksTheyMoveTheClockFor) {
  // The clock starts where the first tick found it, and that tick has no step of its own (the
  // replay's first pass does not move the clock);
  // ticks of the running step without input share a wait; a new step is set just before the
  // wait of the tick ahead of it; the closing tick is "quit".
  EXPECT_EQ(Recorded([](InputRecorder& r) {
              r.Tick(0, 200);
              r.Tick(0, 33);
              r.Tick(0, 33);
              r.Key(true, KeyAction);
              r.PenDown(10, 20);
              r.Tick(0, 33);
              r.Key(false, KeyAction);
              r.PenMove(11, 21);
              r.PenUp();
              r.Tick(0, 50);
              r.Tick(0, 50);
              r.Tick(0, 7);
            }),
            "clock 0\nwait 99\nkey down action\npen down 10 20\nframe-ms 50\nwait 1\nkey up action\npen move 11 21\n"
            "pen up\nwait 50\nframe-ms 7\nwait 1\nquit\n");
  EXPECT_EQ(Recorded([](InputRecorder& r) { r.Key(true, KeyCount); }), "");
  EXPECT_EQ(Recorded([](InputRecorder& r) { r.Tick(3000000000u, 200); }), "clock 3000000000\nquit\n");
}

TEST(InputRecorder, AFileThatCannotBeWrittenIsRefused) {
  InputRecorder recorder;
  EXPECT_FALSE(recorder.Open("/nonexistent-folder/run.script"));
  recorder.Tick(0, 33);  // nothing to write to: nothing happens
}

}  // namespace
