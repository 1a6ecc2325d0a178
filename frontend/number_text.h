// Reading numbers from text the way the C runtime's strtol does on a
// platform whose long has 32 bits.
#pragma once

#include <cstdint>
#include <string>

namespace kelvane::frontend {

// Leading white space and a sign are allowed; base 16 accepts a "0x" or "0X"
// prefix; base 0 reads "0x" as hexadecimal, a leading 0 as octal, anything
// else as decimal. Reading stops at the first character that is not a digit
// of the base. A text without digits, and a value outside the signed 32-bit
// range, read as 0.
std::int32_t ReadLong32(const std::string& text, int base);
std::int32_t ReadLong32(const std::wstring& text, int base);

}  // namespace kelvane::frontend
