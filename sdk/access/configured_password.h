// The configured password of the secure mechanism's area 0: process-wide SDK
// state, empty (length 0) at start. When its length is non-zero, that many
// bytes of it (zero-padded to 64) replace built-in password A at login.
#pragma once

#include <cstdint>
#include <span>

#include "sdk/access/builtin_passwords.h"
#include "sdk/access/secret_bytes.h"

namespace kelvane::sdk::access {

struct ConfiguredPassword {
  SecretBytes<kSecurePasswordSize> bytes;
  std::uint32_t length = 0;  // 0 to 64
};

// The one instance; used by one thread at a time, like all SDK state.
ConfiguredPassword& SdkConfiguredPassword();

// Replaces the configured password with `password` (at most 64 bytes are
// kept); an empty span clears it.
void SetConfiguredPassword(std::span<const std::uint8_t> password);

// Wipes it back to empty.
void ClearConfiguredPassword();

}  // namespace kelvane::sdk::access
