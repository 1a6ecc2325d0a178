#include "platform/linux/module_file.h"

#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "platform/linux/native_path.h"
#include "platform/linux/utf8.h"
#include "platform/win_error.h"

namespace kelvane::platform::linux_backend {

namespace {

constexpr std::uint32_t kModuleNotFound = 126;

PathAnswer ProgramFile() {
  std::vector<char> buffer(512);
  while (true) {
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) {
      return {{}, PathError(errno)};
    }
    if (static_cast<std::size_t>(length) < buffer.size()) {
      return {WideFromUtf8(std::string_view(buffer.data(), static_cast<std::size_t>(length))), 0};
    }
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace

PathAnswer LinuxModuleFiles::ModuleFileName(ModuleHandle module) {
  if (module == nullptr) {
    return ProgramFile();
  }
  Dl_info info{};
  if (::dladdr(module, &info) == 0 || info.dli_fname == nullptr) {
    return {{}, kModuleNotFound};
  }
  const std::string name = info.dli_fname;
  if (name.empty() || name.front() != '/') {
    // The main program is reported by the name it was started with.
    return ProgramFile();
  }
  return {WideFromUtf8(name), 0};
}

PathAnswer LinuxModuleFiles::LongPathName(const std::wstring& path) {
  if (path.empty()) {
    return {{}, win::kInvalidParameter};
  }
  struct stat info {};
  if (::stat(NativePath(path).c_str(), &info) != 0) {
    return {{}, PathError(errno)};
  }
  return {path, 0};
}

}  // namespace kelvane::platform::linux_backend
