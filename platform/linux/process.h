#pragma once

#include "platform/process.h"

namespace kelvane::platform::linux_backend {

// Processes started with posix_spawn; the program is run directly, and a
// process handle is signalled once waitpid has collected the child.
class LinuxProcesses final : public ProcessPort {
 public:
  ProcessStart Start(const std::wstring& command_line, const StartupInfo& startup) override;
  ValueAnswer ExitCode(NativeHandle process) override;
};

}  // namespace kelvane::platform::linux_backend
