#include "platform/linux/native_drives.h"

#include "platform/win_error.h"

namespace kelvane::platform {

std::vector<LogicalDrive> NativeDrives::ListDrives() { return {}; }

ScsiOutcome NativeDrives::ScsiPassThrough(const ScsiRequest&) {
  ScsiOutcome outcome;
  outcome.stage = ScsiOutcome::Stage::kOpenFailed;
  outcome.error = win::kFileNotFound;
  return outcome;
}

std::uint32_t NativeDrives::ProbeOpen(char) { return win::kFileNotFound; }

}  // namespace kelvane::platform
