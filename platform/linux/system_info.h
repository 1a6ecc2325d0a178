// On Linux the system information stands for a current Windows workstation
// (10.0, product type 1), run by an administrator.
#pragma once

#include "platform/system_info.h"

namespace kelvane::platform {

class LinuxSystemInfo final : public SystemInfoPort {
 public:
  std::uint32_t GetVersion() override;
  std::optional<VersionDetails> GetVersionDetails() override;
  AdministratorAnswer TestAdministrator() override;
};

}  // namespace kelvane::platform
