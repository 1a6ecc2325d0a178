#include "platform/linux/command_line.h"

namespace kelvane::platform::linux_backend {

namespace {

bool IsBlank(wchar_t c) {
  return c == L' ' || c == L'\t';
}

}  // namespace

std::vector<std::wstring> SplitCommandLine(const std::wstring& command_line) {
  std::vector<std::wstring> words;
  std::size_t i = 0;
  const std::size_t n = command_line.size();
  while (i < n && IsBlank(command_line[i])) {
    ++i;
  }
  if (i == n) {
    return words;
  }
  std::wstring program;
  if (command_line[i] == L'"') {
    ++i;
    while (i < n && command_line[i] != L'"') {
      program.push_back(command_line[i++]);
    }
    if (i < n) {
      ++i;  // the closing quote
    }
  } else {
    while (i < n && !IsBlank(command_line[i])) {
      program.push_back(command_line[i++]);
    }
  }
  words.push_back(std::move(program));

  while (true) {
    while (i < n && IsBlank(command_line[i])) {
      ++i;
    }
    if (i == n) {
      break;
    }
    std::wstring word;
    bool quoted = false;
    while (i < n && (quoted || !IsBlank(command_line[i]))) {
      if (command_line[i] == L'\\') {
        std::size_t slashes = 0;
        while (i < n && command_line[i] == L'\\') {
          ++slashes;
          ++i;
        }
        if (i < n && command_line[i] == L'"') {
          word.append(slashes / 2, L'\\');
          if (slashes % 2 == 1) {
            word.push_back(L'"');
            ++i;
          }
        } else {
          word.append(slashes, L'\\');
        }
      } else if (command_line[i] == L'"') {
        if (quoted && i + 1 < n && command_line[i + 1] == L'"') {
          word.push_back(L'"');
          i += 2;
        } else {
          quoted = !quoted;
          ++i;
        }
      } else {
        word.push_back(command_line[i++]);
      }
    }
    words.push_back(std::move(word));
  }
  return words;
}

}  // namespace kelvane::platform::linux_backend
