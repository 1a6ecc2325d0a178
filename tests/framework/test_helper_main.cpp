// A small program the framework tests start as a child process.
//
//   exit <n>                      exits with code n
//   signal <n>                    ends itself with signal n
//   hold-mutex <name> <ready> <go> release|abandon
//                                 creates and locks the named mutex, writes
//                                 the file <ready>, waits for the file <go>,
//                                 then releases it and exits 0, or is killed
//                                 while owning it
//   print-settings <out>          writes the embedded settings, serialised,
//                                 to the file <out> (UTF-8)
//   print-settings-text <out>     writes the embedded settings text as read
//                                 by two calls, each followed by "|"
//   echo-arguments <out> <args>   writes each argument and a line feed
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "framework/embedded_settings.h"
#include "framework/named_mutex.h"
#include "framework/text_conversion.h"

namespace {

using kelvane::framework::NamedMutex;

int HoldMutex(const std::string& name, const std::string& ready, const std::string& go,
              const std::string& mode) {
  NamedMutex mutex;
  if (!mutex.CreateOpenToAll(name, false).IsSuccess() || !mutex.Lock(10000).IsSuccess()) {
    return 10;
  }
  std::ofstream(ready) << "ready";
  for (int waited = 0; !std::filesystem::exists(go); ++waited) {
    if (waited > 3000) {
      return 11;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  if (mode == "abandon") {
    std::raise(SIGKILL);
  }
  return mutex.Close().IsSuccess() ? 0 : 12;
}

int PrintSettings(const std::string& out) {
  const std::wstring text = kelvane::framework::LoadEmbeddedSettings().Serialize();
  std::ofstream(out, std::ios::binary) << kelvane::framework::WideToNarrow(text);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "exit" && argc == 3) {
    return std::atoi(argv[2]);
  }
  if (command == "signal" && argc == 3) {
    std::raise(std::atoi(argv[2]));
    return 99;
  }
  if (command == "hold-mutex" && argc == 6) {
    return HoldMutex(argv[2], argv[3], argv[4], argv[5]);
  }
  if (command == "print-settings" && argc == 3) {
    return PrintSettings(argv[2]);
  }
  if (command == "print-settings-text" && argc == 3) {
    std::ofstream out(argv[2], std::ios::binary);
    for (int call = 0; call < 2; ++call) {
      out << kelvane::framework::WideToNarrow(kelvane::framework::LoadEmbeddedSettingsText())
          << '|';
    }
    return 0;
  }
  if (command == "echo-arguments" && argc >= 3) {
    std::ofstream out(argv[2], std::ios::binary);
    for (int i = 3; i < argc; ++i) {
      out << argv[i] << '\n';
    }
    return 0;
  }
  return 64;
}
