// Keeps a random 64-byte number (little-endian) below a device modulus: from
// byte 63 down, the value's byte is zeroed while the modulus byte is zero; at
// the first non-zero modulus byte the value's byte becomes that byte minus 1
// and the walk stops. Lower bytes keep their contents.
#pragma once

#include <cstdint>
#include <span>

namespace kelvane::sdk::access {

// False (value unchanged) when the modulus is zero in all 64 bytes.
bool BoundBelowModulus(std::span<std::uint8_t, 64> value,
                       std::span<const std::uint8_t, 64> modulus) noexcept;

}  // namespace kelvane::sdk::access
