#include "platform/linux/file_access.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/linux/handle_table.h"
#include "platform/linux/native_path.h"
#include "platform/win_error.h"

namespace kelvane::platform::linux_backend {

namespace {

class FileObject final : public KernelObject {
 public:
  explicit FileObject(int fd) : fd_(fd) {}
  ~FileObject() override { ::close(fd_); }
  int fd() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

ValueAnswer LinuxFileAccess::GetAttributes(const std::wstring& path) {
  struct stat info {};
  if (path.empty()) {
    return {kInvalidFileAttributes, win::kFileNotFound};
  }
  if (::stat(NativePath(path).c_str(), &info) != 0) {
    return {kInvalidFileAttributes, PathError(errno)};
  }
  std::uint32_t attributes = S_ISDIR(info.st_mode) ? kFileAttributeDirectory : 0;
  if ((info.st_mode & 0222) == 0) {
    attributes |= kFileAttributeReadOnly;
  }
  return {attributes == 0 ? kFileAttributeNormal : attributes, 0};
}

HandleAnswer LinuxFileAccess::OpenForReading(const std::wstring& path) {
  const int fd = ::open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    return {kInvalidHandleValue, PathError(errno)};
  }
  return {HandleTable::Instance().Add(std::make_shared<FileObject>(fd)), 0};
}

SizeAnswer LinuxFileAccess::GetSize(NativeHandle file) {
  const std::shared_ptr<FileObject> object = HandleTable::Instance().FindAs<FileObject>(file);
  if (object == nullptr) {
    return {0, win::kInvalidHandle};
  }
  struct stat info {};
  if (::fstat(object->fd(), &info) != 0) {
    return {0, PathError(errno)};
  }
  return {static_cast<std::uint64_t>(info.st_size), 0};
}

}  // namespace kelvane::platform::linux_backend
