// The process environment.
#pragma once

#include <optional>
#include <string>

#include "platform/port_slot.h"

namespace kelvane::platform {

class EnvironmentPort {
 public:
  virtual ~EnvironmentPort() = default;

  // GetEnvironmentVariableW: the value of `name`, nullopt when the variable
  // is not set. Does not block; never fails otherwise. On Linux names are
  // matched exactly and values are read as UTF-8.
  virtual std::optional<std::wstring> Read(const std::wstring& name) = 0;
};

PortSlot<EnvironmentPort>& EnvironmentSlot();
EnvironmentPort& Environment();

}  // namespace kelvane::platform
