#include "sdk/access/builtin_passwords.h"

#include "platform/runtime.h"

namespace kelvane::sdk::access {
namespace {

// A rand that keeps hitting taken values would never end the draw; after
// this many misses in a row the lowest free value is taken instead. With any
// real generator the bound is never reached (the order does not change the
// password, only how it is assembled).
constexpr int kMaxMissesInARow = 64 * 64;

}  // namespace

PieceOrder DrawPieceOrder() {
  PieceOrder order{};
  std::array<bool, kSecurePasswordSize> taken{};
  for (std::size_t slot = 0; slot + 1 < kSecurePasswordSize; ++slot) {
    std::size_t value = 0;
    int misses = 0;
    for (;;) {
      value = static_cast<std::size_t>(platform::Runtime().Random()) % kSecurePasswordSize;
      if (!taken[value]) break;
      if (++misses == kMaxMissesInARow) {
        value = 0;
        while (taken[value]) ++value;
        break;
      }
    }
    taken[value] = true;
    order[slot] = static_cast<std::uint8_t>(value);
  }
  for (std::size_t value = 0; value < kSecurePasswordSize; ++value) {
    if (!taken[value]) order[kSecurePasswordSize - 1] = static_cast<std::uint8_t>(value);
  }
  return order;
}

void AssemblePassword(BuiltinPassword which, const PieceOrder& order,
                      std::span<std::uint8_t, kSecurePasswordSize> out) noexcept {
  const builtin_pieces::PieceTable& pieces =
      which == BuiltinPassword::kA ? builtin_pieces::kPiecesA : builtin_pieces::kPiecesB;
  for (const std::uint8_t index : order) {
    const std::uint16_t piece = pieces[index % kSecurePasswordSize]();
    const std::size_t position = piece >> 8;
    if (position < kSecurePasswordSize) out[position] = static_cast<std::uint8_t>(piece & 0xFF);
  }
}

void BuildBuiltinPassword(BuiltinPassword which, std::span<std::uint8_t, kSecurePasswordSize> out) {
  AssemblePassword(which, DrawPieceOrder(), out);
}

}  // namespace kelvane::sdk::access
