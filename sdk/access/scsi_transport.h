// SCSI pass-through of one command block, on a drive letter (opened and
// closed for this one command) or on an open handle.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kelvane::sdk::access {

// Statuses as SendCommand documents them. `cdb_length` above 16 or a null
// `cdb` cannot be built into a request (3); the command block is sent as 12
// bytes, zero-padded. After an INQUIRY (first byte 0x12) that moved fewer
// bytes than asked, the rest of the buffer is zeroed. After a TEST UNIT
// READY (first two bytes 0) the first 18 sense bytes are copied to `buffer`
// (when it is not null), whatever `length` says.
std::int32_t ScsiPassThroughOnLetter(std::uint8_t letter, const std::uint8_t* cdb, std::size_t cdb_length,
                                     std::uint8_t dir, std::uint8_t* buffer, std::uint32_t length,
                                     std::uint32_t timeout_seconds);

// The same on a handle: -1 gives 2; the INQUIRY zeroing is not done. No
// backend hands out drive handles yet, so any other handle gives
// ERROR_INVALID_HANDLE (6).
std::int32_t ScsiPassThroughOnHandle(std::int32_t handle, const std::uint8_t* cdb, std::size_t cdb_length,
                                     std::uint8_t dir, std::uint8_t* buffer, std::uint32_t length,
                                     std::uint32_t timeout_seconds);

}  // namespace kelvane::sdk::access
