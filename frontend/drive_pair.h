// One drive as the front end sees it: the letters of its removable disk and
// of its CD-ROM unit.
#pragma once

#include <compare>
#include <cstdint>

namespace kelvane::frontend {

// Each letter is a lower-case drive letter, or 0 for none. Pairs order by the
// removable-disk letter, then by the CD-ROM letter.
struct DrivePair {
  char removable = 0;
  char cd = 0;

  friend auto operator<=>(const DrivePair&, const DrivePair&) = default;
};

// One vendor/product pair that the token listing is asked to match.
struct VpFilter {
  std::uint32_t vendor = 0;
  std::uint32_t product = 0;

  friend bool operator==(const VpFilter&, const VpFilter&) = default;
};

}  // namespace kelvane::frontend
