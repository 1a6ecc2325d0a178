// Running a program and waiting for it.
#pragma once

#include <string>

#include "framework/result.h"
#include "platform/process.h"

namespace kelvane::framework {

// Starts `command_line` as a new process with `startup` (passed on
// unchanged), blocks until the process ends (no time-out, no message
// pumping), and returns its exit code: a success for 0, otherwise the exit
// code alone as a raw value. The caller builds the whole command line; no
// quoting is added. Errors: site 1586 then the system error when the program
// cannot be started (2: no such program); site 1589 then the system error
// when the exit code cannot be read. The started process is never ended by
// the runner.
Result RunProcessAndWait(const platform::StartupInfo& startup, const std::wstring& command_line);

}  // namespace kelvane::framework
