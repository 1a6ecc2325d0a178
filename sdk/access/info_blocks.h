// The controller's information blocks and the HID status read.
#pragma once

#include <cstdint>

#include "sdk/access/device_context.h"

namespace kelvane::sdk::access {

inline constexpr std::uint32_t kInfoBlockSize = 528;
inline constexpr std::uint32_t kHidInfoBlockSize = 512;
inline constexpr std::uint32_t kHidStatusSize = 65;

// Tags: no tag (null) for the identification block, "INFO", "RD\0\0".
inline constexpr std::uint8_t kTagInfo[4] = {'I', 'N', 'F', 'O'};
inline constexpr std::uint8_t kTagRd[4] = {'R', 'D', 0, 0};

// Reads the block `tag` names (null: the identification block) into `out`
// (528 bytes; over HID only the first 512 are written). 1 for a null `out`
// or a channel that cannot be bound, else the transport status; `out` is
// untouched on failure.
std::int32_t ReadInfoBlock(const DeviceContext& context, const std::uint8_t* tag, std::uint8_t* out);

// Reads the partition status (FF 21 00, 512 bytes) and hands out its first
// 65 bytes.
std::int32_t ReadHidStatus(const DeviceContext& context, std::uint8_t* out);

}  // namespace kelvane::sdk::access
