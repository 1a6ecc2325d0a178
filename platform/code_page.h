// Conversions between wide text and narrow text of a code page
// (MultiByteToWideChar, WideCharToMultiByte).
//
// The ANSI code page is the locale's: on Linux narrow text is UTF-8 whatever
// the locale. Code page 932 (Shift_JIS) is served as well; a code page the
// system does not know fails with 87 (invalid parameter).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/port_slot.h"

namespace kelvane::platform {

inline constexpr std::uint32_t kAnsiCodePage = 0;  // CP_ACP
inline constexpr std::uint32_t kShiftJisCodePage = 932;
inline constexpr std::uint32_t kUtf8CodePage = 65001;  // CP_UTF8

// MB_ERR_INVALID_CHARS: fail with 1113 on bytes that are not valid in the
// code page instead of replacing them with U+FFFD.
inline constexpr std::uint32_t kErrorOnInvalidChars = 0x8;

struct WideText {
  std::wstring text;
  std::uint32_t error = 0;
};

struct NarrowText {
  std::string text;
  // A character the code page cannot represent was replaced by the default
  // character ('?').
  bool used_default_char = false;
  std::uint32_t error = 0;
};

class CodePagePort {
 public:
  virtual ~CodePagePort() = default;

  // Narrow to wide. Errors: 87 (unknown code page), 1004 (flags other than
  // kErrorOnInvalidChars), 1113 (invalid bytes under kErrorOnInvalidChars).
  // Empty input gives empty text and 0.
  virtual WideText ToWide(std::uint32_t code_page, std::uint32_t flags, std::string_view bytes) = 0;

  // Wide to narrow. Characters the code page cannot represent (for UTF-8: an
  // unpaired surrogate) become '?' and set used_default_char. Errors: 87
  // (unknown code page), 1004 (any flag). Empty input gives empty text and 0.
  virtual NarrowText ToNarrow(std::uint32_t code_page, std::uint32_t flags,
                              std::wstring_view text) = 0;
};

PortSlot<CodePagePort>& CodePageSlot();
CodePagePort& CodePages();

}  // namespace kelvane::platform
