#include "tests/support/run_program.h"

#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kelvane::testing {

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const std::vector<std::pair<std::string, std::string>>& environment) {
  ProgramRun run;
  int pipe_fds[2];
  if (pipe(pipe_fds) != 0) return run;
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(pipe_fds[1], STDOUT_FILENO);
    close(pipe_fds[0]);
    close(pipe_fds[1]);
    for (const auto& [name, value] : environment) setenv(name.c_str(), value.c_str(), 1);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  close(pipe_fds[1]);
  char chunk[4096];
  for (;;) {
    const ssize_t got = read(pipe_fds[0], chunk, sizeof(chunk));
    if (got <= 0) break;
    run.standard_output.append(chunk, static_cast<std::size_t>(got));
  }
  close(pipe_fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  if (WIFEXITED(status)) run.exit_code = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) run.signal = WTERMSIG(status);
  return run;
}

}  // namespace kelvane::testing
