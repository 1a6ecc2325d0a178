#include "platform/linux/code_page.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "platform/linux/utf8.h"
#include "platform/win_error.h"

namespace kelvane::platform::linux_backend {

namespace {

constexpr std::uint32_t kInvalidFlags = 1004;
constexpr std::uint32_t kNoUnicodeTranslation = 1113;
constexpr std::uint32_t kPrecomposed = 0x1;  // MB_PRECOMPOSED, the default for other code pages

bool IsUtf8(std::uint32_t code_page) {
  return code_page == kAnsiCodePage || code_page == kUtf8CodePage;
}

std::string IconvName(std::uint32_t code_page) {
  return "CP" + std::to_string(code_page);
}

// One iconv conversion descriptor for the life of a call.
class Converter {
 public:
  Converter(const std::string& to, const std::string& from)
      : cd_(iconv_open(to.c_str(), from.c_str())) {}
  ~Converter() {
    if (valid()) {
      iconv_close(cd_);
    }
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts as much as possible; returns false at an invalid or incomplete
  // sequence, leaving `in` at it.
  bool Step(const char*& in, std::size_t& in_left, std::string& out) {
    char chunk[256];
    while (in_left > 0) {
      char* out_at = chunk;
      std::size_t out_left = sizeof(chunk);
      char* in_at = const_cast<char*>(in);
      const std::size_t done = iconv(cd_, &in_at, &in_left, &out_at, &out_left);
      out.append(chunk, static_cast<std::size_t>(out_at - chunk));
      in = in_at;
      if (done == static_cast<std::size_t>(-1)) {
        if (errno == E2BIG) {
          continue;
        }
        return false;
      }
    }
    return true;
  }

 private:
  iconv_t cd_;
};

std::wstring WideFromBytes(const std::string& bytes) {
  std::wstring text(bytes.size() / sizeof(wchar_t), L'\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    wchar_t c;
    std::memcpy(&c, bytes.data() + i * sizeof(wchar_t), sizeof(wchar_t));
    text[i] = c;
  }
  return text;
}

}  // namespace

WideText LinuxCodePages::ToWide(std::uint32_t code_page, std::uint32_t flags,
                                std::string_view bytes) {
  const bool strict = (flags & kErrorOnInvalidChars) != 0;
  if (IsUtf8(code_page)) {
    if ((flags & ~kErrorOnInvalidChars) != 0) {
      return {{}, kInvalidFlags};
    }
    Utf8Decoded decoded = DecodeUtf8(bytes);
    if (decoded.had_invalid && strict) {
      return {{}, kNoUnicodeTranslation};
    }
    return {std::move(decoded.text), 0};
  }
  if ((flags & ~(kErrorOnInvalidChars | kPrecomposed)) != 0) {
    return {{}, kInvalidFlags};
  }
  Converter converter("WCHAR_T", IconvName(code_page));
  if (!converter.valid()) {
    return {{}, win::kInvalidParameter};
  }
  std::wstring text;
  const char* in = bytes.data();
  std::size_t in_left = bytes.size();
  while (true) {
    std::string out;
    const bool complete = converter.Step(in, in_left, out);
    text += WideFromBytes(out);
    if (complete) {
      break;
    }
    if (strict) {
      return {{}, kNoUnicodeTranslation};
    }
    text.push_back(static_cast<wchar_t>(0xFFFD));
    ++in;
    --in_left;
  }
  return {std::move(text), 0};
}

NarrowText LinuxCodePages::ToNarrow(std::uint32_t code_page, std::uint32_t flags,
                                    std::wstring_view text) {
  if (flags != 0) {
    return {{}, false, kInvalidFlags};
  }
  if (IsUtf8(code_page)) {
    Utf8Encoded encoded = EncodeUtf8(text);
    return {std::move(encoded.text), encoded.had_unpaired, 0};
  }
  Converter converter(IconvName(code_page), "WCHAR_T");
  if (!converter.valid()) {
    return {{}, false, win::kInvalidParameter};
  }
  NarrowText narrow;
  const char* in = reinterpret_cast<const char*>(text.data());
  std::size_t in_left = text.size() * sizeof(wchar_t);
  while (!converter.Step(in, in_left, narrow.text) && in_left >= sizeof(wchar_t)) {
    narrow.text.push_back('?');
    narrow.used_default_char = true;
    in += sizeof(wchar_t);
    in_left -= sizeof(wchar_t);
  }
  return narrow;
}

}  // namespace kelvane::platform::linux_backend
