#include "framework/kernel_handle.h"

#include "platform/win_error.h"

namespace kelvane::framework {

KernelHandle::~KernelHandle() {
  Close();
}

Result KernelHandle::Close() {
  if (!IsHeld()) {
    return Result();
  }
  const std::uint32_t error = platform::Handles().Close(handle_);
  if (error != 0) {
    return Result(error);
  }
  handle_ = empty_value_;
  return Result();
}

Result KernelHandle::CheckValid() const {
  return IsHeld() ? Result() : Result(tq::HandleNotEnabled);
}

Result KernelHandle::Adopt(platform::NativeHandle handle, std::uint32_t last_error) {
  Close();
  if (handle == empty_value_) {
    return Result(last_error != 0 ? last_error : platform::win::kInvalidHandle);
  }
  handle_ = handle;
  return Result();
}

}  // namespace kelvane::framework
