#include "platform/linux/utf8.h"

#include <cstdint>

namespace kelvane::platform::linux_backend {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void PutUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

bool IsSurrogate(char32_t c) {
  return c >= 0xD800 && c <= 0xDFFF;
}

}  // namespace

Utf8Decoded DecodeUtf8(std::string_view bytes) {
  Utf8Decoded out;
  out.text.reserve(bytes.size());
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<std::uint8_t>(bytes[i]);
    std::size_t extra = 0;
    char32_t code = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
      out.text.push_back(static_cast<wchar_t>(lead));
      ++i;
      continue;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      extra = 1;
      code = lead & 0x1F;
      minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      extra = 2;
      code = lead & 0x0F;
      minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      extra = 3;
      code = lead & 0x07;
      minimum = 0x10000;
    } else {
      out.text.push_back(static_cast<wchar_t>(kReplacement));
      out.had_invalid = true;
      ++i;
      continue;
    }
    std::size_t taken = 1;
    bool valid = true;
    for (; taken <= extra; ++taken) {
      if (i + taken >= bytes.size()) {
        valid = false;
        break;
      }
      const auto next = static_cast<std::uint8_t>(bytes[i + taken]);
      if ((next & 0xC0) != 0x80) {
        valid = false;
        break;
      }
      code = (code << 6) | (next & 0x3F);
    }
    if (!valid || code < minimum || code > 0x10FFFF || IsSurrogate(code)) {
      out.text.push_back(static_cast<wchar_t>(kReplacement));
      out.had_invalid = true;
      i += taken;  // the bad byte itself, if any, starts the next round
      continue;
    }
    out.text.push_back(static_cast<wchar_t>(code));
    i += taken;
  }
  return out;
}

Utf8Encoded EncodeUtf8(std::wstring_view text) {
  Utf8Encoded out;
  out.text.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    auto c = static_cast<char32_t>(text[i]);
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
      const auto low = static_cast<char32_t>(text[i + 1]);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        PutUtf8(out.text, 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00));
        ++i;
        continue;
      }
    }
    if (IsSurrogate(c) || c > 0x10FFFF) {
      out.had_unpaired = true;
      c = kReplacement;
    }
    PutUtf8(out.text, c);
  }
  return out;
}

std::wstring WideFromUtf8(std::string_view bytes) {
  return DecodeUtf8(bytes).text;
}

std::string Utf8FromWide(std::wstring_view text) {
  return EncodeUtf8(text).text;
}

}  // namespace kelvane::platform::linux_backend
