#include "platform/sdl/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace {

std::string RuntimeDirectory() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && *runtime == '/') return runtime;
  return "/tmp";
}

bool FillAddress(const std::string& path, sockaddr_un* address) {
  std::memset(address, 0, sizeof *address);
  address->sun_family = AF_UNIX;
  if (path.size() >= sizeof address->sun_path) return false;
  std::memcpy(address->sun_path, path.c_str(), path.size() + 1);
  return true;
}

}  // namespace

SingleInstance::SingleInstance() {
  const std::string base = RuntimeDirectory() + "/kestrel-run-" + std::to_string(getuid());
  lockPath_ = base + ".lock";
  socketPath_ = base + ".sock";
}

SingleInstance::~SingleInstance() {
  if (listenFd_ >= 0) {
    close(listenFd_);
    unlink(socketPath_.c_str());
  }
  if (lockFd_ >= 0) close(lockFd_);  // releases the lock
}

bool SingleInstance::Claim() {
  lockFd_ = open(lockPath_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (lockFd_ < 0) return true;  // no place for a lock: run rather than refuse to start
  sockaddr_un address{};
  const bool haveAddress = FillAddress(socketPath_, &address);
  if (flock(lockFd_, LOCK_EX | LOCK_NB) != 0) {
    close(lockFd_);
    lockFd_ = -1;
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd >= 0 && haveAddress && connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
      const char request[] = "raise\n";
      (void)!write(fd, request, sizeof request - 1);
    }
    if (fd >= 0) close(fd);
    return false;
  }
  // We hold the lock, so any socket file left behind is stale.
  unlink(socketPath_.c_str());
  listenFd_ = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (listenFd_ >= 0 &&
      (!haveAddress || bind(listenFd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
       listen(listenFd_, 4) != 0)) {
    close(listenFd_);
    listenFd_ = -1;
  }
  return true;
}

bool SingleInstance::RaiseRequested() {
  if (listenFd_ < 0) return false;
  const int client = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
  if (client < 0) return false;
  close(client);
  return true;
}
