// The Linux backend's kernel handles: one process-wide table from handle
// values to objects (files, mutexes, processes, resource modules), so every
// kind of handle is closed and waited on through the same HandlePort.
#pragma once

#include <map>
#include <memory>
#include <mutex>

#include "platform/kernel_objects.h"

namespace kelvane::platform::linux_backend {

class KernelObject {
 public:
  virtual ~KernelObject() = default;
  // Waits as WaitForSingleObject does; objects that cannot be waited on fail
  // with 6.
  virtual WaitAnswer Wait(std::uint32_t /*timeout_ms*/) { return {kWaitFailed, 6}; }
};

class HandleTable {
 public:
  static HandleTable& Instance();

  // A new handle value (never null, never the invalid value, never reused).
  NativeHandle Add(std::shared_ptr<KernelObject> object);
  std::shared_ptr<KernelObject> Find(NativeHandle handle) const;
  // Takes the object out of the table; null when the handle names none.
  std::shared_ptr<KernelObject> Remove(NativeHandle handle);

  template <typename Object>
  std::shared_ptr<Object> FindAs(NativeHandle handle) const {
    return std::dynamic_pointer_cast<Object>(Find(handle));
  }

 private:
  mutable std::mutex lock_;
  std::map<NativeHandle, std::shared_ptr<KernelObject>> objects_;
  NativeHandle next_ = 4;
};

class LinuxHandles final : public HandlePort {
 public:
  std::uint32_t Close(NativeHandle handle) override;
  WaitAnswer Wait(NativeHandle handle, std::uint32_t timeout_ms) override;
};

}  // namespace kelvane::platform::linux_backend
