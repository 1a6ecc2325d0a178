// The drive's side of the firmware write.
#pragma once

#include <cstdint>
#include <vector>

namespace kelvane::vdrive {

struct FirmwareState {
  std::vector<std::uint8_t> image;  // the last image accepted
  std::uint32_t writes_accepted = 0;
  std::uint32_t writes_refused = 0;
};

}  // namespace kelvane::vdrive
