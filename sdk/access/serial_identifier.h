// The serial identifier of a drive: its serial string descriptor, as the
// identification block carries it, folded into 128 bytes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kelvane::sdk::access {

inline constexpr std::size_t kSerialIdentifierSize = 128;
inline constexpr std::size_t kSerialIdentifierMaxCharacters = 50;

// Fills `out` (128 bytes, zero first) from `identification` (at least 148
// bytes). A serial-string index of 0 (byte 16) leaves it all zero. Otherwise
// n = min((byte 96 - 2) / 2, 50) characters follow: position i below 24 takes
// byte 98 + 2 * (i mod 12) + i div 12 (the low, then the high bytes of the
// first 12 UTF-16 characters), position i from 24 on byte 98 + i; a NUL
// follows. Returns n (0 when there is no serial).
std::size_t BuildSerialIdentifier(const std::uint8_t* identification, std::uint8_t* out);

}  // namespace kelvane::sdk::access
