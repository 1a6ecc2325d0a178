// The device strings of a context, as the identification and INFO blocks
// give them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "sdk/access/device_context.h"

namespace kelvane::sdk::access {

// Fills `strings` (cleared first) from the identification block (528
// bytes): the texts of bytes 176-183, 156-171 and 184-187; the descriptor
// strings at 44 and 70 (min((length byte - 2) / 2, 24) bytes from two bytes
// further on, none for a length byte below 2); the serial identifier; the
// version text "%02X.%02X.%02X" of bytes 148-150; the vendor and product ID
// texts "%02X%02X" of bytes 9, 8 and 11, 10; the chip code (byte 382 * 256 +
// byte 383). Returns the number of serial characters.
std::size_t FillDeviceStrings(DeviceStrings& strings, const std::uint8_t* identification);

// For firmware codes 0xFF0C and 0xFF0E the product ID text comes from the
// INFO block (528 bytes): INFO byte 300 of 0x00 or 0xFF gives "%02X%02X" of
// bytes 205 and 204, 0x88 of bytes 207 and 206; other values leave it.
void ReplaceProductIdText(DeviceStrings& strings, std::uint16_t firmware_code,
                          const std::uint8_t* info);

}  // namespace kelvane::sdk::access
