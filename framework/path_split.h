// Splitting a path into drive, directory, name and extension.
#pragma once

#include <string>

namespace kelvane::framework {

struct PathParts {
  std::wstring drive;      // "C:" when the second character is ':', else empty
  std::wstring directory;  // up to and including the last '\' or '/'
  std::wstring name;       // between the directory and the extension
  std::wstring extension;  // from the last '.' after the directory
};

// Each of directory, name and extension keeps at most this many characters.
inline constexpr std::size_t kMaxPathComponent = 255;

PathParts SplitPath(const std::wstring& path);

}  // namespace kelvane::framework
