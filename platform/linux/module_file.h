#pragma once

#include "platform/module_file.h"

namespace kelvane::platform::linux_backend {

// The program's file from /proc/self/exe, other modules through dladdr.
class LinuxModuleFiles final : public ModuleFilePort {
 public:
  PathAnswer ModuleFileName(ModuleHandle module) override;
  PathAnswer LongPathName(const std::wstring& path) override;
};

}  // namespace kelvane::platform::linux_backend
