// KernelHandle: owns one kernel handle and closes it when destroyed.
#pragma once

#include <cstdint>

#include "framework/result.h"
#include "platform/kernel_objects.h"

namespace kelvane::framework {

class KernelHandle {
 public:
  // `empty_value` is the value that means "no handle": null for mutexes and
  // processes, platform::kInvalidHandleValue for files.
  explicit KernelHandle(platform::NativeHandle empty_value = platform::kNullHandle)
      : handle_(empty_value), empty_value_(empty_value) {}
  virtual ~KernelHandle();

  KernelHandle(const KernelHandle&) = delete;
  KernelHandle& operator=(const KernelHandle&) = delete;

  // Closes a held handle; on failure the handle stays and the result is the
  // raw system error. Nothing held: success.
  Result Close();

  // Success when a handle is held, otherwise HandleNotEnabled.
  Result CheckValid() const;

  // Takes over `handle`, produced by a call after which the system's last
  // error was `last_error`. An empty `handle` closes the current one and
  // gives `last_error` (6 when it was 0); otherwise the current handle is
  // closed (its outcome ignored) and the new one kept.
  Result Adopt(platform::NativeHandle handle, std::uint32_t last_error);

  platform::NativeHandle Handle() const { return handle_; }
  bool IsHeld() const { return handle_ != empty_value_; }

 private:
  platform::NativeHandle handle_;
  platform::NativeHandle empty_value_;
};

}  // namespace kelvane::framework
