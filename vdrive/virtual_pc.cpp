#include "vdrive/virtual_pc.h"

#include <algorithm>
#include <cctype>
#include <chrono>

#include "vdrive/command_table.h"

namespace kelvane::vdrive {

namespace {

constexpr std::uint32_t kFileNotFound = 2;
constexpr std::uint32_t kDeviceNotConnected = 1167;

const char* DirectionName(Direction direction) {
  switch (direction) {
    case Direction::kOut:
      return "out";
    case Direction::kIn:
      return "in";
    case Direction::kNone:
      break;
  }
  return "none";
}

}  // namespace

VirtualPc::VirtualPc(Profile profile) { Load(std::move(profile)); }

void VirtualPc::Load(Profile profile) {
  profile_ = std::move(profile);
  Reset();
}

void VirtualPc::Reset() {
  drives_.clear();
  for (const DriveProfile& drive : profile_.drives) {
    drives_.push_back({std::make_unique<VirtualDrive>(drive), true});
  }
  log_.Clear();
  faults_.Clear();
}

std::vector<std::pair<char, std::uint32_t>> VirtualPc::LogicalDrives() const {
  std::vector<std::pair<char, std::uint32_t>> letters;
  for (char letter : profile_.fixed_disks) letters.emplace_back(letter, 3);
  for (const AttachedDrive& attached : drives_) {
    if (!attached.present) continue;
    for (const UnitProfile& unit : attached.drive->profile().units) {
      if (unit.letter) letters.emplace_back(*unit.letter, unit.drive_type);
    }
  }
  std::sort(letters.begin(), letters.end());
  return letters;
}

std::optional<VirtualPc::LetterTarget> VirtualPc::FindLetter(char letter) const {
  for (std::size_t d = 0; d < drives_.size(); ++d) {
    if (!drives_[d].present) continue;
    const auto& units = drives_[d].drive->profile().units;
    for (std::size_t u = 0; u < units.size(); ++u) {
      if (units[u].letter == letter) return LetterTarget{d, static_cast<std::uint8_t>(u)};
    }
  }
  return std::nullopt;
}

// A plain fixed disk answers the standard commands and nothing of the
// controller's.
ScsiAnswer VirtualPc::FixedDiskAnswer(const std::vector<std::uint8_t>& cdb, std::uint32_t length) {
  ScsiAnswer answer;
  if (!cdb.empty() && cdb[0] == 0x12) {
    std::vector<std::uint8_t> data(36, ' ');
    data[0] = 0;
    data[1] = 0;
    data[2] = 5;
    data[3] = 2;
    data[4] = 31;
    const char* id = "ATA     KELVANE SSD 512     1.0 ";
    std::copy(id, id + 28, data.begin() + 8);
    data.resize(std::min<std::size_t>(data.size(), length));
    answer.data = std::move(data);
  } else if (!(cdb.size() >= 2 && cdb[0] == 0 && cdb[1] == 0)) {
    answer.scsi_status = scsi_status::kCheckCondition;
    answer.sense = FixedSense(sense_key::kIllegalRequest, 0x20, 0);
  }
  return answer;
}

ScsiAnswer VirtualPc::Dispatch(char letter, const std::vector<std::uint8_t>& cdb, Direction direction,
                               std::uint32_t length, const std::vector<std::uint8_t>& data_out) {
  ScsiAnswer answer;
  if (std::find(profile_.fixed_disks.begin(), profile_.fixed_disks.end(), letter) !=
      profile_.fixed_disks.end()) {
    return FixedDiskAnswer(cdb, length);
  }
  const auto target = FindLetter(letter);
  if (!target) {
    answer.ok = false;
    answer.stage = "open";
    answer.error = kFileNotFound;
    return answer;
  }

  const auto fault = faults_.Next(letter, cdb);
  if (fault) {
    switch (fault->kind) {
      case Fault::Kind::kIoError:
        answer.ok = false;
        answer.stage = "io";
        answer.error = fault->error;
        return answer;
      case Fault::Kind::kCheckCondition:
        answer.scsi_status = scsi_status::kCheckCondition;
        answer.sense = fault->sense.empty() ? FixedSense(sense_key::kMediumError, 0x11, 0) : fault->sense;
        drives_[target->drive].drive->set_last_sense(answer.sense);
        return answer;
      case Fault::Kind::kBusy:
        answer.scsi_status = scsi_status::kBusy;
        return answer;
      case Fault::Kind::kVanish:
        drives_[target->drive].present = false;
        answer.ok = false;
        answer.stage = "io";
        answer.error = kDeviceNotConnected;
        return answer;
      case Fault::Kind::kShortTransfer:
        break;  // the command runs; its data is cut below
    }
  }

  CommandRequest request;
  request.letter = letter;
  request.unit = target->unit;
  request.cdb = cdb;
  request.direction = direction;
  request.length = length;
  request.data_out = data_out;
  CommandResult result = drives_[target->drive].drive->Execute(request);
  if (fault && fault->kind == Fault::Kind::kShortTransfer && result.data_in.size() > fault->length) {
    result.data_in.resize(fault->length);
  }
  answer.scsi_status = result.status;
  answer.data = std::move(result.data_in);
  answer.sense = std::move(result.sense);
  if (answer.sense.size() > 24) answer.sense.resize(24);
  return answer;
}

ScsiAnswer VirtualPc::Scsi(char letter, const std::vector<std::uint8_t>& cdb, Direction direction,
                           std::uint32_t length, const std::vector<std::uint8_t>& data_out) {
  letter = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
  const auto started = std::chrono::steady_clock::now();
  ScsiAnswer answer = Dispatch(letter, cdb, direction, length, data_out);
  const auto elapsed = std::chrono::steady_clock::now() - started;

  LogEntry entry;
  entry.letter = letter;
  entry.cdb = cdb;
  entry.direction = DirectionName(direction);
  entry.length = length;
  entry.data_out = data_out;
  entry.ok = answer.ok;
  entry.scsi_status = answer.scsi_status;
  entry.stage = answer.stage;
  entry.error = answer.error;
  entry.handling_ns = static_cast<std::uint64_t>(
      std::chrono::duration_cast<std::chrono::nanoseconds>(elapsed).count());
  log_.Append(std::move(entry));
  return answer;
}

nlohmann::json VirtualPc::DescribeDrive(std::size_t index) const {
  const VirtualDrive& drive = *drives_[index].drive;
  const auto& version = drive.firmware_version();
  char text[16];
  std::snprintf(text, sizeof(text), "%02X.%02X.%02X", version[0], version[1], version[2]);
  nlohmann::json out = {
      {"name", drive.profile().name},
      {"present", drives_[index].present},
      {"firmware_version", text},
      {"area_states", drive.area_states()},
  };
  for (const CommandFamily* family : CommandFamilies()) {
    if (family->describe != nullptr) family->describe(drive, out);
  }
  return out;
}

}  // namespace kelvane::vdrive
