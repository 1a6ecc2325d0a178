#include "sdk/access/configured_password.h"

#include <algorithm>

namespace kelvane::sdk::access {

ConfiguredPassword& SdkConfiguredPassword() {
  static ConfiguredPassword password;
  return password;
}

void SetConfiguredPassword(std::span<const std::uint8_t> password) {
  ConfiguredPassword& configured = SdkConfiguredPassword();
  configured.bytes.Wipe();
  const std::size_t length = std::min(password.size(), configured.bytes.size());
  std::copy_n(password.begin(), length, configured.bytes.begin());
  configured.length = static_cast<std::uint32_t>(length);
}

void ClearConfiguredPassword() {
  ConfiguredPassword& configured = SdkConfiguredPassword();
  configured.bytes.Wipe();
  configured.length = 0;
}

}  // namespace kelvane::sdk::access
