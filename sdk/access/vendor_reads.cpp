#include "sdk/access/vendor_reads.h"

#include <array>
#include <cstring>
#include <vector>

#include "platform/secure_wipe.h"
#include "sdk/access/command_channel.h"
#include "sdk/access/info_blocks.h"
#include "sdk/access/standard_commands.h"
#include "sdk/kat_api.h"

namespace kelvane::sdk::access {

namespace {

constexpr std::uint32_t kTimeoutSeconds = 10;
constexpr std::int32_t kPageReadFailed = 4;
constexpr std::size_t kTestUnitReadySense = 32;

std::uint32_t Le32(const std::uint8_t* bytes) {
  return std::uint32_t{bytes[0]} | (std::uint32_t{bytes[1]} << 8) |
         (std::uint32_t{bytes[2]} << 16) | (std::uint32_t{bytes[3]} << 24);
}

// One data-in command: binds a channel, reads `length` bytes into `out`
// (through a zeroed local buffer), clears the block and the buffer.
std::int32_t ReadIn(const DeviceContext& context, std::array<std::uint8_t, kCdbSize>& cdb,
                    std::uint8_t* out, std::uint32_t length) {
  CommandChannel channel;
  if (BindChannel(&context, &channel, allowed_kinds::kAll) != 0) {
    platform::SecureWipe(cdb.data(), cdb.size());
    return 1;
  }
  std::vector<std::uint8_t> local(length, 0);
  const std::int32_t status =
      SendCommand(channel, cdb.data(), direction::kIn, local.data(), length, kTimeoutSeconds);
  if (status == 0) std::memcpy(out, local.data(), length);
  platform::SecureWipe(cdb.data(), cdb.size());
  platform::SecureWipe(local.data(), local.size());
  return status;
}

}  // namespace

std::int32_t ReadVendorPage(const DeviceContext& context, std::uint16_t page, std::uint8_t* out,
                            std::uint32_t length) {
  if (out == nullptr || length == 0 || length > kMaxVendorPageLength) return 1;
  std::array<std::uint8_t, kCdbSize> cdb{0xFF,
                                         0x00,
                                         0x00,
                                         static_cast<std::uint8_t>(page),
                                         static_cast<std::uint8_t>(page >> 8),
                                         static_cast<std::uint8_t>(length),
                                         static_cast<std::uint8_t>(length >> 8),
                                         static_cast<std::uint8_t>(length >> 16),
                                         static_cast<std::uint8_t>(length >> 24),
                                         0x02,
                                         0xA2,
                                         0x00};
  if (ReadIn(context, cdb, out, length) != 0) return kPageReadFailed;
  return out[0] == static_cast<std::uint8_t>(page) ? 0 : kPageReadFailed;
}

std::int32_t ReadPage8Word(const DeviceContext& context, std::uint32_t& word) {
  std::vector<std::uint8_t> page(kVendorPageReadLength, 0);
  const std::int32_t status = ReadVendorPage(context, 8, page.data(), kVendorPageReadLength);
  if (status == 0) word = std::uint32_t{page[6]} | (std::uint32_t{page[7]} << 8);
  platform::SecureWipe(page.data(), page.size());
  return status;
}

std::int32_t ReadPage12Value(const DeviceContext& context, std::uint32_t& value) {
  std::vector<std::uint8_t> page(kVendorPageReadLength, 0);
  const std::int32_t status = ReadVendorPage(context, 12, page.data(), kVendorPageReadLength);
  if (status == 0) value = Le32(&page[6]);
  platform::SecureWipe(page.data(), page.size());
  return status;
}

std::int32_t ReadPage8Head(const DeviceContext& context, std::uint32_t& value) {
  std::array<std::uint8_t, kCdbSize> cdb{0xFF, 0x00, 0x00, 0x08, 0x00, 0x20,
                                         0x00, 0x00, 0x00, 0x00, 0xA2, 0x00};
  std::array<std::uint8_t, kPage8HeadLength> head{};
  const std::int32_t status = ReadIn(context, cdb, head.data(), kPage8HeadLength);
  if (status == 0) {
    value = (std::uint32_t{head[16]} << 24) | (std::uint32_t{head[17]} << 16) |
            (std::uint32_t{head[18]} << 8) | head[19];
  }
  platform::SecureWipe(head.data(), head.size());
  return status;
}

std::int32_t ReadAreaInformation(const DeviceContext& context, std::uint8_t area,
                                 AreaInformation& out) {
  std::array<std::uint8_t, kCdbSize> cdb{0xFF, 0xA0, 0x00, area};
  std::array<std::uint8_t, kAreaInformationLength> data{};
  const std::int32_t status = ReadIn(context, cdb, data.data(), kAreaInformationLength);
  if (status == 0)
    out = AreaInformation{Le32(&data[0]), Le32(&data[4]), Le32(&data[8]), Le32(&data[12])};
  platform::SecureWipe(data.data(), data.size());
  return status;
}

std::int32_t ReadAreaInformationLong(const DeviceContext& context, std::uint8_t unit,
                                     std::uint8_t* out) {
  if (out == nullptr) return 1;
  std::array<std::uint8_t, kCdbSize> cdb{0xFF, 0xA0, 0x00, unit};
  return ReadIn(context, cdb, out, kAreaInformationLongLength);
}

PartitionStatus ParsePartitionStatus(const std::uint8_t* bytes) {
  PartitionStatus status;
  status.unit_count = bytes[0];
  for (std::size_t k = 0; k < kPartitionEntries; ++k) {
    const std::uint8_t* entry = bytes + 1 + 8 * k;
    status.entries[k] =
        PartitionEntry{entry[0], entry[1], static_cast<std::uint16_t>(entry[2] | (entry[3] << 8)),
                       Le32(entry + 4)};
  }
  return status;
}

std::int32_t ReadPartitionStatus(DeviceContext& context, PartitionStatus& status) {
  std::array<std::uint8_t, kHidStatusSize> reply{};
  std::int32_t read = ReadHidStatus(context, reply.data());
  for (int retry = 0; read == kPartitionBusyStatus && retry < kPartitionBusyRetries; ++retry) {
    context.sleep_event.Wait(kPartitionBusyPauseMs);
    std::array<std::uint8_t, kTestUnitReadySense> sense{};
    TestUnitReady(context, sense.data());
    read = ReadHidStatus(context, reply.data());
  }
  std::int32_t result = 0;
  if (read == 0) {
    status = ParsePartitionStatus(reply.data());
  } else {
    result = read == kPartitionBusyStatus ? UDVErrorDeviceBeSeized : UDVErrorGetCapacity;
  }
  platform::SecureWipe(reply.data(), reply.size());
  return result;
}

}  // namespace kelvane::sdk::access
