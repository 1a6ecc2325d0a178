#include "sdk/sdk_state.h"

#include <cstring>

#include "platform/secure_wipe.h"

namespace kelvane::sdk {

void DeviceList::Clear() {
  platform::SecureWipe(records, sizeof(records));
  count = 0;
  capacity = kDeviceListCapacity;
  first = records;
}

namespace {

SdkState& Instance() {
  static SdkState state;
  return state;
}

}  // namespace

SdkState& State() { return Instance(); }

void ResetStateForTesting() {
  SdkState& state = Instance();
  state.initialised = false;
  state.hid_mode = false;
  state.force_hid = 0;
  state.os_kind = -1;
  state.sleep_event.reset();
  state.list_a.Clear();
  state.list_a.generation = 0;
  state.list_b.Clear();
  state.list_b.generation = 0;
  state.current = &state.list_a;
  state.current_generation = 0;
}

}  // namespace kelvane::sdk
