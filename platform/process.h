// Starting a program as a new process (CreateProcessW) and reading its exit
// code (GetExitCodeProcess). Waiting for it is HandlePort::Wait.
#pragma once

#include <cstdint>
#include <string>

#include "platform/kernel_objects.h"
#include "platform/port_slot.h"

namespace kelvane::platform {

// The parts of STARTUPINFOW that the system sets.
inline constexpr std::uint32_t kStartupInfoSize = 68;
inline constexpr std::uint32_t kStartfUseShowWindow = 0x01;
inline constexpr std::uint32_t kStartfUseCountChars = 0x08;
inline constexpr std::uint32_t kStartfUseFillAttribute = 0x10;
inline constexpr std::uint16_t kShowHide = 0;

struct StartupInfo {
  std::uint32_t size = 0;
  std::uint32_t flags = 0;
  std::uint16_t show_window = 0;
};

struct ProcessStart {
  NativeHandle process = kNullHandle;
  NativeHandle thread = kNullHandle;  // may stay null where threads have no handle
  std::uint32_t error = 0;
};

// The exit code of a process that is still running.
inline constexpr std::uint32_t kStillActive = 259;

class ProcessPort {
 public:
  virtual ~ProcessPort() = default;

  // Starts the program named by the first word of `command_line` (Windows
  // quoting rules) with the rest as its arguments, the caller's environment
  // and current folder, no handles inherited. On Linux the program is run
  // directly (no command interpreter); a name without a separator is looked
  // up in PATH. The window settings of `startup` are accepted and ignored
  // where there is no window. Errors: 2 (missing program), 5 (not allowed),
  // 193 (not a program), 87 (empty command line).
  virtual ProcessStart Start(const std::wstring& command_line, const StartupInfo& startup) = 0;

  // The exit code of a process; kStillActive while it runs. A process ended
  // by a signal reports 128 plus the signal number. Error 6 for a bad handle.
  virtual ValueAnswer ExitCode(NativeHandle process) = 0;
};

PortSlot<ProcessPort>& ProcessSlot();
ProcessPort& Processes();

}  // namespace kelvane::platform
