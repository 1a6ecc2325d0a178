// The two built-in passwords of the secure mechanism: A for area 0 when no
// password is configured, B for area 1. Neither is ever held whole in the
// program's data; each is assembled at run time from 64 piece routines.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace kelvane::sdk::access {

inline constexpr std::size_t kSecurePasswordSize = 64;

enum class BuiltinPassword { kA, kB };

// An order in which the 64 piece routines are called.
using PieceOrder = std::array<std::uint8_t, kSecurePasswordSize>;

// A permutation of 0..63 drawn with the runtime's rand: values rand() % 64
// are drawn in turn and those already taken are skipped; the last slot takes
// the one value not yet drawn. Consumes at least 63 rand values.
PieceOrder DrawPieceOrder();

// Writes password `which` into `out` (which the caller has cleared) by
// calling the piece routines in `order`; every routine writes its byte at
// the position it is tagged with, so the order does not change the result.
void AssemblePassword(BuiltinPassword which, const PieceOrder& order,
                      std::span<std::uint8_t, kSecurePasswordSize> out) noexcept;

// AssemblePassword in a freshly drawn order.
void BuildBuiltinPassword(BuiltinPassword which, std::span<std::uint8_t, kSecurePasswordSize> out);

namespace builtin_pieces {
// A piece routine yields (position << 8) | password byte.
using PieceRoutine = std::uint16_t (*)();
using PieceTable = std::array<PieceRoutine, kSecurePasswordSize>;
extern const PieceTable kPiecesA;
extern const PieceTable kPiecesB;
}  // namespace builtin_pieces

}  // namespace kelvane::sdk::access
