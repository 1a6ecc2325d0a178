// The units of a drive as the system's storage interfaces list them:
// MapUnits gives each unit its drive letter ('?' when it has none),
// CountUnits only counts them. Both match interfaces to a drive by the
// vendor and product IDs of the interface's parent device and by the serial
// in the interface path.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/storage_interfaces.h"

namespace kelvane::sdk::access {

inline constexpr std::size_t kMaxStorageInterfaces = 32;
inline constexpr std::size_t kMaxUnits = 8;
// Room for the interface path and the parent device ID, NUL included.
inline constexpr std::size_t kStorageTextSize = 260;

struct StorageInterfaceEntry {
  char drive_root[4] = {'?', 0, 0, 0};  // "E:\" once a letter maps to it
  platform::StorageClass storage_class = platform::StorageClass::kDisk;
  std::uint16_t vendor_id = 0;
  std::uint16_t product_id = 0;
  std::string parent_device_id;
  std::string path;
  platform::StorageDeviceNumber device_number;
};

// One drive's units.
struct UnitMap {
  std::uint16_t vendor_id = 0;
  std::uint16_t product_id = 0;
  char serial[128] = {};                    // NUL-terminated (the last byte is never read past)
  std::uint8_t unit_bytes[kMaxUnits] = {};  // letter per unit, '?' for none
  std::uint8_t unit_numbers[kMaxUnits] = {};
  std::uint32_t unit_count = 0;
};

// The present interfaces (CD-ROM class first), at most 32; an interface
// without a parent device ID holding "VID_" and "PID_" followed by hex
// digits, without a storage device number, or whose path or parent ID does
// not fit 260 bytes is left out.
std::vector<StorageInterfaceEntry> CollectStorageInterfaces();

// "VID_xxxx" and "PID_xxxx" (1 to 4 hex digits each) in a parent device ID.
bool ParseParentIds(std::string_view device_id, std::uint16_t& vendor_id,
                    std::uint16_t& product_id);

struct PathUnit {
  std::string serial;
  std::uint32_t unit = 0;
};

// The parser MapUnits uses: exactly four "#" parts; the third split at "&":
// the last field is the unit number (decimal), the one before it the serial.
std::optional<PathUnit> ParseUnitFromPath(std::string_view path);

// The parser CountUnits uses: the third "#" part split at "&" must have at
// least five fields; the fourth is the serial, the fifth the unit number.
std::optional<PathUnit> ParseUnitFromInstance(std::string_view path);

// Case-insensitive equality over the length of the shorter text.
bool SerialsMatch(std::string_view a, std::string_view b);

// Fills the unit bytes, unit numbers and count of `map` (cleared first) from
// the interfaces: every letter from C to Z gives its drive root to the
// interface with its storage device number (partition 0 for a removable
// drive); every interface of the drive puts its letter ('?' without one) at
// its unit number and counts once (at most 8). Unit numbers above 7 are
// ignored.
void MapUnits(UnitMap& map);

// Counts the drive's interfaces by the instance parser: unit_numbers holds
// the unit numbers in interface order, unit_count how many (cleared first;
// at most 8; unit numbers above 7 are ignored). Unit bytes are not touched.
void CountUnits(UnitMap& map);

}  // namespace kelvane::sdk::access
