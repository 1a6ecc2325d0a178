// A kelvane-vdrive server started for one test on a temporary socket and
// stopped (SIGTERM) when the object goes.
#pragma once

#include <string>

namespace kelvane::testing {

class ServerProcess {
 public:
  // Starts `program` (default: kelvane-vdrive in $KELVANE_BIN_DIR) with the
  // given profile file (may be empty) and waits for its ready line.
  explicit ServerProcess(const std::string& profile_path = "");
  ~ServerProcess();
  ServerProcess(const ServerProcess&) = delete;
  ServerProcess& operator=(const ServerProcess&) = delete;

  bool ready() const { return ready_; }
  const std::string& socket_path() const { return socket_path_; }
  const std::string& directory() const { return directory_; }

  // Sends SIGTERM and waits; returns the exit status (or -1).
  int Stop();

 private:
  std::string directory_;
  std::string socket_path_;
  int pid_ = -1;
  bool ready_ = false;
};

// The folder the build puts the programs in ($KELVANE_BIN_DIR).
std::string BinDir();

}  // namespace kelvane::testing
