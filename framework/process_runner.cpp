#include "framework/process_runner.h"

#include "framework/kernel_handle.h"

namespace kelvane::framework {

namespace {

constexpr std::uint16_t kSiteStart = 1586;
constexpr std::uint16_t kSiteExitCode = 1589;

}  // namespace

Result RunProcessAndWait(const platform::StartupInfo& startup, const std::wstring& command_line) {
  const platform::ProcessStart started = platform::Processes().Start(command_line, startup);
  // Declared so that the thread handle is closed first, then the process.
  KernelHandle process;
  KernelHandle thread;
  process.Adopt(started.process, 0);
  thread.Adopt(started.thread, 0);
  if (started.process == platform::kNullHandle) {
    return Raise(Location(kSiteStart), started.error);
  }
  platform::Handles().Wait(process.Handle(), platform::kInfinite);
  const platform::ValueAnswer exit_code = platform::Processes().ExitCode(process.Handle());
  if (exit_code.error != 0) {
    return Raise(Location(kSiteExitCode), exit_code.error);
  }
  return Result(exit_code.value);
}

}  // namespace kelvane::framework
