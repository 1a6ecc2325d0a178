// The controller's information blocks as a drive of a given profile answers
// them: identification (no tag), INFO and RD, 528 bytes each.
#pragma once

#include <array>
#include <cstdint>

#include "vdrive/profile.h"

namespace kelvane::vdrive {

using Block = std::array<std::uint8_t, 528>;

// Offsets the emulator writes; the host reads the same ones.
namespace block_offsets {
inline constexpr std::size_t kVendorId = 8;
inline constexpr std::size_t kProductId = 10;
inline constexpr std::size_t kSerialIndex = 16;
inline constexpr std::size_t kManufacturer = 44;
inline constexpr std::size_t kProduct = 70;
inline constexpr std::size_t kSerial = 96;
inline constexpr std::size_t kVersion = 148;
inline constexpr std::size_t kFirmwareCode = 154;
inline constexpr std::size_t kProductText = 156;
inline constexpr std::size_t kVendorText = 176;
inline constexpr std::size_t kRevisionText = 184;
inline constexpr std::size_t kVrMark = 378;
inline constexpr std::size_t kChipCode = 382;
inline constexpr std::size_t kUnitNumber = 385;
inline constexpr std::size_t kIspMark = 393;
inline constexpr std::size_t kLayout = 397;
inline constexpr std::size_t kInfoMode = 172;
inline constexpr std::size_t kRdAreaStates = 74;
inline constexpr std::size_t kRdSessionScheme = 511;
}  // namespace block_offsets

// `version` is the firmware version the drive runs now (it changes after an
// update); `unit` the unit number of the letter the block is read through.
Block BuildIdentificationBlock(const DriveProfile& drive, const std::array<std::uint8_t, 3>& version,
                               std::uint8_t unit);
Block BuildInfoBlock(const DriveProfile& drive);
Block BuildRdBlock(const DriveProfile& drive, std::uint8_t area_states);

// Applies the profile's raw patches of `block_name` to `block`.
void ApplyPatches(const DriveProfile& drive, const char* block_name, Block& block);

}  // namespace kelvane::vdrive
