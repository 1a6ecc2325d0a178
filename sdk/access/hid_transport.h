// Command blocks over a drive's HID interface. Not available yet: every
// command gives ERROR_NOT_SUPPORTED (50) as its transport status.
#pragma once

#include <cstdint>

namespace kelvane::sdk::access {

struct CommandChannel;

std::int32_t SendHidCommand(CommandChannel& channel, const std::uint8_t* cdb, std::uint8_t dir,
                            std::uint8_t* buffer, std::uint32_t length);

}  // namespace kelvane::sdk::access
