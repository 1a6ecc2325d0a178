#include "platform/linux/runtime.h"

#include <time.h>

#include <cerrno>

namespace kelvane::platform {

void LinuxRuntime::Pause(std::uint32_t milliseconds) {
  timespec wanted{static_cast<time_t>(milliseconds / 1000),
                  static_cast<long>(milliseconds % 1000) * 1000000L};
  while (nanosleep(&wanted, &wanted) != 0 && errno == EINTR) {
  }
}

void LinuxRuntime::SeedRandom(std::uint32_t seed) { state_ = seed; }

int LinuxRuntime::Random() {
  state_ = state_ * 214013u + 2531011u;
  return static_cast<int>((state_ >> 16) & 0x7FFFu);
}

std::int64_t LinuxRuntime::Now() { return static_cast<std::int64_t>(::time(nullptr)); }

}  // namespace kelvane::platform
