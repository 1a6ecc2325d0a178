// Conversions between wide text and narrow text of a code page.
#pragma once

#include <cstdint>
#include <string>

#include "framework/result_code.h"

namespace kelvane::framework {

// Wide text in the ANSI code page, no flags; empty when the conversion fails.
std::string WideToNarrow(const std::wstring& text);

struct StrictNarrowText {
  std::string text;
  // 0; a Windows error code when the conversion failed; InvalidCharacterCode
  // when a character had no equivalent in the code page (text then empty).
  ResultCode code = Success;
};

// Wide text in `code_page` with `flags`, refusing any character that the
// code page cannot represent. The text ends at its first NUL.
StrictNarrowText WideToNarrowStrict(const std::wstring& text, std::uint32_t code_page,
                                    std::uint32_t flags);

struct WideConversion {
  std::wstring text;
  std::uint32_t error = 0;  // 0 or the Windows error code
};

// Narrow text of `code_page` to wide text with `flags` (such as
// platform::kErrorOnInvalidChars).
WideConversion NarrowToWide(const std::string& text, std::uint32_t flags, std::uint32_t code_page);

}  // namespace kelvane::framework
