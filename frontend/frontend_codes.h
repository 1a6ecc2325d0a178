// Result codes that the front end raises or tests beyond the framework's
// named constants, and the rule that turns SDK return codes into results.
#pragma once

#include <cstdint>

#include "framework/result.h"
#include "framework/result_code.h"

namespace kelvane::frontend {

// The framework's general error for a device listing of impossible size.
inline constexpr framework::ResultCode kInvalidDevice = framework::TqErrorBase + 0x007B;

// The SDK's code for "the SDK was not initialised" as a result code.
inline constexpr framework::ResultCode kSdkAlreadyClosed = framework::CT47Base + 77;

// An SDK return code as a Result: 0 is a success; a code with the framework
// bit clear and at most 0xFFFF gets the SDK's facility (0x7F66); any other
// value (a negative code among them) is kept as it is.
framework::Result SdkResult(std::int32_t sdk_code);

}  // namespace kelvane::frontend
