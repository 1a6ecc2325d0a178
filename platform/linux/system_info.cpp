#include "platform/linux/system_info.h"

namespace kelvane::platform {

namespace {
constexpr std::uint32_t kMajor = 10;
constexpr std::uint32_t kMinor = 0;
constexpr std::uint32_t kBuild = 19045;
}  // namespace

std::uint32_t LinuxSystemInfo::GetVersion() { return kMajor | (kMinor << 8) | (kBuild << 16); }

std::optional<VersionDetails> LinuxSystemInfo::GetVersionDetails() {
  return VersionDetails{kMajor, kMinor, kBuild, 1};
}

AdministratorAnswer LinuxSystemInfo::TestAdministrator() { return {true, 0}; }

}  // namespace kelvane::platform
