// Turning fuzzer bytes into wide text: each pair of bytes is one UTF-16
// unit, so every unit value (surrogates and NUL among them) can appear.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kelvane::fuzz {

inline std::wstring WideFromBytes(const std::uint8_t* data, std::size_t size) {
  std::wstring text;
  text.reserve(size / 2);
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    text.push_back(static_cast<wchar_t>(data[i] | (data[i + 1] << 8)));
  }
  return text;
}

}  // namespace kelvane::fuzz
