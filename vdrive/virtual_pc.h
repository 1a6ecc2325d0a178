// The emulated PC: fixed disks and attached security drives, the command log
// and the injected faults. One request at a time; not thread-safe (the
// server serialises requests).
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "vdrive/command_log.h"
#include "vdrive/fault_plan.h"
#include "vdrive/profile.h"
#include "vdrive/virtual_drive.h"

namespace kelvane::vdrive {

struct ScsiAnswer {
  bool ok = true;                     // false: the request failed at `stage`
  std::uint8_t scsi_status = 0;
  std::vector<std::uint8_t> data;     // data-in bytes
  std::vector<std::uint8_t> sense;
  std::string stage;                  // "open" or "io"
  std::uint32_t error = 0;            // Windows error code
};

class VirtualPc {
 public:
  explicit VirtualPc(Profile profile = DefaultProfile());

  // Replaces the PC by a new one; the log and faults are cleared. Reset()
  // returns to the profile last loaded.
  void Load(Profile profile);
  void Reset();

  // Present logical drives as (letter, Windows drive type), ascending.
  std::vector<std::pair<char, std::uint32_t>> LogicalDrives() const;

  ScsiAnswer Scsi(char letter, const std::vector<std::uint8_t>& cdb, Direction direction,
                  std::uint32_t length, const std::vector<std::uint8_t>& data_out);

  CommandLog& log() { return log_; }
  FaultPlan& faults() { return faults_; }

  std::size_t drive_count() const { return drives_.size(); }
  VirtualDrive& drive(std::size_t index) { return *drives_[index].drive; }
  bool drive_present(std::size_t index) const { return drives_[index].present; }
  const Profile& profile() const { return profile_; }

  // The drive state for the test control: versions, area states and what
  // each command family adds.
  nlohmann::json DescribeDrive(std::size_t index) const;

 private:
  struct AttachedDrive {
    std::unique_ptr<VirtualDrive> drive;
    bool present = true;
  };
  struct LetterTarget {
    std::size_t drive = 0;  // index into drives_
    std::uint8_t unit = 0;
  };

  std::optional<LetterTarget> FindLetter(char letter) const;
  ScsiAnswer Dispatch(char letter, const std::vector<std::uint8_t>& cdb, Direction direction,
                      std::uint32_t length, const std::vector<std::uint8_t>& data_out);
  static ScsiAnswer FixedDiskAnswer(const std::vector<std::uint8_t>& cdb, std::uint32_t length);

  Profile profile_;
  std::vector<AttachedDrive> drives_;
  CommandLog log_;
  FaultPlan faults_;
};

}  // namespace kelvane::vdrive
