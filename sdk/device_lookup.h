// Finding a drive's record in the current device list by drive letter, by
// token index, or by a drive selector that gives either.
#pragma once

#include <cstdint>

#include "sdk/drive_selector.h"
#include "sdk/sdk_state.h"

namespace kelvane::sdk {

// The first of the list's first `count` records whose first unit_count unit
// bytes hold `letter` (compared in upper case); its position goes to
// `index` when given. Null when none does.
KatDeviceRecord* FindRecordByLetter(DeviceList& list, std::uint8_t letter,
                                    std::uint32_t* index = nullptr);

// The record at `index`, whether in use or not; null for a negative index or
// one at or above the capacity.
KatDeviceRecord* FindRecordByIndex(DeviceList& list, std::int32_t index);

// Decodes `selector` and looks it up in the current device list: by letter,
// or by the token index of an index code. 0 with `record` set, or 34
// (UDVErrorDevice) when there is no such record. `decoded` receives the
// decoded selector when given.
std::int32_t FindRecordBySelector(std::uint8_t selector, KatDeviceRecord*& record,
                                  DriveSelector* decoded = nullptr);

}  // namespace kelvane::sdk
