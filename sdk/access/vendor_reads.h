// Vendor reads of a drive's partition layout: vendor pages, the page-8 head,
// area information and the partition status. Each binds its own channel
// (every address kind), reads data in with a 10 s time-out, and clears its
// command block and local buffer before returning.
#pragma once

#include <cstddef>
#include <cstdint>

#include "sdk/access/device_context.h"

namespace kelvane::sdk::access {

inline constexpr std::uint32_t kMaxVendorPageLength = 65536;
// The length the device-information query reads pages 8 and 12 with.
inline constexpr std::uint32_t kVendorPageReadLength = 512;
inline constexpr std::uint32_t kPage8HeadLength = 20;
inline constexpr std::uint32_t kAreaInformationLength = 16;
inline constexpr std::uint32_t kAreaInformationLongLength = 32;
inline constexpr std::uint8_t kHiddenArea = 0xFF;

// Vendor page `page` (FF 00 00 p-low p-high len(4, little-endian) 02 A2),
// `length` bytes (1 to 65536) into `out`. 0, or 4 when the read fails or
// byte 0 of the page is not the page's low byte (the page number the drive
// repeats). 1 for a null `out` or a bad length.
std::int32_t ReadVendorPage(const DeviceContext& context, std::uint16_t page, std::uint8_t* out,
                            std::uint32_t length);

// Page 8: the little-endian 16-bit word at bytes 6-7. Page 12: the
// little-endian 32-bit value at bytes 6-9. 0 or 4, as ReadVendorPage.
std::int32_t ReadPage8Word(const DeviceContext& context, std::uint32_t& word);
std::int32_t ReadPage12Value(const DeviceContext& context, std::uint32_t& value);

// The page-8 head (FF 00 00 08 00 20 00 00 00 00 A2 00, 20 bytes): bytes
// 16-19 as a big-endian value. The transport status (1 when no channel).
std::int32_t ReadPage8Head(const DeviceContext& context, std::uint32_t& value);

struct AreaInformation {
  std::uint32_t size = 0;
  std::uint32_t area_size = 0;
  std::uint32_t word2 = 0;
  std::uint32_t word3 = 0;
};

// Area information of `area` (a unit index, or 0xFF for the hidden area):
// FF A0 00 a, 16 bytes, four little-endian words. The transport status;
// `out` is untouched on failure.
std::int32_t ReadAreaInformation(const DeviceContext& context, std::uint8_t area,
                                 AreaInformation& out);

// The 32-byte form of the same command (byte 24 is 1 for a write-protected
// unit) into `out` (32 bytes). The transport status.
std::int32_t ReadAreaInformationLong(const DeviceContext& context, std::uint8_t unit,
                                     std::uint8_t* out);

struct PartitionEntry {
  std::uint8_t type = 0;  // 3 the CD-ROM, 2 a data unit
  std::uint8_t unit = 0;
  std::uint16_t flags = 0;  // bit 3 the CD-ROM lock, bit 0 the partition flag
  std::uint32_t size = 0;
};

inline constexpr std::size_t kPartitionEntries = 8;
inline constexpr std::uint16_t kCdRomLockFlag = 0x08;

struct PartitionStatus {
  std::uint8_t unit_count = 0;
  PartitionEntry entries[kPartitionEntries];
};

// The first 65 bytes of a ReadHidStatus reply, decoded.
PartitionStatus ParsePartitionStatus(const std::uint8_t* bytes);

// The transport status of a busy partition status (ERROR_GEN_FAILURE).
inline constexpr std::int32_t kPartitionBusyStatus = 31;
inline constexpr int kPartitionBusyRetries = 10;
inline constexpr std::uint32_t kPartitionBusyPauseMs = 100;

// ReadHidStatus; while the transport answers 31, up to 10 retries, each
// after a 100 ms pause on the context's event and a TEST UNIT READY (its
// result ignored). A read that succeeds, the tenth retry included, gives 0;
// still 31 after the tenth retry: 50 (UDVErrorDeviceBeSeized); any other
// failure: 23 (UDVErrorGetCapacity).
std::int32_t ReadPartitionStatus(DeviceContext& context, PartitionStatus& status);

}  // namespace kelvane::sdk::access
