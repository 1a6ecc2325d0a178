// The four optional lists that decide whether a drive is a candidate:
// controller (chip) codes, firmware codes, controller modes and vendor/
// product pairs. An empty list accepts everything; a non-empty list requires
// a match.
#pragma once

#include <cstdint>
#include <span>

#include "sdk/access/device_context.h"

namespace kelvane::sdk::access {

struct CandidateFilter {
  std::span<const std::uint32_t> chip_codes;      // identification bytes 382-383, big-endian
  std::span<const std::uint32_t> firmware_codes;  // identification bytes 154-155, big-endian
  std::span<const std::uint32_t> modes;           // INFO byte 172
  // Parallel lists of one length; identification bytes 8-9 and 10-11,
  // little-endian. The shorter list bounds the pairs.
  std::span<const std::uint32_t> vendors;
  std::span<const std::uint32_t> products;

  bool NeedsIdentification() const {
    return !chip_codes.empty() || !firmware_codes.empty() || !vendors.empty();
  }
  bool NeedsInfo() const { return !modes.empty(); }
};

enum class PairCompare {
  kLow16,  // only the low 16 bits of each list entry count (discovery)
  kExact,  // the whole 32-bit entry must equal the 16-bit ID (support test)
};

// Whether the blocks pass every non-empty list. A block a non-empty list
// needs must be given (528 bytes); the other may be null.
bool PassesFilter(const CandidateFilter& filter, const std::uint8_t* info,
                  const std::uint8_t* identification, PairCompare pairs);

// Reads the blocks the filter needs through `context` (identification for
// lists 1, 2 and 4, INFO for list 3) and sets `match`. 0, or 1 when a needed
// block cannot be read (`match` is then false).
int MatchCandidate(const DeviceContext& context, const CandidateFilter& filter, bool& match);

}  // namespace kelvane::sdk::access
