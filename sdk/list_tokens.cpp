// Kat_ListTokens and Kat_isReady_HIDmode.
#include <algorithm>
#include <array>
#include <cstring>

#include "platform/secure_wipe.h"
#include "sdk/access/candidate_filter.h"
#include "sdk/access/device_context.h"
#include "sdk/access/hid_discovery.h"
#include "sdk/access/info_blocks.h"
#include "sdk/access/scsi_discovery.h"
#include "sdk/access/storage_units.h"
#include "sdk/drive_selector.h"
#include "sdk/kat_api.h"
#include "sdk/mode_table.h"
#include "sdk/sdk_state.h"
#include "sdk/transport_mode.h"

namespace kelvane::sdk {

namespace {

namespace access = sdk::access;

constexpr std::uint32_t kTokenRecordSize = 19;
constexpr std::uint32_t kMaxPairs = 256;
constexpr std::uint32_t kPassPauseMs = 1500;

// The result of one pass: how many drives discovery found, and the failure
// code (0 for success).
struct PassResult {
  std::size_t found = 0;
  std::int32_t failure = 0;
  bool stop = false;  // returned at once: nothing more is changed
};

bool IsLetter(std::uint8_t byte) {
  return IsDriveLetterByte(byte);
}

void CopyRole(std::int8_t role, const KatTokenRecord& token, std::uint8_t& out) {
  if (role != kNoUnit) out = token.unit_bytes[role];
}

// Steps for record `i` after discovery: mode table, RD block (read through
// the last letter), index codes from CountUnits when the letters do not match
// the mode's units, token and role bytes. 0 or the failure code. Over HID the
// record's mode, firmware code and layout flag are expected to be fresh, and
// a mode the table does not hold gives 0 units.
std::int32_t CompleteRecord(access::DeviceContext& context, std::uint32_t i,
                            KatDeviceRecord& record, KatTokenRecord& token) {
  const bool hid = context.address.kind == access::AddressKind::kHidPath;
  const auto layout = LookupMode(record.controller_mode, record.secure_layout);
  if (!layout && !hid) return UDVErrorDevice;
  const ModeLayout roles = layout.value_or(ModeLayout{});
  const std::uint32_t n = roles.units;

  // Positions 0 to n, n + 1 of them: a letter one past the mode's units
  // counts too, and then the letters differ from the units.
  std::uint32_t letters = 0;
  std::uint8_t last_letter = 0;
  for (std::uint32_t u = 0; u <= n && u < sizeof(record.unit_bytes); ++u) {
    if (IsLetter(record.unit_bytes[u])) {
      ++letters;
      last_letter = record.unit_bytes[u];
    }
  }

  if (!hid && last_letter != 0) context.BindLetter(last_letter);
  if (access::ReadInfoBlock(context, access::kTagRd, record.rd_block) != 0)
    return UDVErrorGetDeviceInfo;

  if (letters != n) {
    access::UnitMap map;
    map.vendor_id = record.vendor_id;
    map.product_id = record.product_id;
    std::memcpy(map.serial, record.serial, sizeof(map.serial) - 1);
    access::CountUnits(map);
    record.unit_count = map.unit_count;
    for (std::uint32_t u = 0; u < map.unit_count; ++u) {
      record.unit_bytes[u] = IndexCode(i, static_cast<std::uint8_t>(u));
    }
  }

  record.unit_count = n;
  token.count = n;
  std::memcpy(token.unit_bytes, record.unit_bytes, n);
  CopyRole(roles.public_role, token, token.public_role);
  CopyRole(roles.cdrom_role, token, token.cdrom_role);
  CopyRole(roles.secure_role, token, token.secure_role);
  return 0;
}

PassResult RunPass(access::DeviceContext& context, std::span<KatDeviceRecord* const> records,
                   KatTokenRecord* tokens, std::uint32_t capacity,
                   std::span<const std::uint32_t> vendors,
                   std::span<const std::uint32_t> products) {
  PassResult pass;
  DecideTransportMode(context);
  if (context.scsi_usable != 0) {
    access::CandidateFilter filter;
    filter.vendors = vendors;
    filter.products = products;
    pass.found = access::ScanScsiDrives(records, filter);
  } else {
    pass.found = access::ScanHidDevices(context, records, vendors, products);
  }
  if (pass.found > capacity) {
    pass.failure = UDVErrorInputParameter;
    pass.stop = true;
    return pass;
  }
  for (std::uint32_t t = 0; t < capacity; ++t) {
    if (tokens[t].size != kTokenRecordSize) {
      pass.failure = UDVErrorInputParameter;
      pass.stop = true;
      return pass;
    }
  }
  if (pass.found == 0) {
    pass.failure = UDVErrorcDriveLetterNotFound;
    return pass;
  }
  for (std::uint32_t i = 0; i < pass.found; ++i) {
    pass.failure = CompleteRecord(context, i, *records[i], tokens[i]);
    if (pass.failure != 0) break;
  }
  return pass;
}

}  // namespace

}  // namespace kelvane::sdk

extern "C" int32_t KAT_CALL Kat_ListTokens(KatTokenRecord* tokens, uint32_t* count,
                                           const uint32_t* vendors, const uint32_t* products,
                                           uint32_t pairs) {
  namespace sdk = kelvane::sdk;
  namespace access = kelvane::sdk::access;
  sdk::SdkState& state = sdk::State();
  if (!state.initialised) return UDVErrorNoInitSDK;
  if (tokens == nullptr || count == nullptr) return UDVErrorInputParameter;
  // The pair tables hold 256 pairs; given pairs must be readable.
  if (pairs > sdk::kMaxPairs) return UDVErrorInputParameter;
  if (pairs != 0 && (vendors == nullptr || products == nullptr)) return UDVErrorInputParameter;

  access::DeviceContext context;
  context.scsi_usable = state.hid_mode ? 0 : 1;
  context.force_hid = state.force_hid;

  sdk::DeviceList& target = (state.current_generation & 1) != 0 ? state.list_a : state.list_b;
  std::array<KatDeviceRecord*, sdk::kDeviceListCapacity> records{};
  for (std::size_t r = 0; r < records.size(); ++r) records[r] = &target.records[r];
  target.Clear();

  std::array<std::uint32_t, sdk::kMaxPairs> vendor_table{};
  std::array<std::uint32_t, sdk::kMaxPairs> product_table{};
  std::copy_n(vendors == nullptr ? vendor_table.data() : vendors, pairs, vendor_table.begin());
  std::copy_n(products == nullptr ? product_table.data() : products, pairs, product_table.begin());
  const std::span<const std::uint32_t> vendor_list(vendor_table.data(), pairs);
  const std::span<const std::uint32_t> product_list(product_table.data(), pairs);

  sdk::PassResult pass;
  for (int run = 0; run < sdk::kListingPasses; ++run) {
    if (run > 0 && state.sleep_event) state.sleep_event->Wait(sdk::kPassPauseMs);
    pass = sdk::RunPass(context, records, tokens, *count, vendor_list, product_list);
    if (pass.stop) return pass.failure;
    if (pass.failure == 0) {
      *count = static_cast<std::uint32_t>(pass.found);
      break;
    }
    target.Clear();
  }

  target.count = static_cast<std::uint32_t>(pass.found);
  state.current = &target;
  state.current_generation = target.generation;
  return pass.failure;
}

extern "C" int32_t KAT_CALL Kat_isReady_HIDmode(int32_t* ready) {
  namespace sdk = kelvane::sdk;
  namespace access = kelvane::sdk::access;
  sdk::SdkState& state = sdk::State();
  if (!state.initialised) return UDVErrorNoInitSDK;
  if (ready == nullptr) return UDVErrorInputParameter;

  access::DeviceContext context;
  context.scsi_usable = state.hid_mode ? 0 : 1;
  context.force_hid = state.force_hid;
  std::array<KatDeviceRecord*, sdk::kDeviceListCapacity> records{};
  for (std::size_t r = 0; r < records.size(); ++r) records[r] = &state.current->records[r];

  // Only HID-mode drives are asked; in SCSI mode there are none. A scan
  // that finds no device stores 0, and the HID-mode scan of this build finds
  // none.
  sdk::DecideTransportMode(context);
  if (context.scsi_usable == 0) access::ScanHidDevices(context, records, {}, {});
  *ready = 0;
  return UDVSuccess;
}
