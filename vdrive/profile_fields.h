// Readers for profile fields, shared by the profile and the sections of the
// command families. Each throws ProfileError naming the field.
#pragma once

#include <cstdint>
#include <string>

#include <nlohmann/json.hpp>

#include "vdrive/profile.h"

namespace kelvane::vdrive {

[[noreturn]] void FailProfileField(const std::string& where, const std::string& what);

// A number given as a JSON number or a text such as "0x0693"; at most `max`.
std::uint32_t ProfileNumber(const nlohmann::json& value, const std::string& where, std::uint64_t max);

}  // namespace kelvane::vdrive
