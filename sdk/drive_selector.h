// The drive selector byte: a drive letter, or an index code
// ((token index + 1) << 3 | unit) for a unit without a letter.
#pragma once

#include <cstdint>

namespace kelvane::sdk {

struct DriveSelector {
  bool is_letter = false;
  std::uint8_t letter = 0;      // as given, when is_letter
  std::int32_t token_index = -1;  // when !is_letter; negative matches no token
  std::uint8_t unit = 0;          // when !is_letter
};

// Letters are the bytes the C locale's isalpha accepts; every other byte is
// an index code, decoded with an arithmetic shift of the signed byte.
DriveSelector DecodeDriveSelector(std::uint8_t selector);

// The index code of `unit` of token `token_index`.
std::uint8_t IndexCode(std::uint32_t token_index, std::uint8_t unit);

bool IsDriveLetterByte(std::uint8_t byte);

}  // namespace kelvane::sdk
