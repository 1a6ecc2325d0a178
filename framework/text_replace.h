// Replacing every occurrence of a pattern in a string.
#pragma once

#include <string>

namespace kelvane::framework {

// Replaces every occurrence of `pattern` in `text` by `replacement`, in
// place. An empty pattern changes nothing. The search goes on right after
// each inserted replacement, so inserted text is never searched again (and
// replacing "\n" by "\r\n" ends).
template <typename Char>
void ReplaceAll(std::basic_string<Char>& text, const std::basic_string<Char>& pattern,
                const std::basic_string<Char>& replacement) {
  if (pattern.empty()) {
    return;
  }
  typename std::basic_string<Char>::size_type at = 0;
  while ((at = text.find(pattern, at)) != std::basic_string<Char>::npos) {
    text.replace(at, pattern.size(), replacement);
    at += replacement.size();
  }
}

inline void ReplaceAll(std::string& text, const std::string& pattern,
                       const std::string& replacement) {
  ReplaceAll<char>(text, pattern, replacement);
}

inline void ReplaceAll(std::wstring& text, const std::wstring& pattern,
                       const std::wstring& replacement) {
  ReplaceAll<wchar_t>(text, pattern, replacement);
}

}  // namespace kelvane::framework
