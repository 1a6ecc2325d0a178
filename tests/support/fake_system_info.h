// System information as a test states it.
#pragma once

#include "platform/system_info.h"

namespace kelvane::testing {

class FakeSystemInfo final : public platform::SystemInfoPort {
 public:
  FakeSystemInfo() : override_(platform::SystemInfoSlot(), *this) {}

  std::uint32_t GetVersion() override { return major | (minor << 8); }
  std::optional<platform::VersionDetails> GetVersionDetails() override {
    if (!details_available) return std::nullopt;
    return platform::VersionDetails{major, minor, 0, product_type};
  }
  platform::AdministratorAnswer TestAdministrator() override {
    ++administrator_tests;
    return {administrator, administrator ? 0 : 0};
  }

  std::uint32_t major = 10;
  std::uint32_t minor = 0;
  std::uint8_t product_type = 1;
  bool details_available = true;
  bool administrator = true;
  int administrator_tests = 0;

 private:
  platform::ScopedPortOverride<platform::SystemInfoPort> override_;
};

}  // namespace kelvane::testing
