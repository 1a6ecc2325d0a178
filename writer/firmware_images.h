// The images the writer carries inside the program, fixed at build time.
// They are opaque: copied whole and sent, never parsed or altered.
#pragma once

#include <cstdint>
#include <span>

namespace kelvane::writer {

inline constexpr std::size_t kBurnerProgramImageSize = 22016;   // 0x5600
inline constexpr std::size_t kBurnerFirmwareImageSize = 147968;  // 0x24200
inline constexpr std::size_t kFirmwareImageSize = 64512;         // 0xFC00

extern const std::uint8_t kBurnerProgramImage[kBurnerProgramImageSize];
extern const std::uint8_t kBurnerFirmwareImage[kBurnerFirmwareImageSize];
extern const std::uint8_t kFirmwareImage[kFirmwareImageSize];

inline std::span<const std::uint8_t, kFirmwareImageSize> FirmwareImage() { return std::span(kFirmwareImage); }
inline std::span<const std::uint8_t, kBurnerProgramImageSize> BurnerProgramImage() {
  return std::span(kBurnerProgramImage);
}
inline std::span<const std::uint8_t, kBurnerFirmwareImageSize> BurnerFirmwareImage() {
  return std::span(kBurnerFirmwareImage);
}

}  // namespace kelvane::writer
