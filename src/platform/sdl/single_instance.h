// At most one running copy per user: a lock file in the runtime folder. A second copy finds
// the lock held, asks the first (through a local socket beside the lock) to raise its window,
// and ends.
#pragma once

#include <string>

class SingleInstance {
 public:
  SingleInstance();
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // True when this copy now holds the lock; false when another copy holds it (which has then
  // been asked to raise its window).
  bool Claim();
  // True once for each request from a later copy to come to the front (never blocks).
  bool RaiseRequested();

 private:
  std::string lockPath_;
  std::string socketPath_;
  int lockFd_ = -1;
  int listenFd_ = -1;
};
