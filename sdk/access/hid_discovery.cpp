#include "sdk/access/hid_discovery.h"

namespace kelvane::sdk::access {

std::size_t ScanHidDevices(DeviceContext&, std::span<KatDeviceRecord* const>,
                           std::span<const std::uint32_t>, std::span<const std::uint32_t>) {
  return 0;
}

}  // namespace kelvane::sdk::access
