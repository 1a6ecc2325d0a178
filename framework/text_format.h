// printf-style formatting into a string that grows to fit.
//
// The format rules are the C runtime's; write "%ls" for a wide string
// argument so the same format serves every platform. Formatting starts in a
// 256-character buffer whose last character always stays 0; a text that does
// not fit makes the buffer twice as large (when the runtime only reports that
// the output was cut) or exactly large enough (when it reports the length),
// at most 20 times. A text that never fits is returned as far as the last
// buffer held it; an expansion with no characters gives an empty string.
#pragma once

#include <cstdarg>
#include <string>

namespace kelvane::framework {

#if defined(__GNUC__)
#define KELVANE_PRINTF_FORMAT(format_index, first_argument) \
  __attribute__((format(printf, format_index, first_argument)))
#else
#define KELVANE_PRINTF_FORMAT(format_index, first_argument)
#endif

std::wstring FormatWide(const wchar_t* format, ...);
std::string FormatNarrow(const char* format, ...) KELVANE_PRINTF_FORMAT(1, 2);

std::wstring FormatWideList(const wchar_t* format, std::va_list arguments);
std::string FormatNarrowList(const char* format, std::va_list arguments);

}  // namespace kelvane::framework
