// The transport-mode decision (SCSI pass-through or HID) and the OS kind
// code, derived from the port's system information.
#pragma once

#include <cstdint>

#include "sdk/access/device_context.h"

namespace kelvane::sdk {

// OS kind codes: 0 Windows 5.0, 1 later 5.x, 2 6.0, 3 6.1, 4 6.2, 5 10.x;
// -1 unknown.
// Returns false, leaving `code` as it was, for a major version other than
// 5, 6 or 10; 6.3 and later 6.x also leave it unchanged but succeed.
bool ComputeOsKindCode(std::int32_t& code);

// Runs the decision on `context`: sets context.scsi_usable, and makes the
// address kind the HID path when SCSI is not usable. The force-HID flag is
// the context's copy. Returns 0, or 2 when the extended version record
// cannot be read (no answer; the context is left as it was).
int DecideTransportMode(access::DeviceContext& context);

}  // namespace kelvane::sdk
