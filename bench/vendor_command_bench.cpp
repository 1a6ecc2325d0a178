// One vendor command (ReadInfoBlock, 528 bytes in) through the SDK and the
// virtual backend: in-process, and through the kelvane-vdrive server. The
// server's own handling time comes from its command log, so the figures
// separate the drive's time from the host's.
#include <benchmark/benchmark.h>

#include "platform/virtual/socket_channel.h"
#include "platform/virtual/virtual_drives.h"
#include "sdk/access/info_blocks.h"
#include "tests/support/server_process.h"
#include "tests/support/virtual_drive_fixture.h"

namespace {

using namespace kelvane;

void ReadBlocks(benchmark::State& state) {
  sdk::access::DeviceContext context;
  context.BindLetter('F');
  std::uint8_t block[528];
  for (auto _ : state) {
    if (sdk::access::ReadInfoBlock(context, sdk::access::kTagInfo, block) != 0) {
      state.SkipWithError("read failed");
      break;
    }
    benchmark::DoNotOptimize(block);
  }
}

void ReportServerShare(benchmark::State& state, platform::VirtualDrives& drives) {
  const auto log = drives.Call({{"op", "log"}})["log"];
  double handling = 0;
  for (const auto& entry : log) handling += entry["handling_ns"].get<double>();
  if (!log.empty()) state.counters["server_ns_per_cmd"] = handling / static_cast<double>(log.size());
}

void BM_VendorCommandInProcess(benchmark::State& state) {
  testing::InProcessVdrive vdrive;
  ReadBlocks(state);
  const auto log = vdrive.pc().log().entries();
  double handling = 0;
  for (const auto& entry : log) handling += static_cast<double>(entry.handling_ns);
  if (!log.empty()) state.counters["server_ns_per_cmd"] = handling / static_cast<double>(log.size());
}
BENCHMARK(BM_VendorCommandInProcess);

void BM_VendorCommandThroughServer(benchmark::State& state) {
  testing::ServerProcess server;
  if (!server.ready()) {
    state.SkipWithError("kelvane-vdrive did not start");
    return;
  }
  platform::SocketChannel channel(server.socket_path());
  platform::VirtualDrives drives(channel);
  platform::ScopedPortOverride<platform::DrivePort> use(platform::DriveSlot(), drives);
  ReadBlocks(state);
  ReportServerShare(state, drives);
}
BENCHMARK(BM_VendorCommandThroughServer)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
