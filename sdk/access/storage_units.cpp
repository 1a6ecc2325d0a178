#include "sdk/access/storage_units.h"

#include <algorithm>
#include <cstring>

#include "platform/drives.h"

namespace kelvane::sdk::access {

namespace {

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = text.find(separator, start);
    parts.push_back(
        text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return parts;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// 1 to 4 hex digits right after `key`.
bool HexAfter(std::string_view text, std::string_view key, std::uint16_t& value) {
  const std::size_t at = text.find(key);
  if (at == std::string_view::npos) return false;
  std::uint32_t parsed = 0;
  std::size_t digits = 0;
  for (std::size_t i = at + key.size(); i < text.size() && digits < 4; ++i, ++digits) {
    const int digit = HexDigit(text[i]);
    if (digit < 0) break;
    parsed = parsed * 16 + static_cast<std::uint32_t>(digit);
  }
  if (digits == 0) return false;
  value = static_cast<std::uint16_t>(parsed);
  return true;
}

// A unit number: decimal digits only, at most 7.
std::optional<std::uint32_t> UnitNumber(std::string_view field) {
  if (field.empty() || field.size() > 3) return std::nullopt;
  std::uint32_t value = 0;
  for (char c : field) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<std::uint32_t>(c - '0');
  }
  return value;
}

std::string_view SerialOf(const UnitMap& map) {
  const char* end = std::find(map.serial, map.serial + sizeof(map.serial) - 1, '\0');
  return std::string_view(map.serial, static_cast<std::size_t>(end - map.serial));
}

char Upper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

bool ParseParentIds(std::string_view device_id, std::uint16_t& vendor_id,
                    std::uint16_t& product_id) {
  std::uint16_t vendor = 0;
  std::uint16_t product = 0;
  if (!HexAfter(device_id, "VID_", vendor) || !HexAfter(device_id, "PID_", product)) return false;
  vendor_id = vendor;
  product_id = product;
  return true;
}

std::vector<StorageInterfaceEntry> CollectStorageInterfaces() {
  std::vector<StorageInterfaceEntry> entries;
  for (const platform::StorageInterface& found :
       platform::StorageInterfaces().ListStorageInterfaces()) {
    if (entries.size() == kMaxStorageInterfaces) break;
    if (!found.parent_device_id || !found.device_number) continue;
    if (found.path.size() >= kStorageTextSize || found.parent_device_id->size() >= kStorageTextSize)
      continue;
    StorageInterfaceEntry entry;
    if (!ParseParentIds(*found.parent_device_id, entry.vendor_id, entry.product_id)) continue;
    entry.storage_class = found.storage_class;
    entry.parent_device_id = *found.parent_device_id;
    entry.path = found.path;
    entry.device_number = *found.device_number;
    entries.push_back(std::move(entry));
  }
  return entries;
}

std::optional<PathUnit> ParseUnitFromPath(std::string_view path) {
  const auto parts = Split(path, '#');
  if (parts.size() != 4) return std::nullopt;
  const auto fields = Split(parts[2], '&');
  if (fields.size() < 2) return std::nullopt;
  const auto unit = UnitNumber(fields.back());
  if (!unit) return std::nullopt;
  return PathUnit{std::string(fields[fields.size() - 2]), *unit};
}

std::optional<PathUnit> ParseUnitFromInstance(std::string_view path) {
  const auto parts = Split(path, '#');
  if (parts.size() < 3) return std::nullopt;
  const auto fields = Split(parts[2], '&');
  if (fields.size() < 5) return std::nullopt;
  const auto unit = UnitNumber(fields[4]);
  if (!unit) return std::nullopt;
  return PathUnit{std::string(fields[3]), *unit};
}

bool SerialsMatch(std::string_view a, std::string_view b) {
  const std::size_t length = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < length; ++i) {
    if (Upper(a[i]) != Upper(b[i])) return false;
  }
  return true;
}

void MapUnits(UnitMap& map) {
  std::memset(map.unit_bytes, 0, sizeof(map.unit_bytes));
  std::memset(map.unit_numbers, 0, sizeof(map.unit_numbers));
  map.unit_count = 0;
  std::vector<StorageInterfaceEntry> entries = CollectStorageInterfaces();

  for (const platform::LogicalDrive& drive : platform::Drives().ListDrives()) {
    if (drive.letter < 'C' || drive.letter > 'Z') continue;
    auto number = platform::StorageInterfaces().DriveDeviceNumber(drive.letter);
    if (!number) continue;
    if (drive.type == platform::DriveType::kRemovable) number->partition_number = 0;
    for (StorageInterfaceEntry& entry : entries) {
      if (entry.device_number == *number) {
        entry.drive_root[0] = drive.letter;
        entry.drive_root[1] = ':';
        entry.drive_root[2] = '\\';
        break;
      }
    }
  }

  const std::string_view serial = SerialOf(map);
  for (const StorageInterfaceEntry& entry : entries) {
    if (entry.vendor_id != map.vendor_id || entry.product_id != map.product_id) continue;
    const auto unit = ParseUnitFromPath(entry.path);
    if (!unit || unit->unit >= kMaxUnits || !SerialsMatch(unit->serial, serial)) continue;
    map.unit_bytes[unit->unit] = static_cast<std::uint8_t>(entry.drive_root[0]);
    map.unit_numbers[unit->unit] = static_cast<std::uint8_t>(unit->unit);
    if (map.unit_count < kMaxUnits) ++map.unit_count;
  }
}

void CountUnits(UnitMap& map) {
  std::memset(map.unit_numbers, 0, sizeof(map.unit_numbers));
  map.unit_count = 0;
  const std::string_view serial = SerialOf(map);
  for (const StorageInterfaceEntry& entry : CollectStorageInterfaces()) {
    if (map.unit_count == kMaxUnits) break;
    if (entry.vendor_id != map.vendor_id || entry.product_id != map.product_id) continue;
    const auto unit = ParseUnitFromInstance(entry.path);
    if (!unit || unit->unit >= kMaxUnits || !SerialsMatch(unit->serial, serial)) continue;
    map.unit_numbers[map.unit_count++] = static_cast<std::uint8_t>(unit->unit);
  }
}

}  // namespace kelvane::sdk::access
