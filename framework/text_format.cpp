#include "framework/text_format.h"

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <vector>

namespace kelvane::framework {

namespace {

constexpr std::size_t kFirstSize = 256;
constexpr int kMaxResizes = 20;

int FormatInto(std::vector<char>& buffer, const char* format, std::va_list arguments) {
  return std::vsnprintf(buffer.data(), buffer.size(), format, arguments);
}

int FormatInto(std::vector<wchar_t>& buffer, const wchar_t* format, std::va_list arguments) {
  return std::vswprintf(buffer.data(), buffer.size(), format, arguments);
}

std::size_t TextLength(const std::vector<char>& buffer) {
  return std::strlen(buffer.data());
}
std::size_t TextLength(const std::vector<wchar_t>& buffer) {
  return std::wcslen(buffer.data());
}

// The growing-buffer rule for both character widths. The runtime is given
// the whole buffer; the last character is forced back to 0 after each call,
// so a text of size - 1 characters fits and nothing is ever unterminated.
template <typename Char>
std::basic_string<Char> FormatGrowing(const Char* format, std::va_list arguments) {
  if (format == nullptr) {
    return {};
  }
  std::vector<Char> buffer(kFirstSize, Char{0});
  for (int resizes = 0;; ++resizes) {
    std::va_list copy;
    va_copy(copy, arguments);
    const int length = FormatInto(buffer, format, copy);
    va_end(copy);
    buffer.back() = Char{0};
    if (length >= 0 && static_cast<std::size_t>(length) < buffer.size()) {
      break;  // fits (an empty expansion included)
    }
    // The runtime reports -1 both for output that was cut and for a
    // conversion it cannot make; only a full buffer means the output was
    // cut, anything else will never fit.
    if (length < 0 && TextLength(buffer) + 1 < buffer.size()) {
      break;
    }
    if (resizes == kMaxResizes) {
      break;
    }
    const std::size_t next = length < 0 ? buffer.size() * 2 : static_cast<std::size_t>(length) + 1;
    buffer.assign(next, Char{0});
  }
  return std::basic_string<Char>(buffer.data());
}

}  // namespace

std::wstring FormatWideList(const wchar_t* format, std::va_list arguments) {
  return FormatGrowing(format, arguments);
}

std::string FormatNarrowList(const char* format, std::va_list arguments) {
  return FormatGrowing(format, arguments);
}

std::wstring FormatWide(const wchar_t* format, ...) {
  std::va_list arguments;
  va_start(arguments, format);
  std::wstring text = FormatWideList(format, arguments);
  va_end(arguments);
  return text;
}

std::string FormatNarrow(const char* format, ...) {
  std::va_list arguments;
  va_start(arguments, format);
  std::string text = FormatNarrowList(format, arguments);
  va_end(arguments);
  return text;
}

}  // namespace kelvane::framework
