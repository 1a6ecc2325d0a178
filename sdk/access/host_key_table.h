// The SDK's table of host RSA key sets, stored enciphered.
//
// Layout: 100 records of 192 bytes; each record is the host modulus, the
// host private exponent and the host public exponent, 64 bytes each, every
// number 64 little-endian bytes. Each 64-byte third is enciphered on its own
// with AES-128-CBC under the host table key, with the key's 16 bytes also as
// the initialisation vector.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace kelvane::sdk::access {

inline constexpr std::size_t kHostKeySetCount = 100;
inline constexpr std::size_t kHostKeyPartSize = 64;
inline constexpr std::size_t kHostKeySetSize = 3 * kHostKeyPartSize;
inline constexpr std::size_t kHostKeyTableSize = kHostKeySetCount * kHostKeySetSize;

// The enciphered table; its source is written by tools/host_keys.
extern const std::array<std::uint8_t, kHostKeyTableSize> kEncipheredHostKeyTable;

// Assembles the 16-byte host table key into `key`. The key is never held
// whole in the program's data; the caller wipes `key` after use.
void BuildHostTableKey(std::span<std::uint8_t, 16> key) noexcept;

}  // namespace kelvane::sdk::access
