// One replaceable implementation of a platform concern.
//
// Every concern of the port (drives, system information, runtime services, ...)
// is reached through an accessor that returns the implementation in force: a
// test's override when one is installed, otherwise the process default chosen
// by the backend. Overrides nest and are not thread-safe; tests install them
// on the thread that runs the code under test.
#pragma once

namespace kelvane::platform {

template <typename Port>
class PortSlot {
 public:
  // The override when one is installed, else `fallback`.
  Port& Resolve(Port& fallback) const { return override_port != nullptr ? *override_port : fallback; }

  Port* override_port = nullptr;
};

// Installs `port` as the implementation of its concern for the life of this
// object; the previous implementation returns afterwards. `port` must outlive
// the override.
template <typename Port>
class ScopedPortOverride {
 public:
  ScopedPortOverride(PortSlot<Port>& slot, Port& port) : slot_(slot), previous_(slot.override_port) {
    slot_.override_port = &port;
  }
  ~ScopedPortOverride() { slot_.override_port = previous_; }
  ScopedPortOverride(const ScopedPortOverride&) = delete;
  ScopedPortOverride& operator=(const ScopedPortOverride&) = delete;

 private:
  PortSlot<Port>& slot_;
  Port* previous_;
};

}  // namespace kelvane::platform
