// Kernel handles: the values by which the framework holds files, mutexes and
// processes, and the operations every kind of handle shares (waiting on it and
// closing it). Error codes are Windows error codes (platform/win_error.h).
#pragma once

#include <cstdint>

#include "platform/port_slot.h"

namespace kelvane::platform {

using NativeHandle = std::uintptr_t;

// The two values that mean "no handle": null (mutexes, processes, modules)
// and the invalid handle value (files).
inline constexpr NativeHandle kNullHandle = 0;
inline constexpr NativeHandle kInvalidHandleValue = ~NativeHandle{0};

// A handle produced by a call, with the last-error value read right after it.
struct HandleAnswer {
  NativeHandle handle = kNullHandle;
  std::uint32_t last_error = 0;
};

// A number produced by a call, with its error code (0 on success).
struct ValueAnswer {
  std::uint32_t value = 0;
  std::uint32_t error = 0;
};

// Wait statuses (WaitForSingleObject) and the unlimited time-out.
inline constexpr std::uint32_t kWaitObject0 = 0;
inline constexpr std::uint32_t kWaitAbandoned = 0x80;
inline constexpr std::uint32_t kWaitTimeout = 0x102;
inline constexpr std::uint32_t kWaitFailed = 0xFFFFFFFF;
inline constexpr std::uint32_t kInfinite = 0xFFFFFFFF;

struct WaitAnswer {
  std::uint32_t status = kWaitFailed;
  std::uint32_t error = 0;  // set when status is kWaitFailed
};

class HandlePort {
 public:
  virtual ~HandlePort() = default;

  // CloseHandle. Returns 0, or 6 (invalid handle) for a value that names no
  // open handle; the handle stays open on failure.
  virtual std::uint32_t Close(NativeHandle handle) = 0;

  // WaitForSingleObject: blocks the calling thread until the object is
  // signalled or `timeout_ms` passes (kInfinite: no limit; 0: only tests).
  // A process is signalled once it has ended; a mutex when the calling
  // thread acquires it (kWaitAbandoned when its previous owner ended while
  // owning it: the caller owns it all the same).
  virtual WaitAnswer Wait(NativeHandle handle, std::uint32_t timeout_ms) = 0;
};

PortSlot<HandlePort>& HandleSlot();
HandlePort& Handles();

}  // namespace kelvane::platform
