// Hexadecimal test data.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace kelvane::testing {

// "00ff10" -> {0x00, 0xff, 0x10}; spaces are ignored.
inline std::vector<std::uint8_t> FromHex(std::string_view text) {
  auto nibble = [](char c) -> std::uint8_t {
    if (c >= '0' && c <= '9') return static_cast<std::uint8_t>(c - '0');
    if (c >= 'a' && c <= 'f') return static_cast<std::uint8_t>(c - 'a' + 10);
    return static_cast<std::uint8_t>(c - 'A' + 10);
  };
  std::vector<std::uint8_t> bytes;
  int high = -1;
  for (char c : text) {
    if (c == ' ') continue;
    if (high < 0) {
      high = nibble(c);
    } else {
      bytes.push_back(static_cast<std::uint8_t>((high << 4) | nibble(c)));
      high = -1;
    }
  }
  return bytes;
}

}  // namespace kelvane::testing
