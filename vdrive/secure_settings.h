// The secure mechanism's part of a drive profile: the section
// "secure_mechanism" of a drive entry (see README, "Secure mechanism").
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "platform/crypto.h"
#include "vdrive/profile.h"

namespace kelvane::vdrive {

inline constexpr const char* kSecureSection = "secure_mechanism";

using AreaPassword = std::array<std::uint8_t, 64>;

struct SecureSettings {
  // The password of areas 0 and 1, zero-padded to 64 bytes; none when the
  // area has no password. Default: the SDK's built-in passwords A and B.
  std::array<std::optional<AreaPassword>, 2> passwords;
  // The drive's RSA key; none: a fresh 512-bit key is made for the drive.
  std::optional<platform::crypto::Rsa512KeySet> device_key;
  // Faults: the drive signs the host challenge wrongly; the confirmation
  // reply carries this byte instead of the session type.
  bool corrupt_signature = false;
  std::optional<std::uint8_t> confirmation_type;
};

// The settings of `drive`'s profile. Throws ProfileError naming the field for
// a section that cannot be used.
SecureSettings ParseSecureSettings(const DriveProfile& drive);

// The 64-byte password the SDK builds in for `area` (A for 0, B for 1).
AreaPassword DefaultAreaPassword(std::uint8_t area);

}  // namespace kelvane::vdrive
