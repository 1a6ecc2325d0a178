// File attributes and reading access to existing files (GetFileAttributesW,
// CreateFileW for reading, GetFileSize).
//
// Paths are full paths. On Linux a backslash in a path is read as a
// separator, as '/' is, so paths built the Windows way name the same files.
#pragma once

#include <cstdint>
#include <string>

#include "platform/kernel_objects.h"
#include "platform/port_slot.h"

namespace kelvane::platform {

inline constexpr std::uint32_t kInvalidFileAttributes = 0xFFFFFFFF;
inline constexpr std::uint32_t kFileAttributeReadOnly = 0x01;
inline constexpr std::uint32_t kFileAttributeDirectory = 0x10;
inline constexpr std::uint32_t kFileAttributeNormal = 0x80;

struct SizeAnswer {
  std::uint64_t size = 0;
  std::uint32_t error = 0;
};

class FileAccessPort {
 public:
  virtual ~FileAccessPort() = default;

  // The attributes of a file or folder; kInvalidFileAttributes with the
  // error (2, 3, 5, ...) when it cannot be reached. Never blocks for long.
  virtual ValueAnswer GetAttributes(const std::wstring& path) = 0;

  // Opens an existing file or folder for reading, sharing read, write and
  // delete with others. The handle (closed with HandlePort::Close) or
  // kInvalidHandleValue with the error: 2, 3, 5, or 32 (sharing violation)
  // while another process holds the file exclusively.
  virtual HandleAnswer OpenForReading(const std::wstring& path) = 0;

  // The size of an open file; error 6 for a handle that is not an open file.
  virtual SizeAnswer GetSize(NativeHandle file) = 0;
};

PortSlot<FileAccessPort>& FileAccessSlot();
FileAccessPort& FileAccess();

}  // namespace kelvane::platform
