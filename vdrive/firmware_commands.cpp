// The firmware write (06 1F … B1 80, the image as data out). The drive takes
// an image only from a host that opened area 1 of the secure mechanism with a
// login that is still in force; it keeps the image and from then on reports
// the version its profile names for after the update, as a real drive does
// once it restarts on the new firmware.
#include "vdrive/firmware_commands.h"

#include "platform/crypto.h"
#include "platform/virtual/hex.h"
#include "vdrive/command_table.h"
#include "vdrive/secure_mechanism.h"
#include "vdrive/virtual_drive.h"

namespace kelvane::vdrive {

namespace {

constexpr std::uint8_t kGuardingArea = 1;
constexpr std::uint32_t kImageSize = 64512;

// ASC 20 02: ACCESS DENIED - NO ACCESS RIGHTS.
CommandResult AccessDenied() { return CheckCondition(sense_key::kDataProtect, 0x20, 0x02); }

bool AreaOneOpenByLogin(const VirtualDrive& drive) {
  const SecureMechanism* secure = drive.FindFamilyState<SecureMechanism>();
  const std::uint8_t area_bits = static_cast<std::uint8_t>((drive.area_states() >> (2 * kGuardingArea)) & 0x03);
  return secure != nullptr && secure->opened_by_login(kGuardingArea) && area_bits != 0;
}

CommandResult WriteFirmware(VirtualDrive& drive, const CommandRequest& request) {
  FirmwareState& state = drive.FamilyState<FirmwareState>();
  if (request.cdb.size() < 12 || request.cdb[10] != 0xB1 || request.cdb[11] != 0x80 ||
      request.direction != Direction::kOut || request.length != kImageSize) {
    ++state.writes_refused;
    return InvalidField();
  }
  if (!AreaOneOpenByLogin(drive)) {
    ++state.writes_refused;
    return AccessDenied();
  }
  state.image = request.data_out;
  ++state.writes_accepted;
  drive.set_firmware_version(drive.profile().version_after_update);
  return Good();
}

void Describe(const VirtualDrive& drive, nlohmann::json& out) {
  const FirmwareState* state = drive.FindFamilyState<FirmwareState>();
  nlohmann::json firmware = {{"writes_accepted", 0}, {"writes_refused", 0}, {"image_length", 0}};
  if (state != nullptr) {
    firmware["writes_accepted"] = state->writes_accepted;
    firmware["writes_refused"] = state->writes_refused;
    firmware["image_length"] = state->image.size();
    if (!state->image.empty()) firmware["image_sha256"] = platform::ToHex(platform::crypto::Sha256(state->image));
  }
  out["firmware"] = std::move(firmware);
}

}  // namespace

const CommandFamily& FirmwareCommandFamily() {
  static const CommandFamily family{
      "firmware",
      {
          {{0x06, 0x1F}, &WriteFirmware},
      },
      &Describe,
  };
  return family;
}

}  // namespace kelvane::vdrive
