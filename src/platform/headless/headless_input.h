// Where a headless run's input comes from: a script read from a file, or the soak's generator.
#pragma once

class HeadlessPlatform;

class HeadlessInput {
 public:
  virtual ~HeadlessInput() = default;
  // Called at the start of every pass of the main loop, before that pass's messages are taken:
  // the source moves the simulated clock on and queues the messages of this tick.
  virtual void BeginPass(HeadlessPlatform& platform) = 0;
};
