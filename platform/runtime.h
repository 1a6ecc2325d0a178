// Runtime services whose effects tests must observe without waiting: pauses,
// the C runtime's random generator and the clock.
#pragma once

#include <cstdint>

#include "platform/port_slot.h"

namespace kelvane::platform {

class RuntimePort {
 public:
  virtual ~RuntimePort() = default;

  // Blocks for `milliseconds`, as a wait with a time-out on an event that is
  // never signalled does.
  virtual void Pause(std::uint32_t milliseconds) = 0;

  // srand / rand of the C runtime. Random() returns 0 to 32767 (RAND_MAX of
  // the Windows runtime), whatever the host's RAND_MAX is.
  virtual void SeedRandom(std::uint32_t seed) = 0;
  virtual int Random() = 0;

  // time(): seconds since 1970.
  virtual std::int64_t Now() = 0;
};

PortSlot<RuntimePort>& RuntimeSlot();
RuntimePort& Runtime();

// The auto-reset event that is never signalled, owned by the SDK state, a
// device context or a channel; waiting on it with a time-out is how the SDK
// pauses.
class SleepEvent {
 public:
  SleepEvent() = default;
  void Wait(std::uint32_t milliseconds) const { Runtime().Pause(milliseconds); }
};

}  // namespace kelvane::platform
