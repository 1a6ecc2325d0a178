// Windows system error codes. Raw system error codes are Windows error codes
// throughout Kelvane; every backend translates its own errors into these.
#pragma once

#include <cstdint>

namespace kelvane::platform::win {

inline constexpr std::uint32_t kSuccess = 0;
inline constexpr std::uint32_t kFileNotFound = 2;
inline constexpr std::uint32_t kPathNotFound = 3;
inline constexpr std::uint32_t kAccessDenied = 5;
inline constexpr std::uint32_t kInvalidHandle = 6;
inline constexpr std::uint32_t kNotEnoughMemory = 8;
inline constexpr std::uint32_t kNotReady = 21;
inline constexpr std::uint32_t kSharingViolation = 32;
inline constexpr std::uint32_t kNotSupported = 50;
inline constexpr std::uint32_t kInvalidParameter = 87;
inline constexpr std::uint32_t kSemaphoreTimeout = 121;
inline constexpr std::uint32_t kInsufficientBuffer = 122;
inline constexpr std::uint32_t kAlreadyExists = 183;
inline constexpr std::uint32_t kWaitTimeout = 258;
inline constexpr std::uint32_t kIoDevice = 1117;
inline constexpr std::uint32_t kDeviceNotConnected = 1167;

}  // namespace kelvane::platform::win
