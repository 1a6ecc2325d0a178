// The controller commands of the session key exchange, one routine each, in
// the order the exchange sends them. Each returns 1 when its buffer is
// missing, when `length` is below the command's data size or when a channel
// cannot be bound; otherwise the transport status of SendCommand (0 is
// success). Data read from the drive reaches the caller's buffer only on
// success.
#pragma once

#include <cstdint>

#include "sdk/access/device_context.h"

namespace kelvane::sdk::access {

inline constexpr std::uint32_t kPublicKeySize = 128;  // modulus, then public exponent
inline constexpr std::uint32_t kNumberSize = 64;
inline constexpr std::uint32_t kConfirmationSize = 8;

// FF 80 00 01, no data.
std::int32_t BeginKeyExchange(const DeviceContext& context);
// FF 81 00, in: n_d then e_d.
std::int32_t ReadDevicePublicKey(const DeviceContext& context, std::uint8_t* out,
                                 std::uint32_t length);
// FF 82 00, out: n_h then e_h.
std::int32_t SendHostPublicKey(const DeviceContext& context, const std::uint8_t* data,
                               std::uint32_t length);
// FF 83 00, out: the host challenge.
std::int32_t SendHostChallenge(const DeviceContext& context, const std::uint8_t* data,
                               std::uint32_t length);
// FF 84 00, in: the device's signature of the host challenge.
std::int32_t ReadDeviceSignature(const DeviceContext& context, std::uint8_t* out,
                                 std::uint32_t length);
// FF 85 00, in: the device challenge.
std::int32_t ReadDeviceChallenge(const DeviceContext& context, std::uint8_t* out,
                                 std::uint32_t length);
// FF 86 00, out: the host's signature of the device challenge.
std::int32_t SendHostSignature(const DeviceContext& context, const std::uint8_t* data,
                               std::uint32_t length);
// FF 87 00, out: the host secret under the device key.
std::int32_t SendHostSecret(const DeviceContext& context, const std::uint8_t* data,
                            std::uint32_t length);
// FF 88 00, in: the device secret under the host key.
std::int32_t ReadDeviceSecret(const DeviceContext& context, std::uint8_t* out,
                              std::uint32_t length);
// FF 8A 00, in: 8 bytes, byte 0 the session type the controller bound.
std::int32_t ReadConfirmation(const DeviceContext& context, std::uint8_t* out,
                              std::uint32_t length);
// FF 8B 00 <target command> <session type>, no data.
std::int32_t BindSessionToCommand(const DeviceContext& context, std::uint8_t target_command,
                                  std::uint8_t session_type);

}  // namespace kelvane::sdk::access
