#include "framework/text_decode.h"

#include <algorithm>
#include <string>

#include "framework/text_conversion.h"
#include "platform/code_page.h"

namespace kelvane::framework {

namespace {

constexpr std::uint16_t kSiteAnsiConversion = 457;
constexpr std::uint16_t kSiteAnsiUnits = 459;

constexpr char16_t kByteOrderMark = 0xFEFF;
constexpr char16_t kSwappedByteOrderMark = 0xFFFE;

bool IsHighSurrogate(char32_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char32_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

std::u16string ToUnits(const std::wstring& text) {
  std::u16string units;
  units.reserve(text.size());
  for (wchar_t c : text) {
    const auto code = static_cast<char32_t>(c);
    if (code > 0xFFFF && code <= 0x10FFFF) {
      const char32_t offset = code - 0x10000;
      units.push_back(static_cast<char16_t>(0xD800 + (offset >> 10)));
      units.push_back(static_cast<char16_t>(0xDC00 + (offset & 0x3FF)));
    } else {
      units.push_back(static_cast<char16_t>(code & 0xFFFF));
    }
  }
  return units;
}

// Pairs of surrogates become one character; a lone surrogate stays as it is.
std::wstring FromUnits(const std::u16string& units) {
  std::wstring text;
  text.reserve(units.size());
  for (std::size_t i = 0; i < units.size(); ++i) {
    const char32_t unit = units[i];
    if (sizeof(wchar_t) >= 4 && IsHighSurrogate(unit) && i + 1 < units.size() &&
        IsLowSurrogate(units[i + 1])) {
      const char32_t code = 0x10000 + ((unit - 0xD800) << 10) + (units[i + 1] - 0xDC00);
      text.push_back(static_cast<wchar_t>(code));
      ++i;
    } else {
      text.push_back(static_cast<wchar_t>(unit));
    }
  }
  return text;
}

void Detect(Result* detection, ResultCode kind) {
  if (detection != nullptr) {
    detection->Push(kind);
  }
}

Result DecodeUnits(std::u16string units, std::wstring& text, Result* detection) {
  Detect(detection, string_type::StrTypeUnknown);
  if (!units.empty() && units.front() == kByteOrderMark) {
    Detect(detection, string_type::StrTypeUTF16);
    Detect(detection, string_type::StrTypeLittleEndian);
    Detect(detection, string_type::StrTyepBom);
  } else if (!units.empty() && units.front() == kSwappedByteOrderMark) {
    Detect(detection, string_type::StrTypeUTF16);
    Detect(detection, string_type::StrTypeBigEndian);
    Detect(detection, string_type::StrTyepBom);
    for (char16_t& unit : units) {
      unit = static_cast<char16_t>(((unit & 0xFF) << 8) | (unit >> 8));
    }
  }
  std::erase(units, kByteOrderMark);
  text = FromUnits(units);
  return Result();
}

}  // namespace

Result DecodeTextBytes(std::span<const std::uint8_t> bytes, std::wstring& text, Result* detection) {
  text.clear();
  Detect(detection, string_type::StrTypeAnsi);
  const std::size_t length = bytes.size();

  if (length >= 3 && length % 2 == 0 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
    std::u16string units(length / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i) {
      units[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    }
    return DecodeUnits(std::move(units), text, detection);
  }

  const std::string narrow(bytes.begin(), bytes.end());
  if (length > 2 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
    Detect(detection, string_type::StrTypeUTF8);
    Detect(detection, string_type::StrTyepBom);
    WideConversion wide =
        NarrowToWide(narrow, platform::kErrorOnInvalidChars, platform::kUtf8CodePage);
    if (wide.error != 0) {
      return Result(wide.error);
    }
    std::erase(wide.text, static_cast<wchar_t>(kByteOrderMark));
    text = std::move(wide.text);
    return Result();
  }

  WideConversion wide =
      NarrowToWide(narrow, platform::kErrorOnInvalidChars, platform::kAnsiCodePage);
  if (wide.error != 0) {
    return Raise(Location(kSiteAnsiConversion), wide.error);
  }
  if (wide.text.empty()) {
    return Result();
  }
  return Chain(DecodeUnits(ToUnits(wide.text), text, nullptr), Location(kSiteAnsiUnits));
}

}  // namespace kelvane::framework
