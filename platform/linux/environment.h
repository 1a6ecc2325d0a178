#pragma once

#include "platform/environment.h"

namespace kelvane::platform::linux_backend {

class LinuxEnvironment final : public EnvironmentPort {
 public:
  std::optional<std::wstring> Read(const std::wstring& name) override;
};

}  // namespace kelvane::platform::linux_backend
