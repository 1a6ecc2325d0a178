// Windows-style path text to a Linux path: backslashes become '/'.
#pragma once

#include <cstdint>
#include <string>

namespace kelvane::platform::linux_backend {

std::string NativePath(const std::wstring& path);

// The Windows error for an errno of a failed path lookup.
std::uint32_t PathError(int error);

}  // namespace kelvane::platform::linux_backend
