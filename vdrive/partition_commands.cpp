#include "vdrive/partition_commands.h"

#include <algorithm>

#include "vdrive/command_table.h"
#include "vdrive/partition_settings.h"
#include "vdrive/virtual_drive.h"

namespace kelvane::vdrive {

namespace {

constexpr std::size_t kStatusLength = 512;
constexpr std::size_t kPage8HeadLength = 32;
constexpr std::size_t kAreaInformationLength = 32;
constexpr std::size_t kWriteProtectedByte = 24;

struct PartitionState {
  bool parsed = false;
  std::optional<PartitionSettings> settings;
  std::string error;
  std::uint32_t status_reads = 0;
  std::uint32_t page_reads = 0;
  std::uint32_t area_reads = 0;
};

const PartitionSettings* Settings(VirtualDrive& drive) {
  PartitionState& state = drive.FamilyState<PartitionState>();
  if (!state.parsed) {
    state.parsed = true;
    try {
      state.settings = ParsePartitionSettings(drive.profile());
    } catch (const ProfileError& error) {
      state.error = error.what();
    }
  }
  return state.settings ? &*state.settings : nullptr;
}

void PutLe(std::vector<std::uint8_t>& data, std::size_t offset, std::uint32_t value,
           std::size_t width) {
  for (std::size_t i = 0; i < width && offset + i < data.size(); ++i) {
    data[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
  }
}

std::uint32_t Le32(const std::vector<std::uint8_t>& cdb, std::size_t offset) {
  return std::uint32_t{cdb[offset]} | (std::uint32_t{cdb[offset + 1]} << 8) |
         (std::uint32_t{cdb[offset + 2]} << 16) | (std::uint32_t{cdb[offset + 3]} << 24);
}

// At most `length` of `data`: a drive never returns more than was asked.
CommandResult Reply(std::vector<std::uint8_t> data, std::uint32_t length) {
  data.resize(std::min<std::size_t>(data.size(), length));
  return Good(std::move(data));
}

// Vendor page p: FF 00 00 p-low p-high len(4) 02 A2.
CommandResult VendorPage(const PartitionSettings& settings, const CommandRequest& request) {
  const auto page = static_cast<std::uint16_t>(request.cdb[3] | (request.cdb[4] << 8));
  const std::uint32_t declared = Le32(request.cdb, 5);
  if (declared == 0 || declared > 65536) return InvalidField();
  std::vector<std::uint8_t> data(declared, 0);
  const auto raw = settings.pages.find(page);
  if (raw != settings.pages.end()) {
    std::copy_n(raw->second.begin(), std::min<std::size_t>(raw->second.size(), data.size()),
                data.begin());
  } else {
    data[0] = static_cast<std::uint8_t>(page);
    if (page == 8) PutLe(data, 6, settings.page8_word, 2);
    if (page == 12) PutLe(data, 6, settings.page12_value, 4);
  }
  return Reply(std::move(data), request.length);
}

// The page-8 head: FF 00 00 08 00 20 00 00 00 00 A2 00; bytes 16-19 hold the
// hidden-area size, big-endian.
CommandResult Page8Head(const PartitionSettings& settings, const CommandRequest& request) {
  std::vector<std::uint8_t> data(kPage8HeadLength, 0);
  data[0] = 8;
  for (std::size_t i = 0; i < 4; ++i)
    data[16 + i] = static_cast<std::uint8_t>(settings.hidden_size >> (24 - 8 * i));
  return Reply(std::move(data), request.length);
}

CommandResult PageRead(VirtualDrive& drive, const CommandRequest& request) {
  if (request.direction != Direction::kIn || request.cdb.size() < 12 || request.cdb[10] != 0xA2) {
    return InvalidField();
  }
  const PartitionSettings* settings = Settings(drive);
  if (settings == nullptr) return InvalidField();
  ++drive.FamilyState<PartitionState>().page_reads;
  if (request.cdb[9] == 0x02) return VendorPage(*settings, request);
  if (request.cdb[9] == 0x00 && request.cdb[3] == 8 && request.cdb[4] == 0)
    return Page8Head(*settings, request);
  return InvalidField();
}

// FF A0 00 a: four little-endian words (size, area size, word 2, word 3);
// in the 32-byte form byte 24 is 1 for a write-protected unit.
CommandResult AreaInformation(VirtualDrive& drive, const CommandRequest& request) {
  if (request.direction != Direction::kIn || request.cdb.size() < 4) return InvalidField();
  const PartitionSettings* settings = Settings(drive);
  if (settings == nullptr) return InvalidField();
  ++drive.FamilyState<PartitionState>().area_reads;
  AreaSetting area;
  if (const auto found = settings->areas.find(request.cdb[3]); found != settings->areas.end())
    area = found->second;
  std::vector<std::uint8_t> data(kAreaInformationLength, 0);
  PutLe(data, 0, area.size, 4);
  PutLe(data, 4, area.area_size, 4);
  PutLe(data, 8, area.word2, 4);
  PutLe(data, 12, area.word3, 4);
  data[kWriteProtectedByte] = area.write_protected ? 1 : 0;
  return Reply(std::move(data), request.length);
}

void Describe(const VirtualDrive& drive, nlohmann::json& out) {
  const PartitionState* state = drive.FindFamilyState<PartitionState>();
  if (state == nullptr) return;
  out[kPartitionsSection] = {
      {"status_reads", state->status_reads},
      {"page_reads", state->page_reads},
      {"area_reads", state->area_reads},
      {"settings_error", state->error},
  };
}

}  // namespace

CommandResult PartitionStatusReply(VirtualDrive& drive, const CommandRequest& request) {
  if (request.direction != Direction::kIn) return InvalidField();
  const PartitionSettings* settings = Settings(drive);
  if (settings == nullptr) return InvalidField();
  ++drive.FamilyState<PartitionState>().status_reads;
  std::vector<std::uint8_t> data(kStatusLength, 0);
  data[0] = settings->unit_count.value_or(static_cast<std::uint8_t>(settings->units.size()));
  for (std::size_t k = 0; k < settings->units.size(); ++k) {
    const PartitionSetting& unit = settings->units[k];
    data[1 + 8 * k] = unit.type;
    data[2 + 8 * k] = unit.unit;
    PutLe(data, 3 + 8 * k, unit.flags, 2);
    PutLe(data, 5 + 8 * k, unit.size, 4);
  }
  return Reply(std::move(data), request.length);
}

const CommandFamily& PartitionCommandFamily() {
  static const CommandFamily family{
      "partitions",
      {
          {{0xFF, 0x00, 0x00}, &PageRead},
          {{0xFF, 0xA0, 0x00}, &AreaInformation},
      },
      &Describe,
  };
  return family;
}

}  // namespace kelvane::vdrive
