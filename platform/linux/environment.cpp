#include "platform/linux/environment.h"

#include <cstdlib>

#include "platform/linux/utf8.h"

namespace kelvane::platform::linux_backend {

std::optional<std::wstring> LinuxEnvironment::Read(const std::wstring& name) {
  const std::string narrow_name = Utf8FromWide(name);
  if (narrow_name.empty() || narrow_name.find('=') != std::string::npos ||
      narrow_name.find('\0') != std::string::npos) {
    return std::nullopt;
  }
  const char* value = std::getenv(narrow_name.c_str());
  if (value == nullptr) {
    return std::nullopt;
  }
  return WideFromUtf8(value);
}

}  // namespace kelvane::platform::linux_backend
