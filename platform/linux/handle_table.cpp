#include "platform/linux/handle_table.h"

#include "platform/win_error.h"

namespace kelvane::platform::linux_backend {

HandleTable& HandleTable::Instance() {
  static HandleTable table;
  return table;
}

NativeHandle HandleTable::Add(std::shared_ptr<KernelObject> object) {
  std::lock_guard guard(lock_);
  const NativeHandle handle = next_;
  next_ += 4;
  objects_.emplace(handle, std::move(object));
  return handle;
}

std::shared_ptr<KernelObject> HandleTable::Find(NativeHandle handle) const {
  std::lock_guard guard(lock_);
  const auto found = objects_.find(handle);
  return found == objects_.end() ? nullptr : found->second;
}

std::shared_ptr<KernelObject> HandleTable::Remove(NativeHandle handle) {
  std::lock_guard guard(lock_);
  const auto found = objects_.find(handle);
  if (found == objects_.end()) {
    return nullptr;
  }
  std::shared_ptr<KernelObject> object = std::move(found->second);
  objects_.erase(found);
  return object;
}

std::uint32_t LinuxHandles::Close(NativeHandle handle) {
  // The object is destroyed here, outside the table's lock, unless a wait on
  // another thread still holds it.
  return HandleTable::Instance().Remove(handle) != nullptr ? win::kSuccess : win::kInvalidHandle;
}

WaitAnswer LinuxHandles::Wait(NativeHandle handle, std::uint32_t timeout_ms) {
  const std::shared_ptr<KernelObject> object = HandleTable::Instance().Find(handle);
  if (object == nullptr) {
    return {kWaitFailed, win::kInvalidHandle};
  }
  return object->Wait(timeout_ms);
}

}  // namespace kelvane::platform::linux_backend
