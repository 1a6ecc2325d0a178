// The device SDK linked into the program (the front end's build: 32 device
// records, one listing pass).
#pragma once

#include "frontend/device_sdk.h"

namespace kelvane::frontend {

// The process-wide adapter that forwards every call to the Kat_ operation.
DeviceSdk& LinkedDeviceSdk();

}  // namespace kelvane::frontend
