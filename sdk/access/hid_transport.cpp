#include "sdk/access/hid_transport.h"

#include "platform/win_error.h"

namespace kelvane::sdk::access {

std::int32_t SendHidCommand(CommandChannel&, const std::uint8_t*, std::uint8_t, std::uint8_t*, std::uint32_t) {
  return static_cast<std::int32_t>(platform::win::kNotSupported);
}

}  // namespace kelvane::sdk::access
