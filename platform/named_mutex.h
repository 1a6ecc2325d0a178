// Named mutexes shared between processes (CreateMutexA, OpenMutexA,
// ReleaseMutex; waiting is HandlePort::Wait).
//
// Semantics kept on every platform: a wait with a time-out; recursion for the
// owning thread (each successful wait needs one release); a mutex whose
// owner ended while owning it is acquired by the next waiter, which is told
// kWaitAbandoned; a mutex created open to all can be opened by every account;
// the prefix "Global\" names one object for all sessions of the machine,
// "Local\" or no prefix one per session (on Linux: per user). The object
// lives while any process holds a handle to it.
#pragma once

#include <cstdint>
#include <string>

#include "platform/kernel_objects.h"
#include "platform/port_slot.h"

namespace kelvane::platform {

// The security a mutex is created with.
struct MutexSecurity {
  bool open_to_all = false;     // a present but null access list
  bool inherit_handle = false;  // accepted; handles are never inherited on Linux
};

class MutexPort {
 public:
  virtual ~MutexPort() = default;

  // Fills `security` with an access list open to every account (security
  // descriptor with a null list). Returns 0 or the system's error.
  virtual std::uint32_t MakeOpenToAllSecurity(MutexSecurity& security) = 0;

  // Creates the mutex, or opens it when it exists: last_error is then 183
  // (already exists) and the handle is valid. `security` null means the
  // default: only the creating account may open it. Failure: null handle
  // with 5 (not allowed), 6 (the name belongs to another kind of object),
  // 123 (bad name) or the system's error.
  virtual HandleAnswer Create(const std::string& name, const MutexSecurity* security,
                              bool initial_owner) = 0;

  // Opens an existing mutex for waiting. Null with 2 when no mutex of that
  // name exists, 5 when not allowed.
  virtual HandleAnswer Open(const std::string& name, bool inherit_handle) = 0;

  // Releases one ownership of the calling thread: 0, 288 when the calling
  // thread does not own it, 6 for a bad handle.
  virtual std::uint32_t Release(NativeHandle mutex) = 0;
};

PortSlot<MutexPort>& MutexSlot();
MutexPort& Mutexes();

}  // namespace kelvane::platform
