// The partition layout of a drive profile: the section "partitions" of a
// drive entry (see README, "Profile: enumeration fields"). It feeds the
// partition status (FF 21 00), the vendor pages (FF 00 00), the page-8 head
// and the area information (FF A0 00).
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "vdrive/profile.h"

namespace kelvane::vdrive {

inline constexpr const char* kPartitionsSection = "partitions";

struct PartitionSetting {
  std::uint8_t type = 2;  // 3 CD-ROM, 2 data
  std::uint8_t unit = 0;
  std::uint16_t flags = 0;  // bit 3 CD-ROM lock, bit 0 partition flag
  std::uint32_t size = 0;
};

struct AreaSetting {
  std::uint32_t size = 0;
  std::uint32_t area_size = 0;
  std::uint32_t word2 = 0;
  std::uint32_t word3 = 0;
  bool write_protected = false;
};

struct PartitionSettings {
  std::vector<PartitionSetting> units;        // at most 8
  std::optional<std::uint8_t> unit_count;     // byte 0 of the status; default units.size()
  std::map<std::uint8_t, AreaSetting> areas;  // by area number (unit index, 0xFF hidden)
  std::uint32_t hidden_size = 0;              // the page-8 head value
  std::uint32_t page8_word = 0;               // page 8, bytes 6-7
  std::uint32_t page12_value = 0;             // page 12, bytes 6-9
  std::map<std::uint16_t, std::vector<std::uint8_t>> pages;  // raw page contents
};

// The settings of `drive`'s profile; without the section one entry per unit
// (type 3 for a CD-ROM unit, else 2; unit number = position; flags 0; size
// 0x10000) and everything else zero. Throws ProfileError naming the field for
// a section that cannot be used.
PartitionSettings ParsePartitionSettings(const DriveProfile& drive);

}  // namespace kelvane::vdrive
