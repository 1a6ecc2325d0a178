// The session key exchange with the controller's secure mechanism.
#pragma once

#include <cstdint>

#include "sdk/access/device_context.h"

namespace kelvane::sdk::access {

inline constexpr std::uint32_t kSessionKeySize = 16;

// Failure values of EstablishSessionKey: the step that failed.
namespace exchange_failure {
inline constexpr std::int32_t kNoBuffer = 1;  // also: no key-length out, host key set unusable
inline constexpr std::int32_t kBegin = 128;
inline constexpr std::int32_t kDeviceKey = 129;  // read failed, or the device modulus is zero
inline constexpr std::int32_t kHostKey = 130;
inline constexpr std::int32_t kHostChallenge = 131;
inline constexpr std::int32_t kDeviceSignature = 132;  // read failed, or it does not verify
inline constexpr std::int32_t kDeviceChallenge = 133;
inline constexpr std::int32_t kHostSignature = 134;
inline constexpr std::int32_t kHostSecret = 135;
inline constexpr std::int32_t kDeviceSecret = 136;
inline constexpr std::int32_t kConfirmation = 138;  // read failed, or the type differs
inline constexpr std::int32_t kBind = 139;
}  // namespace exchange_failure

// Agrees a 16-byte session key with the drive of a bound `context`: each side
// proves its RSA key by signing the other's challenge, each sends the other
// a secret under the other's key, and the key is the first 16 bytes of the
// two secrets combined by exclusive or. For session types 2, 3 and 4 the
// session is then bound to `target_command` and the controller's
// confirmation must name the session type.
//
// Draws from the runtime's rand: the host key set (1 value), the host
// challenge (64), the host secret (16). Sends the commands one at a time and
// stops at the first failing step, returning its value (see
// exchange_failure); no retry and no abort here. On success writes the key to
// `key_out` (at least 16 bytes), sets `*key_length` to 16 and returns 0; on
// failure both are left untouched. Blocks for the commands' round trips.
std::int32_t EstablishSessionKey(const DeviceContext& context, std::uint8_t* key_out,
                                 std::uint32_t* key_length, std::uint8_t session_type,
                                 std::uint8_t target_command);

}  // namespace kelvane::sdk::access
