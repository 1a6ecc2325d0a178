#pragma once

#include "platform/code_page.h"

namespace kelvane::platform::linux_backend {

// UTF-8 (the ANSI code page on Linux) by the backend's own codec; other code
// pages, 932 among them, through iconv.
class LinuxCodePages final : public CodePagePort {
 public:
  WideText ToWide(std::uint32_t code_page, std::uint32_t flags, std::string_view bytes) override;
  NarrowText ToNarrow(std::uint32_t code_page, std::uint32_t flags,
                      std::wstring_view text) override;
};

}  // namespace kelvane::platform::linux_backend
