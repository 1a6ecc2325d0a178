// The INQUIRY signature gate of the drive scan: whether the drive behind a
// letter carries one of the controller's signatures.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "sdk/access/device_context.h"

namespace kelvane::sdk::access {

// Sends INQUIRY through `context` (bound to a drive letter) and accepts
//   - bytes 36-43 "PMAP1234",
//   - bytes 36-37 "bN", 38-40 "AND", 41-43 "123",
//   - bytes 36-43 "FFAP1234", after which the drive is first knocked with the
//     vendor command 06 1D 00 00 41 57 (no data; its result is ignored),
//   - bytes 32-35 "PMAP".
// A non-empty `product_name` further requires the product identification
// (bytes 16 on) to begin with it for the PMAP1234, FFAP1234 and PMAP
// variants; a name longer than the 28 bytes from 16 to 43 never matches. A
// failed INQUIRY rejects the drive.
bool PassesSignatureGate(const DeviceContext& context, std::string_view product_name = {});

// 06 1D 00 00 41 57, no data, 10 s: the transport status.
std::int32_t SendFfapKnock(const DeviceContext& context);

}  // namespace kelvane::sdk::access
