#include "platform/linux/process.h"

#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>
#include <string>
#include <vector>

#include "platform/linux/command_line.h"
#include "platform/linux/handle_table.h"
#include "platform/linux/utf8.h"
#include "platform/win_error.h"

extern char** environ;

namespace kelvane::platform::linux_backend {

namespace {

constexpr std::uint32_t kBadExeFormat = 193;
constexpr long kPollNanoseconds = 5 * 1000 * 1000;

std::uint32_t StartError(int error) {
  switch (error) {
    case ENOENT:
      return win::kFileNotFound;
    case ENOTDIR:
      return win::kPathNotFound;
    case EACCES:
    case EPERM:
      return win::kAccessDenied;
    case ENOEXEC:
    case EISDIR:
      return kBadExeFormat;
    case ENOMEM:
    case EAGAIN:
      return win::kNotEnoughMemory;
    case E2BIG:
    case ENAMETOOLONG:
      return win::kInvalidParameter;
    default:
      return 1;
  }
}

std::string ProgramPath(const std::wstring& program) {
  std::string path = Utf8FromWide(program);
  for (char& c : path) {
    if (c == '\\') {
      c = '/';
    }
  }
  return path;
}

class ProcessObject final : public KernelObject {
 public:
  explicit ProcessObject(pid_t pid) : pid_(pid) {}

  ~ProcessObject() override {
    std::lock_guard guard(lock_);
    Collect(WNOHANG);  // a child still running is left to run
  }

  WaitAnswer Wait(std::uint32_t timeout_ms) override {
    std::lock_guard guard(lock_);
    if (timeout_ms == kInfinite) {
      while (!exited_) {
        if (!Collect(0)) {
          return {kWaitFailed, win::kInvalidHandle};
        }
      }
      return {kWaitObject0, 0};
    }
    timespec start{};
    clock_gettime(CLOCK_MONOTONIC, &start);
    while (true) {
      if (!Collect(WNOHANG)) {
        return {kWaitFailed, win::kInvalidHandle};
      }
      if (exited_) {
        return {kWaitObject0, 0};
      }
      timespec now{};
      clock_gettime(CLOCK_MONOTONIC, &now);
      const long long elapsed_ms =
          (now.tv_sec - start.tv_sec) * 1000LL + (now.tv_nsec - start.tv_nsec) / 1000000LL;
      if (elapsed_ms >= timeout_ms) {
        return {kWaitTimeout, 0};
      }
      timespec pause{0, kPollNanoseconds};
      nanosleep(&pause, nullptr);
    }
  }

  std::uint32_t ExitCode() {
    std::lock_guard guard(lock_);
    Collect(WNOHANG);
    return exited_ ? exit_code_ : kStillActive;
  }

 private:
  // False when the child cannot be waited for at all.
  bool Collect(int options) {
    if (exited_) {
      return true;
    }
    int status = 0;
    pid_t got;
    do {
      got = ::waitpid(pid_, &status, options);
    } while (got < 0 && errno == EINTR);
    if (got < 0) {
      return false;
    }
    if (got == pid_) {
      if (WIFEXITED(status)) {
        exit_code_ = static_cast<std::uint32_t>(WEXITSTATUS(status));
        exited_ = true;
      } else if (WIFSIGNALED(status)) {
        exit_code_ = 128u + static_cast<std::uint32_t>(WTERMSIG(status));
        exited_ = true;
      }
    }
    return true;
  }

  std::mutex lock_;
  pid_t pid_;
  bool exited_ = false;
  std::uint32_t exit_code_ = kStillActive;
};

}  // namespace

ProcessStart LinuxProcesses::Start(const std::wstring& command_line,
                                   const StartupInfo& /*startup*/) {
  const std::vector<std::wstring> words = SplitCommandLine(command_line);
  if (words.empty() || words.front().empty()) {
    return {kNullHandle, kNullHandle, words.empty() ? win::kInvalidParameter : win::kFileNotFound};
  }
  std::vector<std::string> arguments;
  arguments.push_back(ProgramPath(words.front()));
  for (std::size_t i = 1; i < words.size(); ++i) {
    arguments.push_back(Utf8FromWide(words[i]));
  }
  std::vector<char*> argv;
  for (std::string& argument : arguments) {
    argv.push_back(argument.data());
  }
  argv.push_back(nullptr);

  pid_t pid = 0;
  const std::string& program = arguments.front();
  const bool search_path = program.find('/') == std::string::npos;
  const int error =
      search_path ? ::posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ)
                  : ::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ);
  if (error != 0) {
    return {kNullHandle, kNullHandle, StartError(error)};
  }
  const NativeHandle process = HandleTable::Instance().Add(std::make_shared<ProcessObject>(pid));
  return {process, kNullHandle, 0};
}

ValueAnswer LinuxProcesses::ExitCode(NativeHandle process) {
  const std::shared_ptr<ProcessObject> object =
      HandleTable::Instance().FindAs<ProcessObject>(process);
  if (object == nullptr) {
    return {0, win::kInvalidHandle};
  }
  return {object->ExitCode(), 0};
}

}  // namespace kelvane::platform::linux_backend
