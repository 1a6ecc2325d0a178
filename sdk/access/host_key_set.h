// One host RSA key set, deciphered from the host key table for the length of
// one key exchange.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "sdk/access/host_key_table.h"
#include "sdk/access/secret_bytes.h"

namespace kelvane::sdk::access {

// Modulus n_h (bytes 0-63), private exponent d_h (64-127), public exponent
// e_h (128-191), each 64 little-endian bytes. Wiped when it goes out of scope.
class HostKeySet {
 public:
  using Number = std::span<const std::uint8_t, kHostKeyPartSize>;

  Number Modulus() const { return Part(0); }
  Number PrivateExponent() const { return Part(1); }
  Number PublicExponent() const { return Part(2); }

  // Deciphers record `index` of the table into this set. False (and this set
  // cleared) when `index` is not below kHostKeySetCount or the cipher fails.
  bool Decipher(std::size_t index);

 private:
  Number Part(std::size_t which) const {
    return Number(bytes_.data() + which * kHostKeyPartSize, kHostKeyPartSize);
  }

  SecretBytes<kHostKeySetSize> bytes_;
};

}  // namespace kelvane::sdk::access
