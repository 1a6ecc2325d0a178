#include "framework/path_split.h"

namespace kelvane::framework {

namespace {

std::wstring Cut(std::wstring text) {
  if (text.size() > kMaxPathComponent) {
    text.resize(kMaxPathComponent);
  }
  return text;
}

}  // namespace

PathParts SplitPath(const std::wstring& path) {
  PathParts parts;
  std::size_t at = 0;
  if (path.size() >= 2 && path[1] == L':') {
    parts.drive = path.substr(0, 2);
    at = 2;
  }
  const std::size_t last_separator = path.find_last_of(L"\\/");
  if (last_separator != std::wstring::npos && last_separator >= at) {
    parts.directory = Cut(path.substr(at, last_separator + 1 - at));
    at = last_separator + 1;
  }
  const std::size_t dot = path.find_last_of(L'.');
  if (dot != std::wstring::npos && dot >= at) {
    parts.name = Cut(path.substr(at, dot - at));
    parts.extension = Cut(path.substr(dot));
  } else {
    parts.name = Cut(path.substr(at));
  }
  return parts;
}

}  // namespace kelvane::framework
