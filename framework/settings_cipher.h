// The scheme that protects the embedded settings resource: AES-256 in
// cipher block chaining mode with an integrity block.
//
// Enciphered data is 16-byte blocks, at least three: the chaining start
// value (first block), the enciphered text blocks, and an enciphered check
// block (last). Deciphered, the check block equals the first 16 bytes of the
// SHA-256 digest of everything before it (the start value and the text
// blocks). The text ends with n padding bytes of value n (1 to 16).
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "framework/result.h"

namespace kelvane::framework {

using SettingsCipherKey = std::array<std::uint8_t, 32>;

// The AES-256 key: the SHA-256 digest of the key bytes, which must be 16
// bytes (else site 146 then InvalidKey).
Result SetUpSettingsKey(std::span<const std::uint8_t> key_bytes, SettingsCipherKey& key);

// Deciphers `data` in place and leaves the text without start value, check
// block and padding. Errors, each after its site: fewer than 48 bytes or a
// failing block step (131, InvalidFormat); the check block differs (134,
// NotSameHash); fewer than 32 bytes after the check block (135,
// InvalidFormat); a last byte above 16 (138, InvalidFormat); fewer than 16
// bytes left for the start value (139, InvalidFormat). A tail shorter than a
// block is not deciphered, so such data fails the check.
Result DecipherSettings(const SettingsCipherKey& key, std::vector<std::uint8_t>& data);

// Enciphers `text` with the chaining start value `start` (callers use a
// value derived from the text, so builds are reproducible). Returns false
// when the cipher library refuses.
bool EncipherSettings(const SettingsCipherKey& key, const std::array<std::uint8_t, 16>& start,
                      std::span<const std::uint8_t> text, std::vector<std::uint8_t>& data);

}  // namespace kelvane::framework
