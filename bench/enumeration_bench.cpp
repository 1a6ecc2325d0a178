// Kat_ListTokens against the kelvane-vdrive server with 1, 4 and 16 drives
// of one removable unit each (letters from D on, the fixed disk C: beside
// them). Each listing walks every letter: INQUIRY, identification, INFO and
// RD per drive. The counters give the commands per listing and the server's
// own share of the time, taken from its command log.
#include <benchmark/benchmark.h>

#include <array>
#include <string>

#include "platform/virtual/socket_channel.h"
#include "platform/virtual/virtual_drives.h"
#include "sdk/kat_api.h"
#include "sdk/sdk_state.h"
#include "tests/support/server_process.h"

namespace {

using namespace kelvane;
using nlohmann::json;

json ProfileWith(int drives) {
  json list = json::array();
  for (int d = 0; d < drives; ++d) {
    list.push_back(
        {{"name", "drive" + std::to_string(d)},
         {"units", {{{"letter", std::string(1, static_cast<char>('D' + d))}, {"type", 2}}}},
         {"serial", "KV" + std::to_string(1000 + d)},
         {"mode", 3}});
  }
  return {{"fixed_disks", {"C"}}, {"drives", list}};
}

void BM_ListTokensThroughServer(benchmark::State& state) {
  const int drives = static_cast<int>(state.range(0));
  testing::ServerProcess server;
  if (!server.ready()) {
    state.SkipWithError("kelvane-vdrive did not start");
    return;
  }
  platform::SocketChannel channel(server.socket_path());
  platform::VirtualDrives backend(channel);
  platform::ScopedPortOverride<platform::DrivePort> use(platform::DriveSlot(), backend);
  if (!backend.Call({{"op", "load_profile"}, {"profile", ProfileWith(drives)}})["ok"].get<bool>()) {
    state.SkipWithError("profile refused");
    return;
  }
  sdk::ResetStateForTesting();
  Kat_InitAPI(nullptr);

  std::array<KatTokenRecord, 32> tokens{};
  auto list = [&] {
    for (KatTokenRecord& token : tokens)
      token = KatTokenRecord{sizeof(KatTokenRecord), {}, 0, 0, 0, 0};
    std::uint32_t count = static_cast<std::uint32_t>(tokens.size());
    return Kat_ListTokens(tokens.data(), &count, nullptr, nullptr, 0) == 0 &&
           count == static_cast<std::uint32_t>(drives);
  };
  for (auto _ : state) {
    if (!list()) {
      state.SkipWithError("listing failed");
      break;
    }
  }

  // One more listing, alone in the log, for the counters.
  backend.Call({{"op", "clear_log"}});
  list();
  const json log = backend.Call({{"op", "log"}})["log"];
  double handling_ns = 0;
  for (const json& entry : log) handling_ns += entry["handling_ns"].get<double>();
  state.counters["commands_per_listing"] = static_cast<double>(log.size());
  state.counters["server_us_per_listing"] = handling_ns / 1000.0;
  state.counters["drives"] = drives;
  Kat_CloseAPI();
  sdk::ResetStateForTesting();
}
BENCHMARK(BM_ListTokensThroughServer)
    ->Arg(1)
    ->Arg(4)
    ->Arg(16)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
