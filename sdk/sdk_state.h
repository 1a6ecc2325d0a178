// The SDK's process-wide state: plain globals, one caller at a time.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/runtime.h"
#include "sdk/kat_api.h"
#include "sdk/sdk_build_config.h"

namespace kelvane::sdk {

struct DeviceList {
  KatDeviceRecord records[kDeviceListCapacity];
  std::uint32_t count = 0;
  std::uint32_t capacity = kDeviceListCapacity;
  KatDeviceRecord* first = nullptr;
  std::int32_t generation = 0;

  // count 0, capacity restored, every record zeroed.
  void Clear();
};

struct SdkState {
  bool initialised = false;
  bool hid_mode = false;
  std::uint8_t force_hid = 0;
  std::int32_t os_kind = -1;
  std::unique_ptr<platform::SleepEvent> sleep_event;
  DeviceList list_a;
  DeviceList list_b;
  DeviceList* current = &list_a;
  std::int32_t current_generation = 0;
};

// The one instance.
SdkState& State();

// Puts the state back as it is at load. For tests: the SDK has no such
// operation.
void ResetStateForTesting();

}  // namespace kelvane::sdk
