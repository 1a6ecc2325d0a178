// The 16 key bytes of the embedded settings resource. They are assembled at
// run time from constants of the program, so they never stand in the
// program file as one value.
#pragma once

#include <array>
#include <cstdint>

namespace kelvane::framework {

using SettingsKeyBytes = std::array<std::uint8_t, 16>;

SettingsKeyBytes BuildSettingsKeyBytes();

}  // namespace kelvane::framework
