// The host table key: two masks combined at run time, so that no constant
// of the program holds the key itself.
#include "sdk/access/host_key_table.h"

namespace kelvane::sdk::access {
namespace {

// Read through volatile so the combination happens when the key is needed
// rather than being folded into a constant at build time.
volatile const std::uint8_t kMaskA[16] = {0x3c, 0x91, 0x5e, 0x07, 0xd2, 0x48, 0xab, 0x16,
                                          0x7f, 0xe0, 0x29, 0x84, 0xc5, 0x6a, 0x13, 0xbe};
volatile const std::uint8_t kMaskB[16] = {0x62, 0x0d, 0xf7, 0x9a, 0x35, 0xc8, 0x51, 0xe4,
                                          0x8b, 0x1e, 0xa6, 0x73, 0x4c, 0xd9, 0x20, 0xb5};

}  // namespace

void BuildHostTableKey(std::span<std::uint8_t, 16> key) noexcept {
  for (std::size_t i = 0; i < key.size(); ++i) {
    const std::uint8_t b = kMaskB[(i * 5 + 3) % 16];
    const auto rotated = static_cast<std::uint8_t>((b << 3) | (b >> 5));
    key[i] = static_cast<std::uint8_t>(kMaskA[i] ^ rotated ^ static_cast<std::uint8_t>(i * 29));
  }
}

}  // namespace kelvane::sdk::access
