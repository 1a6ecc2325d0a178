#include "sdk/access/info_blocks.h"

#include <array>
#include <cstring>

#include "platform/secure_wipe.h"
#include "sdk/access/command_channel.h"

namespace kelvane::sdk::access {

namespace {
constexpr std::uint32_t kTimeoutSeconds = 10;
constexpr std::uint32_t kHidStatusTransfer = 512;
}  // namespace

std::int32_t ReadInfoBlock(const DeviceContext& context, const std::uint8_t* tag, std::uint8_t* out) {
  if (out == nullptr) return 1;
  std::uint8_t local[kInfoBlockSize] = {};
  CommandChannel channel;
  if (BindChannel(&context, &channel, allowed_kinds::kAll) != 0) return 1;

  std::array<std::uint8_t, kCdbSize> cdb{};
  std::uint32_t length = kInfoBlockSize;
  if (channel.kind == AddressKind::kHidPath) {
    cdb[0] = 0xFF;
    cdb[1] = 0x04;
    cdb[2] = 0x01;
    if (tag != nullptr) std::memcpy(&cdb[3], tag, 4);
    length = kHidInfoBlockSize;
  } else {
    cdb[0] = 0x06;
    cdb[1] = 0x05;
    if (tag != nullptr) std::memcpy(&cdb[2], tag, 4);
  }
  const std::int32_t status = SendCommand(channel, cdb.data(), direction::kIn, local, length, kTimeoutSeconds);
  if (status == 0) std::memcpy(out, local, length);
  platform::SecureWipe(cdb.data(), cdb.size());
  platform::SecureWipe(local, sizeof(local));
  return status;
}

std::int32_t ReadHidStatus(const DeviceContext& context, std::uint8_t* out) {
  if (out == nullptr) return 1;
  CommandChannel channel;
  if (BindChannel(&context, &channel, allowed_kinds::kAll) != 0) return 1;
  std::array<std::uint8_t, kCdbSize> cdb{0xFF, 0x21, 0x00, 0x00, 0x02, 0x00, 0x00};
  std::uint8_t local[kHidStatusTransfer] = {};
  const std::int32_t status =
      SendCommand(channel, cdb.data(), direction::kIn, local, kHidStatusTransfer, kTimeoutSeconds);
  if (status == 0) std::memcpy(out, local, kHidStatusSize);
  platform::SecureWipe(cdb.data(), cdb.size());
  platform::SecureWipe(local, sizeof(local));
  return status;
}

}  // namespace kelvane::sdk::access
