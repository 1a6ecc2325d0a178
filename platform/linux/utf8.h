// UTF-8 <-> wide text for the Linux backends. Wide text holds one character
// per wchar_t; a pair of surrogates stored as two wchar_t is read as the one
// character it encodes.
#pragma once

#include <string>
#include <string_view>

namespace kelvane::platform::linux_backend {

struct Utf8Decoded {
  std::wstring text;
  bool had_invalid = false;  // invalid sequences became U+FFFD
};

Utf8Decoded DecodeUtf8(std::string_view bytes);

struct Utf8Encoded {
  std::string text;
  bool had_unpaired = false;  // unpaired surrogates or non-characters became U+FFFD
};

Utf8Encoded EncodeUtf8(std::wstring_view text);

// Convenience forms for names and paths: invalid parts become U+FFFD.
std::wstring WideFromUtf8(std::string_view bytes);
std::string Utf8FromWide(std::wstring_view text);

}  // namespace kelvane::platform::linux_backend
