#include "framework/settings_key.h"

#include <cstddef>

namespace kelvane::framework {

namespace {

// Two scattered constant tables; read through volatile so the compiler
// cannot fold the key into one literal.
volatile const std::uint8_t kSettingsMaskA[16] = {0x3C, 0x91, 0x5E, 0x07, 0xD2, 0x68, 0xAB, 0x14,
                                                  0xF0, 0x29, 0x83, 0x4D, 0xB6, 0x1A, 0xC7, 0x75};
volatile const std::uint8_t kSettingsMaskB[16] = {0x9A, 0x22, 0xE5, 0x4B, 0x17, 0xC8, 0x3F, 0x86,
                                                  0x6D, 0xF1, 0x0E, 0xB4, 0x53, 0xDA, 0x28, 0x91};

std::uint8_t RotateLeft(std::uint8_t value, unsigned count) {
  count &= 7u;
  return static_cast<std::uint8_t>((value << count) | (value >> ((8u - count) & 7u)));
}

}  // namespace

SettingsKeyBytes BuildSettingsKeyBytes() {
  SettingsKeyBytes key{};
  for (std::size_t i = 0; i < key.size(); ++i) {
    const auto mixed = static_cast<std::uint8_t>(kSettingsMaskA[i] ^ kSettingsMaskB[15 - i]);
    key[i] = static_cast<std::uint8_t>(RotateLeft(mixed, static_cast<unsigned>(i)) + 0x1D * i);
  }
  return key;
}

}  // namespace kelvane::framework
