// Kat_InitAPI, Kat_CloseAPI, Kat_isHID and Kat_ForceHIDmode.
#include <memory>

#include "platform/runtime.h"
#include "sdk/access/device_context.h"
#include "sdk/kat_api.h"
#include "sdk/sdk_state.h"
#include "sdk/transport_mode.h"

namespace {

using kelvane::sdk::State;

// A fresh context carrying the SDK's flags; `hid_mode` stays as it was when
// the decision gives no answer.
void UpdateHidModeFlag() {
  auto& state = State();
  kelvane::sdk::access::DeviceContext context;
  context.scsi_usable = state.hid_mode ? 0 : 1;
  context.force_hid = state.force_hid;
  if (kelvane::sdk::DecideTransportMode(context) == 0) {
    state.hid_mode = context.scsi_usable == 0;
  } else {
    // No answer: keep SCSI.
    state.hid_mode = false;
  }
}

}  // namespace

extern "C" int32_t KAT_CALL Kat_InitAPI(uint32_t* version) {
  auto& state = State();
  if (state.initialised) return UDVErrorAlreadyInitSDK;
  kelvane::platform::Runtime().SeedRandom(static_cast<std::uint32_t>(kelvane::platform::Runtime().Now()));
  state.sleep_event = std::make_unique<kelvane::platform::SleepEvent>();
  kelvane::sdk::ComputeOsKindCode(state.os_kind);
  UpdateHidModeFlag();
  state.list_a.Clear();
  state.list_a.generation = 0;
  state.list_b.Clear();
  state.list_b.generation = 1;
  state.current = &state.list_a;
  if (version != nullptr) *version = kelvane::sdk::kVersionCode;
  state.initialised = true;
  return UDVSuccess;
}

extern "C" int32_t KAT_CALL Kat_CloseAPI(void) {
  auto& state = State();
  if (!state.initialised) return UDVErrorAlreadyCloseSDK;
  state.initialised = false;
  state.sleep_event.reset();
  state.current->Clear();
  return UDVSuccess;
}

extern "C" int32_t KAT_CALL Kat_isHID(int32_t* is_hid) {
  auto& state = State();
  if (!state.initialised) return UDVErrorNoInitSDK;
  if (is_hid == nullptr) return UDVErrorInputParameter;
  kelvane::sdk::access::DeviceContext context;
  context.scsi_usable = state.hid_mode ? 0 : 1;
  context.force_hid = state.force_hid;
  if (kelvane::sdk::DecideTransportMode(context) != 0) return UDVError;
  *is_hid = context.scsi_usable == 0 ? 1 : 0;
  return UDVSuccess;
}

extern "C" int32_t KAT_CALL Kat_ForceHIDmode(uint8_t force) {
  auto& state = State();
  if (!state.initialised) return UDVErrorAlreadyInitSDK;
  state.force_hid = force;
  UpdateHidModeFlag();
  return UDVSuccess;
}
