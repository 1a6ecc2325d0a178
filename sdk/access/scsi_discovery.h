// The SCSI-mode drive scan: walks the drive letters, keeps removable and
// CD-ROM drives that carry the controller's signature and pass the candidate
// filter, and groups the letters of one physical drive into one record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "sdk/access/candidate_filter.h"
#include "sdk/kat_api.h"

namespace kelvane::sdk::access {

// Fills one record per physical drive, in the order of their first letter,
// and returns how many. Per record it writes only the unit bytes (the letter
// at the unit number of identification byte 385), the controller mode (INFO
// byte 172), the firmware code (identification bytes 154-155, big-endian),
// the secure-layout flag (identification byte 397 is 0x0B) and the serial
// identifier; the records are expected to be clear. A letter joins an
// earlier record when its drive has a serial string (identification byte 16
// nonzero) and the same 128-byte serial identifier. A letter whose blocks
// cannot be read, or whose unit number is above 7, is skipped; drives beyond
// `records.size()` are ignored. Fixed disks and other drive types are never
// sent a command.
std::size_t ScanScsiDrives(std::span<KatDeviceRecord* const> records, const CandidateFilter& filter,
                           std::string_view product_name = {});

}  // namespace kelvane::sdk::access
