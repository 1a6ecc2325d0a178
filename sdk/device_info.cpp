// Kat_GetDeviceInfo: the 299-byte device-information record of one drive of
// the current device list.
#include <array>
#include <cstring>
#include <optional>

#include "platform/secure_wipe.h"
#include "sdk/access/device_context.h"
#include "sdk/access/device_identification.h"
#include "sdk/access/device_strings.h"
#include "sdk/access/info_blocks.h"
#include "sdk/access/vendor_reads.h"
#include "sdk/device_lookup.h"
#include "sdk/kat_api.h"
#include "sdk/mode_table.h"
#include "sdk/sdk_state.h"

namespace kelvane::sdk {

namespace {

namespace access = sdk::access;

constexpr std::uint32_t kInfoRecordSize = 299;
constexpr std::size_t kModeByte = 172;
constexpr std::uint32_t kOneUnitTwoRoles = 8;
constexpr std::uint8_t kCdRomType = 3;
constexpr std::uint8_t kDataType = 2;

// The size of the unit at `role` when its entry has `type` (0 for an absent
// role); nullopt for an entry of another type.
std::optional<std::uint32_t> RoleSize(const access::PartitionStatus& status, std::int8_t role,
                                      std::uint8_t type) {
  if (role == kNoUnit) return 0u;
  const access::PartitionEntry& entry = status.entries[role];
  if (entry.type != type) return std::nullopt;
  return entry.size;
}

struct AreaAttributes {
  std::uint32_t present = 0;
  std::uint32_t word2 = 0;
  std::uint32_t page12 = 0;
  std::uint32_t word3 = 0;
};

// Presence, word 2, word 3 and the page-12 value (0 when unreadable) of an
// area whose area information is `area`; all 0 when the area size is 0.
AreaAttributes AttributesOf(const access::DeviceContext& context,
                            const access::AreaInformation& area) {
  AreaAttributes attributes;
  if (area.area_size == 0) return attributes;
  attributes.present = 1;
  attributes.word3 = area.word3;
  attributes.word2 = area.word2;
  if (access::ReadPage12Value(context, attributes.page12) != 0) attributes.page12 = 0;
  return attributes;
}

// The size and attribute fields of a drive in the secure layout, written
// into the (packed) record field by field, in the order they are read.
std::int32_t FillSecureLayoutFields(access::DeviceContext& context, const ModeLayout& layout,
                                    std::uint32_t mode, KatDeviceInfoRecord& info) {
  access::PartitionStatus status;
  if (const std::int32_t read = access::ReadPartitionStatus(context, status); read != 0)
    return read;
  if (status.unit_count != layout.units) return UDVErrorDevice;

  const auto cdrom_size = RoleSize(status, layout.cdrom_role, kCdRomType);
  if (!cdrom_size) return UDVErrorDevice;
  info.cdrom_role_size = *cdrom_size;
  const bool locked = layout.cdrom_role != kNoUnit &&
                      (status.entries[layout.cdrom_role].flags & access::kCdRomLockFlag) != 0;
  info.cdrom_locked = locked ? 1 : 0;
  if (mode != kOneUnitTwoRoles) {
    const auto secure_size = RoleSize(status, layout.secure_role, kDataType);
    if (!secure_size) return UDVErrorDevice;
    info.secure_role_size = *secure_size;
    const auto public_size = RoleSize(status, layout.public_role, kDataType);
    if (!public_size) return UDVErrorDevice;
    info.public_role_size = *public_size;
  }

  access::AreaInformation secure_area;
  if (layout.secure_role != kNoUnit) {
    access::ReadAreaInformation(context, static_cast<std::uint8_t>(layout.secure_role),
                                secure_area);
    if (mode == kOneUnitTwoRoles) {
      info.secure_role_size = secure_area.area_size;
      info.public_role_size = secure_area.size - secure_area.area_size;
    }
  }
  const AreaAttributes secure = AttributesOf(context, secure_area);
  info.secure_role_area_present = secure.present;
  info.secure_role_area_word3 = secure.word3;
  info.secure_role_area_word2 = secure.word2;
  info.page12_value = secure.page12;

  std::uint32_t page8_word = 0;
  if (access::ReadPage8Word(context, page8_word) != 0) return UDVErrorGetCapacity;
  info.page8_word = page8_word;

  std::uint32_t hidden_size = 0;
  if (access::ReadPage8Head(context, hidden_size) != 0) hidden_size = 0;
  info.hidden_area_size = hidden_size;
  access::AreaInformation hidden_area;
  if (hidden_size != 0) access::ReadAreaInformation(context, access::kHiddenArea, hidden_area);
  const AreaAttributes hidden = AttributesOf(context, hidden_area);
  info.hidden_area_present = hidden.present;
  info.hidden_area_word3 = hidden.word3;
  info.hidden_area_word2 = hidden.word2;
  info.page12_value_again = hidden.page12;
  return 0;
}

void WriteCommonFields(const access::DeviceStrings& strings, std::size_t serial_characters,
                       std::uint16_t firmware_code, KatDeviceInfoRecord& info) {
  info.chip_code = static_cast<std::uint32_t>(strings.chip_code);
  std::memcpy(info.vendor_id_text, strings.vendor_id_text, sizeof(info.vendor_id_text));
  std::memcpy(info.product_id_text, strings.product_id_text, sizeof(info.product_id_text));
  std::memcpy(info.serial_text, strings.serial_text, serial_characters);
  std::memcpy(info.descriptor_string1, strings.descriptor_string1, sizeof(info.descriptor_string1));
  std::memcpy(info.descriptor_string2, strings.descriptor_string2, sizeof(info.descriptor_string2));
  std::memcpy(info.vendor_text, strings.vendor_text, sizeof(info.vendor_text));
  std::memcpy(info.product_text, strings.product_text, sizeof(info.product_text));
  std::memcpy(info.revision_text, strings.revision_text, sizeof(info.revision_text));
  std::memcpy(info.version_text, strings.version_text, sizeof(info.version_text));
  info.firmware_code = firmware_code;
}

// Steps after the context is addressed; `info_block` and `identification`
// are the caller's (cleared by it).
std::int32_t QueryDrive(access::DeviceContext& context, KatDeviceInfoRecord& info,
                        std::uint8_t* info_block, std::uint8_t* identification) {
  context.ClearStrings();
  if (access::ReadInfoBlock(context, access::kTagInfo, info_block) != 0)
    return UDVErrorGetDeviceInfo;
  const std::uint32_t mode = info_block[kModeByte];
  info.controller_mode = mode;
  if (access::ReadInfoBlock(context, nullptr, identification) != 0) return UDVErrorGetDeviceInfo;
  context.secure_layout = access::IsSecureLayout(identification) ? 1 : 0;
  const auto layout = LookupMode(mode, context.secure_layout);
  if (!layout) return UDVErrorDevice;

  const std::size_t serial_characters = access::FillDeviceStrings(context.strings, identification);
  const auto firmware_code =
      static_cast<std::uint16_t>((identification[154] << 8) | identification[155]);
  context.record.firmware_code = firmware_code;
  access::ReplaceProductIdText(context.strings, firmware_code, info_block);

  if (context.secure_layout != 0) {
    if (const std::int32_t result = FillSecureLayoutFields(context, *layout, mode, info);
        result != 0)
      return result;
  }
  WriteCommonFields(context.strings, serial_characters, firmware_code, info);
  return 0;
}

}  // namespace

}  // namespace kelvane::sdk

extern "C" int32_t KAT_CALL Kat_GetDeviceInfo(uint32_t selector, KatDeviceInfoRecord* info) {
  namespace sdk = kelvane::sdk;
  namespace access = kelvane::sdk::access;
  sdk::SdkState& state = sdk::State();
  if (!state.initialised) return UDVErrorNoInitSDK;
  const auto selector_byte = static_cast<std::uint8_t>(selector & 0xFF);
  if (info == nullptr || info->size != sdk::kInfoRecordSize) return UDVErrorInputParameter;

  KatDeviceRecord* record = nullptr;
  if (const std::int32_t found = sdk::FindRecordBySelector(selector_byte, record); found != 0)
    return found;

  access::DeviceContext context;
  context.BindRecord(*record);
  context.scsi_usable = state.hid_mode ? 0 : 1;
  if (state.hid_mode) {
    if (record->hid_path[0] == '\0') return UDVErrorcDriveLetterNotFound;
    context.address.kind = access::AddressKind::kHidPath;
    context.force_hid = state.force_hid;
    if (state.os_kind == 0) {
      std::uint8_t scratch[access::kHidStatusSize] = {};
      access::ReadHidStatus(context, scratch);
      access::ReadHidStatus(context, scratch);
    }
  } else {
    context.BindLetter(selector_byte);  // an index code keeps the record's letter
  }

  std::array<std::uint8_t, access::kInfoBlockSize> info_block{};
  std::array<std::uint8_t, access::kInfoBlockSize> identification{};
  const std::int32_t result =
      sdk::QueryDrive(context, *info, info_block.data(), identification.data());
  kelvane::platform::SecureWipe(info_block.data(), info_block.size());
  kelvane::platform::SecureWipe(identification.data(), identification.size());
  return result;
}
