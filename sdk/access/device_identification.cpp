#include "sdk/access/device_identification.h"

#include <array>
#include <cstring>

#include "platform/secure_wipe.h"
#include "sdk/access/command_channel.h"
#include "sdk/access/info_blocks.h"
#include "sdk/device_lookup.h"
#include "sdk/sdk_state.h"

namespace kelvane::sdk::access {

namespace {

constexpr std::uint32_t kTimeoutSeconds = 10;

// Reads the block `tag` names into the caller's buffer when given (and
// copies it to `local`), else straight into `local`.
std::int32_t ReadInto(const DeviceContext& context, const std::uint8_t* tag, std::uint8_t* caller,
                      std::array<std::uint8_t, kInfoBlockSize>& local) {
  if (caller == nullptr) return ReadInfoBlock(context, tag, local.data());
  const std::int32_t status = ReadInfoBlock(context, tag, caller);
  if (status == 0) std::memcpy(local.data(), caller, local.size());
  return status;
}

}  // namespace

bool IsSecureLayout(const std::uint8_t* identification) {
  return (identification[382] == 0x70 && identification[383] == 0x49) ||
         identification[397] == 0x0B;
}

std::int32_t IdentifyDevice(std::uint8_t selector, DeviceContext& context, std::uint8_t warm_up,
                            std::uint8_t* info, std::uint8_t* identification, std::uint8_t check,
                            std::uint8_t* secure_layout, std::int32_t* token_index,
                            std::uint8_t* unit, KatDeviceRecord** record) {
  SdkState& state = State();
  DriveSelector decoded;
  KatDeviceRecord* found = nullptr;
  const std::int32_t looked_up = FindRecordBySelector(selector, found, &decoded);
  if (!decoded.is_letter) {
    if (token_index != nullptr) *token_index = decoded.token_index;
    if (unit != nullptr) *unit = decoded.unit;
  }
  if (looked_up != 0) return looked_up;

  context.BindRecord(*found);
  context.scsi_usable = state.hid_mode ? 0 : 1;
  if (state.hid_mode) {
    if (found->hid_path[0] == '\0') return UDVErrorcDriveLetterNotFound;
    context.address.kind = AddressKind::kHidPath;
  } else {
    context.BindLetter(selector);  // an index code keeps the record's letter
  }

  if (warm_up != 0 && context.address.kind == AddressKind::kHidPath && state.os_kind == 0) {
    std::uint8_t scratch[kHidStatusSize] = {};
    ReadHidStatus(context, scratch);
    ReadHidStatus(context, scratch);
    platform::SecureWipe(scratch, sizeof(scratch));
  }

  std::array<std::uint8_t, kInfoBlockSize> local_info{};
  std::array<std::uint8_t, kInfoBlockSize> local_identification{};
  std::int32_t result = 0;
  if (check != 0 && ReadInto(context, kTagInfo, info, local_info) != 0)
    result = UDVErrorGetDeviceInfo;
  if (result == 0 && (check != 0 || secure_layout != nullptr) &&
      ReadInto(context, nullptr, identification, local_identification) != 0) {
    result = UDVErrorGetDeviceInfo;
  }
  if (result == 0 && secure_layout != nullptr) {
    context.secure_layout = IsSecureLayout(local_identification.data()) ? 1 : 0;
    *secure_layout = context.secure_layout;
  }
  if (result == 0 && check != 0) {
    CandidateFilter lists;
    lists.firmware_codes = kSupportedFirmwareCodes;
    std::uint8_t verdict = 0;
    if (CheckDeviceSupported(selector, &verdict, lists, local_info.data(),
                             local_identification.data()) != 0) {
      result = UDVErrorGetDeviceInfo;
    } else if (verdict == 0) {
      result = UDVErrorDevice;
    }
  }
  platform::SecureWipe(local_info.data(), local_info.size());
  platform::SecureWipe(local_identification.data(), local_identification.size());
  if (result != 0) return result;
  if (record != nullptr) *record = found;
  return 0;
}

std::int32_t CheckDeviceSupported(std::uint8_t, std::uint8_t* verdict, const CandidateFilter& lists,
                                  const std::uint8_t* info, const std::uint8_t* identification) {
  if (verdict == nullptr || info == nullptr || identification == nullptr) return 1;
  if (PassesFilter(lists, info, identification, PairCompare::kExact)) *verdict = 1;
  return 0;
}

std::int32_t WriteFirmwareImage(const DeviceContext& context, const std::uint8_t* image,
                                std::uint32_t length) {
  if (image == nullptr) return 1;
  CommandChannel channel;
  if (BindChannel(&context, &channel, allowed_kinds::kAll) != 0) return 1;
  std::array<std::uint8_t, kCdbSize> cdb{0x06, 0x1F};
  cdb[10] = 0xB1;
  cdb[11] = 0x80;
  // The transports take a writable buffer for both directions; data out is
  // only read.
  const std::int32_t status =
      SendCommand(channel, cdb.data(), direction::kOut, const_cast<std::uint8_t*>(image), length,
                  kTimeoutSeconds);
  platform::SecureWipe(cdb.data(), cdb.size());
  return status;
}

}  // namespace kelvane::sdk::access
