// One command as a virtual drive receives it, and its answer.
#pragma once

#include <cstdint>
#include <vector>

namespace kelvane::vdrive {

enum class Direction : std::uint8_t { kOut, kIn, kNone };

struct CommandRequest {
  char letter = 0;          // the letter the command was sent on
  std::uint8_t unit = 0;    // unit number of that letter within its drive
  std::vector<std::uint8_t> cdb;
  Direction direction = Direction::kNone;
  std::uint32_t length = 0;               // bytes asked for (in) or sent (out)
  std::vector<std::uint8_t> data_out;     // exactly `length` bytes for kOut
};

namespace scsi_status {
inline constexpr std::uint8_t kGood = 0;
inline constexpr std::uint8_t kCheckCondition = 2;
inline constexpr std::uint8_t kBusy = 8;
}  // namespace scsi_status

namespace sense_key {
inline constexpr std::uint8_t kNotReady = 0x02;
inline constexpr std::uint8_t kMediumError = 0x03;
inline constexpr std::uint8_t kIllegalRequest = 0x05;
inline constexpr std::uint8_t kUnitAttention = 0x06;
inline constexpr std::uint8_t kDataProtect = 0x07;
inline constexpr std::uint8_t kAbortedCommand = 0x0B;
}  // namespace sense_key

struct CommandResult {
  std::uint8_t status = scsi_status::kGood;
  std::vector<std::uint8_t> data_in;  // at most the length asked for
  std::vector<std::uint8_t> sense;    // fixed-format sense, empty for none
};

// 18 bytes of fixed-format sense data (response code 0x70).
std::vector<std::uint8_t> FixedSense(std::uint8_t key, std::uint8_t asc, std::uint8_t ascq);

inline CommandResult Good(std::vector<std::uint8_t> data = {}) {
  return CommandResult{scsi_status::kGood, std::move(data), {}};
}

inline CommandResult CheckCondition(std::uint8_t key, std::uint8_t asc, std::uint8_t ascq) {
  return CommandResult{scsi_status::kCheckCondition, {}, FixedSense(key, asc, ascq)};
}

// ILLEGAL REQUEST, INVALID COMMAND OPERATION CODE.
inline CommandResult UnknownCommand() { return CheckCondition(sense_key::kIllegalRequest, 0x20, 0x00); }

// ILLEGAL REQUEST, INVALID FIELD IN CDB.
inline CommandResult InvalidField() { return CheckCondition(sense_key::kIllegalRequest, 0x24, 0x00); }

// ILLEGAL REQUEST, COMMAND SEQUENCE ERROR: a command that is valid but not now.
inline CommandResult SequenceError() { return CheckCondition(sense_key::kIllegalRequest, 0x2C, 0x00); }

}  // namespace kelvane::vdrive
