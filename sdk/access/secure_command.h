// Sending one vendor command of the secure mechanism: a command channel
// bound for this command alone (every address kind allowed), a 10-second
// time-out, and wiped local copies of the command block and the data.
//
// Each returns 1 when a channel cannot be bound, otherwise the transport
// status of SendCommand (0 success). The caller wipes its own `cdb`.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "sdk/access/command_channel.h"
#include "sdk/access/device_context.h"

namespace kelvane::sdk::access {

inline constexpr std::uint32_t kSecureCommandTimeoutSeconds = 10;

using Cdb = std::array<std::uint8_t, kCdbSize>;

// No data.
std::int32_t SendSecureCommand(const DeviceContext& context, const Cdb& cdb);

// Sends `data`.
std::int32_t SendSecureCommandOut(const DeviceContext& context, const Cdb& cdb,
                                  std::span<const std::uint8_t> data);

// Receives `out.size()` bytes; `out` is written only on success.
std::int32_t SendSecureCommandIn(const DeviceContext& context, const Cdb& cdb,
                                 std::span<std::uint8_t> out);

}  // namespace kelvane::sdk::access
