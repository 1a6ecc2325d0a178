// The command channel: built for one command from a device context's
// address, used once, destroyed. Every vendor command of the SDK goes out
// through SendCommand.
#pragma once

#include <cstdint>

#include "sdk/access/device_context.h"

namespace kelvane::sdk::access {

// Which address kinds a command allows.
namespace allowed_kinds {
inline constexpr std::uint8_t kLetter = 1;
inline constexpr std::uint8_t kHandle = 2;
inline constexpr std::uint8_t kHidPath = 4;
inline constexpr std::uint8_t kReserved = 8;
inline constexpr std::uint8_t kAll = 15;
inline constexpr std::uint8_t kNoHid = 11;
}  // namespace allowed_kinds

// Command directions; over HID bit 7 asks for the bulk report mode.
namespace direction {
inline constexpr std::uint8_t kOut = 0;
inline constexpr std::uint8_t kIn = 1;
inline constexpr std::uint8_t kNone = 2;
inline constexpr std::uint8_t kBulkFlag = 0x80;
}  // namespace direction

inline constexpr std::size_t kCdbSize = 12;

struct CommandChannel {
  CommandChannel() = default;
  ~CommandChannel();
  CommandChannel(const CommandChannel&) = delete;
  CommandChannel& operator=(const CommandChannel&) = delete;

  AddressKind kind = AddressKind::kNone;
  std::uint8_t letter = 0;
  std::int32_t handle = 0;
  void* hid_mutex = nullptr;  // owned; released and closed on destruction
  char path[kHidPathSize] = {};
  std::int32_t reserved = -1;
  std::uint8_t hid_report_format = 0;
  platform::SleepEvent sleep_event;
};

// 0 bound; 1 the context has no address or its kind is not in `mask`;
// 2 null channel.
int BindChannel(const DeviceContext* context, CommandChannel* channel, std::uint8_t mask);

// Transport status: 0 success; -s when the drive answered SCSI status s;
// 1 bad arguments; 2 the drive cannot be opened; 3 the request cannot be
// built; 4 bad direction; 255 no address; other positive values are the
// Windows error of the failed request. `timeout_seconds` is not used over
// HID.
std::int32_t SendCommand(CommandChannel& channel, const std::uint8_t* cdb, std::uint8_t dir,
                         std::uint8_t* buffer, std::uint32_t length, std::uint32_t timeout_seconds);

}  // namespace kelvane::sdk::access
