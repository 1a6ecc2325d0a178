// NamedMutex: a mutex shared between processes by name, on a KernelHandle.
//
// A NamedMutex starts with no handle and not owned. Create, CreateOpenToAll
// and OpenAndLock give it a handle; a successful wait makes it owned (by the
// calling thread, which may wait again at once); Close releases an owned
// mutex once and closes the handle. The destructor closes.
#pragma once

#include <cstdint>
#include <string>

#include "framework/kernel_handle.h"
#include "platform/named_mutex.h"

namespace kelvane::framework {

// The system-wide mutex that serialises access to the security drive.
inline constexpr char kDeviceMutexName[] = "Global\\745B0A49_6FD7_4F09_8C3C_D6DDB7820874";

// The time-out every device operation waits for the device mutex.
inline constexpr std::uint32_t kDeviceMutexTimeoutMs = 40000;

class NamedMutex : public KernelHandle {
 public:
  NamedMutex() : KernelHandle(platform::kNullHandle) {}
  ~NamedMutex() override;

  // Creates the mutex (or opens it when it exists) with `security` (null:
  // the default). `created`, when asked for, is set to false when the mutex
  // existed. With `try_lock` a wait with time-out 0 follows, its outcome
  // ignored. Errors: InvalidArgument (empty name); site 646 then the system
  // error; site 652 then HandleNotEnabled.
  Result Create(const std::string& name, const platform::MutexSecurity* security, bool try_lock,
                bool* created = nullptr);

  // Create with an access list open to every account (and handle
  // inheritance on); a failure of Create is chained with site 636.
  Result CreateOpenToAll(const std::string& name, bool try_lock, bool* created = nullptr);

  // Opens an existing mutex and waits up to `timeout_ms` to own it; a mutex
  // abandoned by an owner that ended counts as acquired. Errors:
  // InvalidArgument (empty name); site 677 then the system error (2: no such
  // mutex); site 678 then HandleNotEnabled; site 682 then 258 (time-out,
  // handle closed); the raw system error when the wait fails (handle closed).
  Result OpenAndLock(const std::string& name, std::uint32_t timeout_ms, bool inherit_handle);

  // Waits up to `timeout_ms` to own the held mutex; the handle stays in every
  // case. Errors: site 689 then HandleNotEnabled; site 692 then 258
  // (time-out); the raw system error when the wait fails.
  Result Lock(std::uint32_t timeout_ms);

  // Nothing held: success and nothing else. Otherwise releases the mutex if
  // owned (outcome ignored) and closes the handle; a close failure is
  // chained with site 715.
  Result Close();

  bool IsOwned() const { return owned_ != 0; }

 private:
  std::uint32_t owned_ = 0;
};

}  // namespace kelvane::framework
