// The secure mechanism's own commands: the status that explains a refusal,
// locking an area, the enciphered password login and the abort of a key
// exchange.
#pragma once

#include <cstdint>

#include "sdk/access/device_context.h"

namespace kelvane::sdk::access {

inline constexpr std::uint32_t kSecureStatusSize = 512;

// Status category of the secure mechanism's login and lock commands, and its
// detail words.
inline constexpr std::uint16_t kSecureMechanismCategory = 143;
inline constexpr std::uint16_t kDetailNoPassword = 1;
inline constexpr std::uint16_t kDetailWrongPassword = 2;

// How a password is prepared for the login (from RD byte 511).
enum class SessionScheme : int {
  kScheme0 = 0,  // the password itself, 256 AES passes
  kScheme1 = 1,  // the same preparation as scheme 0
  kScheme2 = 2,  // hash chain with a random tail, one AES pass
};

// FF 02 01, 512 bytes in: writes the detail (bytes 0-1) and the category
// (bytes 2-3), little-endian, on success. 1 when an out pointer is missing
// or no channel can be bound, else the transport status.
std::int32_t QuerySecureStatus(const DeviceContext& context, std::uint16_t* detail,
                               std::uint16_t* category);

// FF 8F 00 03 <area>, no data. 1 when no channel can be bound, else the
// transport status.
std::int32_t LockSecureArea(const DeviceContext& context, std::uint8_t area);

// FF 89 00, no data. 1 when no channel can be bound, else the transport
// status.
std::int32_t AbortKeyExchange(const DeviceContext& context);

// Failure values of SendEncryptedPassword.
namespace login_failure {
inline constexpr std::int32_t kArguments = 1;  // no password, no key, key length not 16
inline constexpr std::int32_t kCipher = 227;
inline constexpr std::int32_t kCommand = 228;
}  // namespace login_failure

// Enciphers the 64-byte `password` under the 16-byte `session_key` and sends
// it with FF 8F 00 02 <area>. Schemes 0 and 1: 256 passes of AES-128 over the
// four blocks. Scheme 2: SHA-256 of the password, SHA-256 of that digest and
// the key, a random tail of 32 bytes (the runtime's generator is reseeded
// with the current time first), one pass. Every work buffer is wiped.
std::int32_t SendEncryptedPassword(const DeviceContext& context, std::uint8_t area,
                                   const std::uint8_t* password, const std::uint8_t* session_key,
                                   std::uint32_t key_length, SessionScheme scheme);

}  // namespace kelvane::sdk::access
