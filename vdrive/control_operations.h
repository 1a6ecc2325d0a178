#pragma once

#include "vdrive/protocol.h"

namespace kelvane::vdrive {

// load_profile, reset, log, clear_log, inject_fault, clear_faults, drive_state.
std::span<const ProtocolOperation> ControlOperations();

}  // namespace kelvane::vdrive
