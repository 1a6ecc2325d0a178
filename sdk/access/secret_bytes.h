// A fixed-size byte buffer for secrets (passwords, keys, host key sets,
// command blocks and work buffers that held them): it starts cleared and is
// wiped with SecureWipe when its owner's scope ends, on every path.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "platform/secure_wipe.h"

namespace kelvane::sdk::access {

template <std::size_t N>
struct SecretBytes : std::array<std::uint8_t, N> {
  SecretBytes() : std::array<std::uint8_t, N>{} {}
  SecretBytes(const SecretBytes&) = default;
  SecretBytes& operator=(const SecretBytes&) = default;
  ~SecretBytes() { Wipe(); }

  void Wipe() noexcept { platform::SecureWipe(this->data(), N); }
};

}  // namespace kelvane::sdk::access
