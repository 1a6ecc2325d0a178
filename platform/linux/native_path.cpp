#include "platform/linux/native_path.h"

#include <cerrno>

#include "platform/linux/utf8.h"
#include "platform/win_error.h"

namespace kelvane::platform::linux_backend {

std::string NativePath(const std::wstring& path) {
  std::string native = Utf8FromWide(path);
  for (char& c : native) {
    if (c == '\\') {
      c = '/';
    }
  }
  return native;
}

std::uint32_t PathError(int error) {
  switch (error) {
    case ENOENT:
      return win::kFileNotFound;
    case ENOTDIR:
    case ELOOP:
      return win::kPathNotFound;
    case EACCES:
    case EPERM:
      return win::kAccessDenied;
    case ENAMETOOLONG:
      return 206;
    case ENOMEM:
      return win::kNotEnoughMemory;
    case EMFILE:
    case ENFILE:
      return 4;
    default:
      return 1;
  }
}

}  // namespace kelvane::platform::linux_backend
