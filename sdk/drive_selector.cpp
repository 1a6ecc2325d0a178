#include "sdk/drive_selector.h"

namespace kelvane::sdk {

bool IsDriveLetterByte(std::uint8_t byte) {
  return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z');
}

DriveSelector DecodeDriveSelector(std::uint8_t selector) {
  DriveSelector decoded;
  if (IsDriveLetterByte(selector)) {
    decoded.is_letter = true;
    decoded.letter = selector;
    return decoded;
  }
  const auto as_signed = static_cast<std::int8_t>(selector);
  decoded.unit = static_cast<std::uint8_t>(selector & 7u);
  decoded.token_index = (as_signed >> 3) - 1;
  return decoded;
}

std::uint8_t IndexCode(std::uint32_t token_index, std::uint8_t unit) {
  return static_cast<std::uint8_t>(((token_index + 1) << 3) | (unit & 7u));
}

}  // namespace kelvane::sdk
