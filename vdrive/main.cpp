// kelvane-vdrive: the emulated PC with its security drives, served on a Unix
// domain socket.
//
//   kelvane-vdrive --socket PATH [--profile FILE]
//
// Prints "kelvane-vdrive: ready on PATH" once it accepts connections; ends on
// SIGTERM or SIGINT and removes its socket.
#include <atomic>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "platform/linux/line_server.h"
#include "vdrive/protocol.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: kelvane-vdrive --socket PATH [--profile FILE]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string socket_path;
  std::string profile_path;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--socket") == 0 && i + 1 < argc) {
      socket_path = argv[++i];
    } else if (std::strcmp(argv[i], "--profile") == 0 && i + 1 < argc) {
      profile_path = argv[++i];
    } else {
      return Usage();
    }
  }
  if (socket_path.empty()) return Usage();

  kelvane::vdrive::Profile profile = kelvane::vdrive::DefaultProfile();
  if (!profile_path.empty()) {
    std::ifstream file(profile_path);
    if (!file) {
      std::fprintf(stderr, "kelvane-vdrive: cannot read profile %s\n", profile_path.c_str());
      return 1;
    }
    const nlohmann::json document = nlohmann::json::parse(file, nullptr, false);
    try {
      if (document.is_discarded()) throw kelvane::vdrive::ProfileError("not valid JSON");
      profile = kelvane::vdrive::ParseProfile(document);
    } catch (const kelvane::vdrive::ProfileError& error) {
      std::fprintf(stderr, "kelvane-vdrive: profile %s: %s\n", profile_path.c_str(), error.what());
      return 1;
    }
  }

  kelvane::vdrive::VirtualPc pc(std::move(profile));
  kelvane::vdrive::ProtocolHandler handler(pc);
  std::atomic<bool> stop{false};
  kelvane::platform::StopOnTerminationSignals(stop);

  kelvane::platform::LineServerOptions options;
  options.socket_path = socket_path;
  options.stop = &stop;
  options.handle = [&handler](const std::string& line) { return handler.HandleLine(line); };
  options.on_ready = [&socket_path] {
    std::printf("kelvane-vdrive: ready on %s\n", socket_path.c_str());
    std::fflush(stdout);
  };
  if (!kelvane::platform::RunLineServer(options)) {
    std::fprintf(stderr, "kelvane-vdrive: cannot listen on %s: %s\n", socket_path.c_str(),
                 std::strerror(errno));
    return 1;
  }
  return 0;
}
