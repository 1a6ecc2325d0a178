#include "frontend/number_text.h"

#include <cerrno>
#include <cstdlib>
#include <cwchar>
#include <limits>

namespace kelvane::frontend {

namespace {

std::int32_t InRangeOrZero(long long value, int error, bool converted) {
  if (!converted || error == ERANGE || value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::int32_t>::max()) {
    return 0;
  }
  return static_cast<std::int32_t>(value);
}

}  // namespace

std::int32_t ReadLong32(const std::string& text, int base) {
  const char* begin = text.c_str();
  char* end = nullptr;
  errno = 0;
  const long long value = std::strtoll(begin, &end, base);
  return InRangeOrZero(value, errno, end != begin);
}

std::int32_t ReadLong32(const std::wstring& text, int base) {
  const wchar_t* begin = text.c_str();
  wchar_t* end = nullptr;
  errno = 0;
  const long long value = std::wcstoll(begin, &end, base);
  return InRangeOrZero(value, errno, end != begin);
}

}  // namespace kelvane::frontend
