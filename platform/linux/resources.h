#pragma once

#include "platform/resources.h"

namespace kelvane::platform::linux_backend {

// Resources from the table appended to a program file (resource_table.h).
// A module holds the file's table as it was when loaded.
class LinuxResources final : public ResourcePort {
 public:
  HandleAnswer LoadModule(const std::wstring& path) override;
  void FreeModule(NativeHandle module) override;
  std::uint32_t EnumerateTypes(NativeHandle module,
                               const std::function<bool(const std::wstring&)>& visit) override;
  HandleAnswer FindResource(NativeHandle module, const std::wstring& type, const std::wstring& name,
                            std::uint16_t language) override;
  HandleAnswer LoadResource(NativeHandle module, NativeHandle resource) override;
  ValueAnswer SizeOfResource(NativeHandle module, NativeHandle resource) override;
  BytesAnswer LockResource(NativeHandle module, NativeHandle loaded) override;
};

}  // namespace kelvane::platform::linux_backend
