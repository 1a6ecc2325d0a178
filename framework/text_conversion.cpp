#include "framework/text_conversion.h"

#include "platform/code_page.h"

namespace kelvane::framework {

std::string WideToNarrow(const std::wstring& text) {
  platform::NarrowText narrow = platform::CodePages().ToNarrow(platform::kAnsiCodePage, 0, text);
  if (narrow.error != 0) {
    return {};
  }
  return std::move(narrow.text);
}

StrictNarrowText WideToNarrowStrict(const std::wstring& text, std::uint32_t code_page,
                                    std::uint32_t flags) {
  platform::NarrowText narrow = platform::CodePages().ToNarrow(code_page, flags, text);
  if (narrow.error != 0) {
    return {{}, narrow.error};
  }
  if (narrow.used_default_char) {
    return {{}, tq::InvalidCharacterCode};
  }
  const std::size_t end = narrow.text.find('\0');
  if (end != std::string::npos) {
    narrow.text.resize(end);
  }
  return {std::move(narrow.text), Success};
}

WideConversion NarrowToWide(const std::string& text, std::uint32_t flags, std::uint32_t code_page) {
  platform::WideText wide = platform::CodePages().ToWide(code_page, flags, text);
  if (wide.error != 0) {
    return {{}, wide.error};
  }
  return {std::move(wide.text), 0};
}

}  // namespace kelvane::framework
