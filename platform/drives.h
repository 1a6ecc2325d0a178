// Drives: the PC's logical drives and one SCSI pass-through request on a
// drive letter. This is the device-facing concern that the virtual backend
// serves when KELVANE_VDRIVE is set.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/port_slot.h"

namespace kelvane::platform {

// Windows drive type codes (GetDriveType).
enum class DriveType : std::uint32_t {
  kUnknown = 0,
  kNoRootDir = 1,
  kRemovable = 2,
  kFixed = 3,
  kRemote = 4,
  kCdRom = 5,
  kRamDisk = 6,
};

struct LogicalDrive {
  char letter = 0;  // 'A' to 'Z'
  DriveType type = DriveType::kUnknown;
};

enum class DataDirection : std::uint8_t { kOut = 0, kIn = 1, kNone = 2 };

struct ScsiRequest {
  char letter = 0;                    // either case names the same drive
  std::span<const std::uint8_t> cdb;  // 6 to 16 bytes
  DataDirection direction = DataDirection::kNone;
  // kOut: the bytes sent; kIn: receives at most buffer.size() bytes;
  // kNone: empty.
  std::span<std::uint8_t> buffer;
  std::uint32_t timeout_seconds = 10;
};

struct ScsiOutcome {
  enum class Stage : std::uint8_t {
    kCompleted,   // the request reached the drive; scsi_status is valid
    kOpenFailed,  // the letter names no drive that can be opened; error is set
    kIoFailed,    // opened, but the request did not complete; error is set
  };
  Stage stage = Stage::kCompleted;
  std::uint8_t scsi_status = 0;         // 0 GOOD, 2 CHECK CONDITION, 8 BUSY
  std::uint32_t bytes_moved = 0;        // for kIn: bytes written to the buffer
  std::uint32_t error = 0;              // Windows error code for the failed stages
  std::array<std::uint8_t, 24> sense{};  // sense bytes returned by the drive
  std::uint8_t sense_length = 0;        // 0 when the drive returned none
};

// Contract: every method blocks until the answer is known; none throws.
class DrivePort {
 public:
  virtual ~DrivePort() = default;

  // The logical drives in ascending letter order, each letter at most once.
  // An unreachable drive source gives an empty list.
  virtual std::vector<LogicalDrive> ListDrives() = 0;

  // One pass-through request: opens the drive, sends, closes. Never writes
  // more than request.buffer.size() bytes into the buffer.
  virtual ScsiOutcome ScsiPassThrough(const ScsiRequest& request) = 0;

  // Opens and closes the drive of `letter` without sending anything: 0, or
  // the Windows error of the failed open.
  virtual std::uint32_t ProbeOpen(char letter) = 0;
};

PortSlot<DrivePort>& DriveSlot();

// The implementation in force: a test override, the virtual backend when
// KELVANE_VDRIVE names a socket, or the native backend.
DrivePort& Drives();

}  // namespace kelvane::platform
