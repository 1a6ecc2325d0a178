#include "tests/support/server_process.h"

#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>

namespace kelvane::testing {

std::string BinDir() {
  const char* dir = std::getenv("KELVANE_BIN_DIR");
  if (dir != nullptr && dir[0] != '\0') return dir;
  // The build puts the test programs beside the others.
  std::error_code error;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string(".") : self.parent_path().string();
}

ServerProcess::ServerProcess(const std::string& profile_path) {
  char pattern[] = "/tmp/kelvane-vdrive-XXXXXX";
  if (mkdtemp(pattern) == nullptr) return;
  directory_ = pattern;
  socket_path_ = directory_ + "/vdrive.sock";
  const std::string program = BinDir() + "/kelvane-vdrive";

  int pipe_fds[2];
  if (pipe(pipe_fds) != 0) return;
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(pipe_fds[1], STDOUT_FILENO);
    close(pipe_fds[0]);
    close(pipe_fds[1]);
    if (profile_path.empty()) {
      execl(program.c_str(), program.c_str(), "--socket", socket_path_.c_str(), static_cast<char*>(nullptr));
    } else {
      execl(program.c_str(), program.c_str(), "--socket", socket_path_.c_str(), "--profile",
            profile_path.c_str(), static_cast<char*>(nullptr));
    }
    _exit(127);
  }
  close(pipe_fds[1]);
  pid_ = pid;
  // The server prints its ready line once it accepts connections.
  FILE* out = fdopen(pipe_fds[0], "r");
  char line[512];
  if (out != nullptr && std::fgets(line, sizeof(line), out) != nullptr) {
    ready_ = std::strstr(line, "ready") != nullptr;
  }
  if (out != nullptr) std::fclose(out);
}

int ServerProcess::Stop() {
  if (pid_ <= 0) return -1;
  kill(pid_, SIGTERM);
  int status = 0;
  waitpid(pid_, &status, 0);
  pid_ = -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

ServerProcess::~ServerProcess() {
  Stop();
  if (!directory_.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
  }
}

}  // namespace kelvane::testing
