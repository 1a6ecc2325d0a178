// The one wipe for secrets: passwords, keys, host key sets and the command
// blocks and buffers that held them. The compiler cannot drop it as a dead
// store (explicit_bzero on Linux, SecureZeroMemory on Windows).
#pragma once

#include <cstddef>

namespace kelvane::platform {

void SecureWipe(void* data, std::size_t size) noexcept;

template <typename T>
void SecureWipeObject(T& object) noexcept {
  SecureWipe(&object, sizeof(object));
}

}  // namespace kelvane::platform
