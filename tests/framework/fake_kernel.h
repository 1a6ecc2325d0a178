// A scripted kernel for the handle, mutex and process ports: it hands out
// handle values, answers waits from a script, and records what was called.
#pragma once

#include <deque>
#include <set>
#include <string>
#include <vector>

#include "platform/kernel_objects.h"
#include "platform/named_mutex.h"
#include "platform/process.h"

namespace kelvane::framework::testing {

class FakeKernel final : public platform::HandlePort,
                         public platform::MutexPort,
                         public platform::ProcessPort {
 public:
  // Scripted answers; each call takes the next one (a default when empty).
  std::deque<platform::HandleAnswer> create_answers;
  std::deque<platform::HandleAnswer> open_answers;
  std::deque<platform::WaitAnswer> wait_answers;
  std::deque<std::uint32_t> close_errors;
  std::uint32_t security_error = 0;
  platform::ProcessStart start_answer{100, 104, 0};
  platform::ValueAnswer exit_code_answer{0, 0};

  // What was called, in order: "create <name> <open_to_all>", "open <name>",
  // "wait <handle> <timeout>", "release <handle>", "close <handle>",
  // "start <command line>", "exit-code <handle>".
  std::vector<std::string> calls;
  std::set<platform::NativeHandle> open_handles;

  std::uint32_t Close(platform::NativeHandle handle) override {
    calls.push_back("close " + std::to_string(handle));
    const std::uint32_t error = Next(close_errors, 0u);
    if (error == 0) {
      open_handles.erase(handle);
    }
    return error;
  }

  platform::WaitAnswer Wait(platform::NativeHandle handle, std::uint32_t timeout_ms) override {
    calls.push_back("wait " + std::to_string(handle) + " " + std::to_string(timeout_ms));
    return Next(wait_answers, platform::WaitAnswer{platform::kWaitObject0, 0});
  }

  std::uint32_t MakeOpenToAllSecurity(platform::MutexSecurity& security) override {
    security.open_to_all = true;
    return security_error;
  }

  platform::HandleAnswer Create(const std::string& name, const platform::MutexSecurity* security,
                                bool /*initial_owner*/) override {
    calls.push_back("create " + name + " " +
                    std::to_string(security != nullptr && security->open_to_all));
    return Track(Next(create_answers, platform::HandleAnswer{NextHandle(), 0}));
  }

  platform::HandleAnswer Open(const std::string& name, bool /*inherit_handle*/) override {
    calls.push_back("open " + name);
    return Track(Next(open_answers, platform::HandleAnswer{NextHandle(), 0}));
  }

  std::uint32_t Release(platform::NativeHandle mutex) override {
    calls.push_back("release " + std::to_string(mutex));
    return 0;
  }

  platform::ProcessStart Start(const std::wstring& command_line,
                               const platform::StartupInfo& /*startup*/) override {
    calls.push_back("start " + std::string(command_line.begin(), command_line.end()));
    if (start_answer.process != platform::kNullHandle) open_handles.insert(start_answer.process);
    if (start_answer.thread != platform::kNullHandle) open_handles.insert(start_answer.thread);
    return start_answer;
  }

  platform::ValueAnswer ExitCode(platform::NativeHandle process) override {
    calls.push_back("exit-code " + std::to_string(process));
    return exit_code_answer;
  }

 private:
  template <typename T>
  static T Next(std::deque<T>& queue, T fallback) {
    if (queue.empty()) {
      return fallback;
    }
    T value = queue.front();
    queue.pop_front();
    return value;
  }

  platform::NativeHandle NextHandle() { return next_handle_ += 4; }

  platform::HandleAnswer Track(platform::HandleAnswer answer) {
    if (answer.handle != platform::kNullHandle) {
      open_handles.insert(answer.handle);
    }
    return answer;
  }

  platform::NativeHandle next_handle_ = 0;
};

}  // namespace kelvane::framework::testing
