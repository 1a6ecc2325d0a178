#include "sdk/access/serial_identifier.h"

#include <algorithm>
#include <cstring>

namespace kelvane::sdk::access {

namespace {
constexpr std::size_t kSerialIndex = 16;
constexpr std::size_t kSerialLength = 96;
constexpr std::size_t kSerialCharacters = 98;
constexpr std::size_t kInterleaved = 24;
constexpr std::size_t kInterleaveWidth = 12;
}  // namespace

std::size_t BuildSerialIdentifier(const std::uint8_t* identification, std::uint8_t* out) {
  std::memset(out, 0, kSerialIdentifierSize);
  if (identification[kSerialIndex] == 0) return 0;
  const int declared = (static_cast<int>(identification[kSerialLength]) - 2) / 2;
  const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(std::max(declared, 0)),
                                              kSerialIdentifierMaxCharacters);
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t from =
        i < kInterleaved ? kSerialCharacters + 2 * (i % kInterleaveWidth) + i / kInterleaveWidth
                         : kSerialCharacters + i;
    out[i] = identification[from];
  }
  out[n] = 0;
  return n;
}

}  // namespace kelvane::sdk::access
