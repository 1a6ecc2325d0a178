#include "vdrive/virtual_drive.h"

#include <functional>

#include "vdrive/command_table.h"

namespace kelvane::vdrive {

std::vector<std::uint8_t> FixedSense(std::uint8_t key, std::uint8_t asc, std::uint8_t ascq) {
  std::vector<std::uint8_t> sense(18, 0);
  sense[0] = 0x70;
  sense[2] = key;
  sense[7] = 10;
  sense[12] = asc;
  sense[13] = ascq;
  return sense;
}

VirtualDrive::VirtualDrive(DriveProfile profile)
    : profile_(std::move(profile)),
      firmware_version_(profile_.version),
      area_states_(profile_.area_states),
      random_(static_cast<std::uint32_t>(std::hash<std::string>{}(profile_.name))) {}

CommandResult VirtualDrive::Execute(const CommandRequest& request) {
  const CommandHandler handler = FindHandler(request.cdb);
  CommandResult result = handler != nullptr ? handler(*this, request) : UnknownCommand();
  if (request.direction == Direction::kIn && result.data_in.size() > request.length) {
    result.data_in.resize(request.length);
  }
  if (request.direction != Direction::kIn) result.data_in.clear();
  // REQUEST SENSE reports the sense of the last failed command; other
  // commands replace it.
  if (!(request.cdb.size() > 0 && request.cdb[0] == 0x03)) last_sense_ = result.sense;
  return result;
}

Block VirtualDrive::Identification(std::uint8_t unit) const {
  return BuildIdentificationBlock(profile_, firmware_version_, unit);
}

Block VirtualDrive::Info() const { return BuildInfoBlock(profile_); }

Block VirtualDrive::Rd() const { return BuildRdBlock(profile_, area_states_); }

}  // namespace kelvane::vdrive
