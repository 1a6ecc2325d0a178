// The partition layouts a controller mode stands for: how many units a drive
// in that mode has, and which unit plays which role.
#pragma once

#include <cstdint>
#include <optional>

namespace kelvane::sdk {

inline constexpr std::int8_t kNoUnit = -1;

struct ModeLayout {
  std::uint32_t units = 0;
  std::int8_t cdrom_role = kNoUnit;   // the lockable CD-ROM unit (partition type 3)
  std::int8_t secure_role = kNoUnit;  // the data unit the password operations act on
  std::int8_t public_role = kNoUnit;  // the other data unit
};

// The layout of `mode` for the secure-layout flag (0 or nonzero); nullopt
// for a mode the table does not hold.
std::optional<ModeLayout> LookupMode(std::uint32_t mode, std::uint8_t secure_layout);

}  // namespace kelvane::sdk
