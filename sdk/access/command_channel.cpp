#include "sdk/access/command_channel.h"

#include <cstring>

#include "sdk/access/hid_transport.h"
#include "sdk/access/scsi_transport.h"

namespace kelvane::sdk::access {

CommandChannel::~CommandChannel() {
  // The HID transport owns no system mutex yet; nothing to release.
  hid_mutex = nullptr;
}

int BindChannel(const DeviceContext* context, CommandChannel* channel, std::uint8_t mask) {
  if (channel == nullptr) return 2;
  if (context == nullptr) return 1;
  const auto kind = context->address.kind;
  if (kind == AddressKind::kNone) return 1;
  const std::uint8_t bit = static_cast<std::uint8_t>(1u << (static_cast<unsigned>(kind) - 1));
  if ((mask & bit) == 0) return 1;
  channel->kind = kind;
  channel->letter = context->address.letter;
  channel->handle = context->address.handle;
  std::memcpy(channel->path, context->address.path, kHidPathSize);
  channel->reserved = context->address.reserved;
  channel->hid_report_format = context->address.hid_report_format;
  return 0;
}

std::int32_t SendCommand(CommandChannel& channel, const std::uint8_t* cdb, std::uint8_t dir,
                         std::uint8_t* buffer, std::uint32_t length, std::uint32_t timeout_seconds) {
  switch (channel.kind) {
    case AddressKind::kHidPath:
      return SendHidCommand(channel, cdb, dir, buffer, length);
    case AddressKind::kLetter:
      return ScsiPassThroughOnLetter(channel.letter, cdb, kCdbSize, dir, buffer, length, timeout_seconds);
    case AddressKind::kHandle:
      return ScsiPassThroughOnHandle(channel.handle, cdb, kCdbSize, dir, buffer, length, timeout_seconds);
    case AddressKind::kReserved:
      return 1;
    case AddressKind::kNone:
      break;
  }
  return 255;
}

}  // namespace kelvane::sdk::access
