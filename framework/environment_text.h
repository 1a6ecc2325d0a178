// Reading the process environment.
#pragma once

#include <string>

namespace kelvane::framework {

// The value of the environment variable `name`; empty when it is not set or
// set to an empty value.
std::wstring GetEnvironmentText(const std::wstring& name);

}  // namespace kelvane::framework
