// Turning a byte buffer of unknown encoding into wide text.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "framework/result.h"

namespace kelvane::framework {

// Decodes `bytes` into `text`:
// - an even length of at least 3 starting FF FE is little-endian UTF-16;
// - a length above 2 starting EF BB BF is UTF-8 (invalid UTF-8 fails with
//   the raw Windows error 1113);
// - anything else is text of the ANSI code page (invalid bytes fail with
//   site 457 and the Windows error).
// UTF-16 text whose first unit reads U+FFFE is byte-swapped; every U+FEFF is
// removed from the text. When `detection` is given, the encoding kinds found
// (codes of StringTypeBase) are pushed into it in the order found, starting
// with StrTypeAnsi.
Result DecodeTextBytes(std::span<const std::uint8_t> bytes, std::wstring& text,
                       Result* detection = nullptr);

}  // namespace kelvane::framework
