#include "platform/secure_wipe.h"

#include <string.h>

namespace kelvane::platform {

void SecureWipe(void* data, std::size_t size) noexcept {
  if (data != nullptr && size != 0) explicit_bzero(data, size);
}

}  // namespace kelvane::platform
