// The Linux drive backend. It reports no drives yet: reaching USB drives
// through SG_IO comes with the native device backend.
#pragma once

#include "platform/drives.h"

namespace kelvane::platform {

class NativeDrives final : public DrivePort {
 public:
  std::vector<LogicalDrive> ListDrives() override;
  ScsiOutcome ScsiPassThrough(const ScsiRequest& request) override;
  std::uint32_t ProbeOpen(char letter) override;
};

}  // namespace kelvane::platform
