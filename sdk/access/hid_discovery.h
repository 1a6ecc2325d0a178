// The HID-mode device scan: the USB tree walk, the knock into command mode
// and the HID interface lookup.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "sdk/access/device_context.h"
#include "sdk/kat_api.h"

namespace kelvane::sdk::access {

// Fills one record per device found and returns how many; 0 on any failure
// of the walk or the lookup. This build has no USB tree walk: no device is
// ever found and nothing is written.
std::size_t ScanHidDevices(DeviceContext& context, std::span<KatDeviceRecord* const> records,
                           std::span<const std::uint32_t> vendors,
                           std::span<const std::uint32_t> products);

}  // namespace kelvane::sdk::access
