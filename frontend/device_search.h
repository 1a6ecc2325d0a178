// The device search: is exactly one supported drive attached, does it still
// need the update, and is the writer there to do it?
#pragma once

#include "framework/result.h"
#include "frontend/sdk_device.h"

namespace kelvane::frontend {

class UpdaterDialog;

// The target firmware version and the accepted USB vendor identifiers.
inline constexpr char kTargetVersion[] = "01.03.10";
inline constexpr std::int32_t kAcceptedVendorIds[] = {0x0693, 0x056E};

// Classifies the one drive that `device` (configured) can open. Success means
// the update may run. Errors: site 60 then NotFoundTolvakExe (no device is
// touched); site 65 then Open's failure (DeviceNotFound, ManyDeviceFound,
// ...); site 68 then GetDeviceInfo's failure; site 72 then InvalidVendorID;
// site 75 then FoundLastestVersion.
framework::Result SearchDevice(SdkDevice& device);

// One full search with its own SdkDevice, configured from a fresh copy of the
// program's settings; writes the Japanese report into the dialog's log box
// and returns the search Result. Nothing of the device stays open afterwards.
framework::Result SearchAndReport(UpdaterDialog& dialog);

}  // namespace kelvane::frontend
