#include "sdk/device_lookup.h"

#include <algorithm>

namespace kelvane::sdk {

namespace {

std::uint8_t Upper(std::uint8_t c) {
  return (c >= 'a' && c <= 'z') ? static_cast<std::uint8_t>(c - 'a' + 'A') : c;
}

}  // namespace

KatDeviceRecord* FindRecordByLetter(DeviceList& list, std::uint8_t letter, std::uint32_t* index) {
  const std::uint8_t wanted = Upper(letter);
  const std::uint32_t in_use = std::min(list.count, kDeviceListCapacity);
  for (std::uint32_t i = 0; i < in_use; ++i) {
    KatDeviceRecord& record = list.records[i];
    const std::uint32_t unit_count = record.unit_count;  // packed: read by value
    const std::uint32_t units = std::min<std::uint32_t>(unit_count, sizeof(record.unit_bytes));
    for (std::uint32_t u = 0; u < units; ++u) {
      if (Upper(record.unit_bytes[u]) == wanted) {
        if (index != nullptr) *index = i;
        return &record;
      }
    }
  }
  return nullptr;
}

KatDeviceRecord* FindRecordByIndex(DeviceList& list, std::int32_t index) {
  const auto position = static_cast<std::uint32_t>(index);
  if (position >= list.capacity || position >= kDeviceListCapacity) return nullptr;
  return &list.records[position];
}

std::int32_t FindRecordBySelector(std::uint8_t selector, KatDeviceRecord*& record,
                                  DriveSelector* decoded) {
  const DriveSelector parsed = DecodeDriveSelector(selector);
  if (decoded != nullptr) *decoded = parsed;
  DeviceList& list = *State().current;
  record = parsed.is_letter ? FindRecordByLetter(list, parsed.letter)
                            : FindRecordByIndex(list, parsed.token_index);
  return record != nullptr ? 0 : UDVErrorDevice;
}

}  // namespace kelvane::sdk
