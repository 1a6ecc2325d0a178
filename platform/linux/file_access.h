#pragma once

#include "platform/file_access.h"

namespace kelvane::platform::linux_backend {

// Files through stat, open and fstat. Linux has no share modes, so opening
// for reading never meets a sharing violation.
class LinuxFileAccess final : public FileAccessPort {
 public:
  ValueAnswer GetAttributes(const std::wstring& path) override;
  HandleAnswer OpenForReading(const std::wstring& path) override;
  SizeAnswer GetSize(NativeHandle file) override;
};

}  // namespace kelvane::platform::linux_backend
