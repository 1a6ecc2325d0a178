// The running program's own file and the long form of paths
// (GetModuleFileNameW, GetLongPathNameW).
#pragma once

#include <cstdint>
#include <string>

#include "platform/port_slot.h"

namespace kelvane::platform {

// A module of the process: the address of anything inside it, or null for
// the program itself.
using ModuleHandle = const void*;

struct PathAnswer {
  std::wstring path;
  std::uint32_t error = 0;  // 0 on success
};

class ModuleFilePort {
 public:
  virtual ~ModuleFilePort() = default;

  // The full path of the module's file, as the system reports it. Paths are
  // returned whole, however long. Errors: 126 when `module` lies in no
  // loaded module, or the system's error when the path cannot be read.
  virtual PathAnswer ModuleFileName(ModuleHandle module) = 0;

  // The long form of an existing path. On Linux there are no short names, so
  // the path comes back unchanged once it is known to exist. Errors: 2 or 3
  // when the path does not exist, 87 for an empty path.
  virtual PathAnswer LongPathName(const std::wstring& path) = 0;
};

PortSlot<ModuleFilePort>& ModuleFileSlot();
ModuleFilePort& ModuleFiles();

}  // namespace kelvane::platform
