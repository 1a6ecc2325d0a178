#include "sdk/access/scsi_transport.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "platform/drives.h"
#include "platform/secure_wipe.h"
#include "platform/win_error.h"
#include "sdk/access/command_channel.h"

namespace kelvane::sdk::access {

namespace {

constexpr std::size_t kMaxCdb = 16;
constexpr std::size_t kSenseCopied = 18;

bool MapDirection(std::uint8_t dir, platform::DataDirection& mapped) {
  switch (dir) {
    case direction::kOut:
      mapped = platform::DataDirection::kOut;
      return true;
    case direction::kIn:
      mapped = platform::DataDirection::kIn;
      return true;
    case direction::kNone:
      mapped = platform::DataDirection::kNone;
      return true;
    default:
      return false;
  }
}

}  // namespace

std::int32_t ScsiPassThroughOnLetter(std::uint8_t letter, const std::uint8_t* cdb, std::size_t cdb_length,
                                     std::uint8_t dir, std::uint8_t* buffer, std::uint32_t length,
                                     std::uint32_t timeout_seconds) {
  if (cdb == nullptr || (length != 0 && buffer == nullptr)) return 1;
  // The drive is opened before the request is built, so a letter that opens
  // nothing gives 2 whatever the request holds. The port opens inside the
  // pass-through call; only a request that cannot be sent probes first.
  platform::DataDirection mapped;
  const bool direction_ok = MapDirection(dir, mapped);
  if (cdb_length > kMaxCdb || !direction_ok) {
    if (platform::Drives().ProbeOpen(static_cast<char>(letter)) != platform::win::kSuccess) return 2;
    return cdb_length > kMaxCdb ? 3 : 4;
  }

  std::array<std::uint8_t, kCdbSize> block{};
  std::memcpy(block.data(), cdb, std::min(cdb_length, kCdbSize));
  platform::ScsiRequest request;
  request.letter = static_cast<char>(letter);
  request.cdb = block;
  request.direction = mapped;
  if (mapped != platform::DataDirection::kNone) request.buffer = std::span<std::uint8_t>(buffer, length);
  request.timeout_seconds = timeout_seconds;

  const platform::ScsiOutcome outcome = platform::Drives().ScsiPassThrough(request);
  platform::SecureWipe(block.data(), block.size());
  if (outcome.stage == platform::ScsiOutcome::Stage::kOpenFailed) return 2;
  if (outcome.stage == platform::ScsiOutcome::Stage::kIoFailed) {
    return outcome.error == 0 ? static_cast<std::int32_t>(platform::win::kIoDevice)
                              : static_cast<std::int32_t>(outcome.error);
  }
  if (cdb[0] == 0x12 && mapped == platform::DataDirection::kIn && outcome.bytes_moved < length) {
    std::memset(buffer + outcome.bytes_moved, 0, length - outcome.bytes_moved);
  }
  if (cdb_length >= 2 && cdb[0] == 0 && cdb[1] == 0 && buffer != nullptr) {
    std::memcpy(buffer, outcome.sense.data(), kSenseCopied);
  }
  return -static_cast<std::int32_t>(outcome.scsi_status);
}

std::int32_t ScsiPassThroughOnHandle(std::int32_t handle, const std::uint8_t* cdb, std::size_t cdb_length,
                                     std::uint8_t dir, std::uint8_t* buffer, std::uint32_t length,
                                     std::uint32_t) {
  if (cdb == nullptr || (length != 0 && buffer == nullptr)) return 1;
  if (handle == kInvalidHandle) return 2;
  if (cdb_length > kMaxCdb) return 3;
  platform::DataDirection mapped;
  if (!MapDirection(dir, mapped)) return 4;
  return static_cast<std::int32_t>(platform::win::kInvalidHandle);
}

}  // namespace kelvane::sdk::access
