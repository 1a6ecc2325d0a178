// A runtime whose pauses return at once and are recorded, whose clock is
// fixed and whose random values can be scripted.
#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "platform/runtime.h"

namespace kelvane::testing {

class FakeRuntime final : public platform::RuntimePort {
 public:
  FakeRuntime() : override_(platform::RuntimeSlot(), *this) {}

  void Pause(std::uint32_t milliseconds) override { pauses.push_back(milliseconds); }
  void SeedRandom(std::uint32_t seed) override {
    seeds.push_back(seed);
    state_ = seed;
  }
  // Scripted values first; then the Windows runtime's generator.
  int Random() override {
    if (!scripted.empty()) {
      const int value = scripted.front();
      scripted.pop_front();
      return value;
    }
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int>((state_ >> 16) & 0x7FFFu);
  }
  std::int64_t Now() override { return now; }

  std::vector<std::uint32_t> pauses;
  std::vector<std::uint32_t> seeds;
  std::deque<int> scripted;
  std::int64_t now = 1700000000;

 private:
  std::uint32_t state_ = 1;
  platform::ScopedPortOverride<platform::RuntimePort> override_;
};

}  // namespace kelvane::testing
