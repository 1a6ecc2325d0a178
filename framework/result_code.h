// Result codes: 32-bit values whose high 16 bits name a facility and whose
// low 16 bits name the code within it. Bit 0x20000000 marks the framework's
// own codes; a value without it is a raw system value stored as it came (a
// Windows error code, a wait status or a process exit code). 0 is success and
// never stands in a Result.
#pragma once

#include <cstdint>

namespace kelvane::framework {

using ResultCode = std::uint32_t;

inline constexpr ResultCode Success = 0;
inline constexpr ResultCode FrameworkCodeBit = 0x20000000;
inline constexpr ResultCode InvalidEnumValue = 0x7FFFFFFF;

// Facility bases (low 16 bits 0).
inline constexpr ResultCode LineBase = 0x20000000;
inline constexpr ResultCode IndexBase = 0x20010000;
inline constexpr ResultCode CT632641Base = 0x214A0000;
inline constexpr ResultCode GDI_ControlBase = 0x28380000;
inline constexpr ResultCode AfxThreadBase = 0x304C0000;
inline constexpr ResultCode WininetKeyBase = 0x31400000;
inline constexpr ResultCode ShFileOperationKeyBase = 0x321C0000;
inline constexpr ResultCode KelvaneBase = 0x33F50000;
inline constexpr ResultCode QmvExdErrorBase = 0x37EB0000;
inline constexpr ResultCode TqErrorBase = 0x617A0000;
inline constexpr ResultCode CM_ErrorBase = 0x63610000;
inline constexpr ResultCode HiErrorBase = 0x66FE0000;
inline constexpr ResultCode StringTypeBase = 0x6A880000;
inline constexpr ResultCode HttpStatusBase = 0x6D5E0000;
inline constexpr ResultCode CM_ErrorStatusBase = 0x6E570000;
inline constexpr ResultCode WininetErrorBase = 0x6E720000;
inline constexpr ResultCode CT47Base = 0x7F660000;
inline constexpr ResultCode TolvakBase = 0x7FCC0000;

// The location code of a raise or propagation site (site 1 to 0xFFFF).
constexpr ResultCode LineCode(std::uint16_t site) {
  return LineBase + site;
}

// The location code of an index (0 to 0xFFFF).
constexpr ResultCode IndexCode(std::uint16_t index) {
  return IndexBase + index;
}

// The front end's own outcomes.
namespace kelvane_code {
inline constexpr ResultCode FoundLastestVersion = KelvaneBase + 0x0001;
inline constexpr ResultCode InvalidVendorID = KelvaneBase + 0x0002;
inline constexpr ResultCode NotFoundTolvakExe = KelvaneBase + 0x0003;
}  // namespace kelvane_code

// The framework's general errors that the system raises or tests.
namespace tq {
inline constexpr ResultCode NotSupported = TqErrorBase + 0x0006;
inline constexpr ResultCode InvalidArgument = TqErrorBase + 0x0008;
inline constexpr ResultCode InvalidCharacterCode = TqErrorBase + 0x000C;
inline constexpr ResultCode InvalidFormat = TqErrorBase + 0x0016;
inline constexpr ResultCode DeviceNotFound = TqErrorBase + 0x004A;
inline constexpr ResultCode NotSameHash = TqErrorBase + 0x0054;
inline constexpr ResultCode FileNotFound = TqErrorBase + 0x0062;
inline constexpr ResultCode DecodeError = TqErrorBase + 0x0077;
inline constexpr ResultCode InvalidPath = TqErrorBase + 0x0081;
inline constexpr ResultCode InvalidKey = TqErrorBase + 0x0094;
inline constexpr ResultCode InvalidBuffer = TqErrorBase + 0x0097;
inline constexpr ResultCode SyntaxError = TqErrorBase + 0x009A;
inline constexpr ResultCode HandleNotEnabled = TqErrorBase + 0x00A7;
inline constexpr ResultCode MutexError = TqErrorBase + 0x00CD;
inline constexpr ResultCode MutexTimeout = TqErrorBase + 0x00CE;
}  // namespace tq

// Device errors.
namespace hi {
inline constexpr ResultCode ManyDeviceFound = HiErrorBase + 0x008B;
}  // namespace hi

// Text encoding kinds found by DecodeTextBytes.
namespace string_type {
inline constexpr ResultCode StrTypeAnsi = StringTypeBase + 0x0001;
inline constexpr ResultCode StrTypeUTF8 = StringTypeBase + 0x0002;
inline constexpr ResultCode StrTypeUTF16 = StringTypeBase + 0x0003;
inline constexpr ResultCode StrTypeUTF32 = StringTypeBase + 0x0004;
inline constexpr ResultCode StrTyepBom = StringTypeBase + 0x0005;
inline constexpr ResultCode StrTyepSjis = StringTypeBase + 0x0006;
inline constexpr ResultCode StrTypeLittleEndian = StringTypeBase + 0x1000;
inline constexpr ResultCode StrTypeBigEndian = StringTypeBase + 0x1001;
inline constexpr ResultCode StrTypeUnknown = StringTypeBase + 0xFFFF;
}  // namespace string_type

}  // namespace kelvane::framework
