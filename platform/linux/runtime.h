#pragma once

#include "platform/runtime.h"

namespace kelvane::platform {

// The real clock and pauses; the random generator is the Windows runtime's
// linear congruential rand(), so drawn sequences match across platforms.
class LinuxRuntime final : public RuntimePort {
 public:
  void Pause(std::uint32_t milliseconds) override;
  void SeedRandom(std::uint32_t seed) override;
  int Random() override;
  std::int64_t Now() override;

 private:
  std::uint32_t state_ = 1;
};

}  // namespace kelvane::platform
