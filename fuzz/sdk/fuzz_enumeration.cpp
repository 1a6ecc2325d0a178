// Kat_ListTokens, Kat_GetDeviceInfo, IdentifyDevice and the unit maps on a PC
// whose drives answer from the fuzzer's bytes: identification, INFO, RD and
// partition-status blocks, vendor pages and storage interfaces of any
// content and length. Nothing may crash or touch memory outside its buffers.
#include <array>
#include <cstdlib>

#include "fuzz/sdk/fuzzed_drives.h"
#include "sdk/access/device_identification.h"
#include "sdk/access/storage_units.h"
#include "sdk/kat_api.h"
#include "sdk/sdk_state.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kelvane;
  static fuzz::NoPauses runtime;
  static platform::ScopedPortOverride<platform::RuntimePort> use_runtime(platform::RuntimeSlot(),
                                                                         runtime);

  fuzz::FuzzInput input(data, size);
  fuzz::FuzzedDrives drives(input);
  platform::ScopedPortOverride<platform::DrivePort> use_drives(platform::DriveSlot(), drives);
  platform::ScopedPortOverride<platform::StorageInterfacePort> use_storage(
      platform::StorageInterfaceSlot(), drives);

  sdk::ResetStateForTesting();
  Kat_InitAPI(nullptr);
  std::array<KatTokenRecord, 8> tokens{};
  for (KatTokenRecord& token : tokens) token.size = sizeof(KatTokenRecord);
  std::uint32_t count = 1 + input.Byte() % tokens.size();
  const std::uint32_t pair[2] = {input.Word(), input.Word()};
  const std::uint32_t pairs = input.Byte() & 1;
  const std::int32_t listed = Kat_ListTokens(tokens.data(), &count, &pair[0], &pair[1], pairs);
  if (listed == 0 && count > tokens.size()) std::abort();

  for (int query = 0; query < 3; ++query) {
    const std::uint8_t selector =
        listed == 0 && query == 0 ? tokens[0].unit_bytes[0] : input.Byte();
    KatDeviceInfoRecord info{};
    info.size = sizeof(info);
    Kat_GetDeviceInfo(selector, &info);

    sdk::access::DeviceContext context;
    std::array<std::uint8_t, 528> block_info{};
    std::array<std::uint8_t, 528> identification{};
    std::uint8_t layout = 0;
    std::int32_t token_index = 0;
    std::uint8_t unit = 0;
    sdk::access::IdentifyDevice(selector, context, 1, block_info.data(), identification.data(), 1,
                                &layout, &token_index, &unit, nullptr);
  }

  sdk::access::UnitMap map;
  map.vendor_id = static_cast<std::uint16_t>(input.Word());
  map.product_id = static_cast<std::uint16_t>(input.Word());
  input.Fill(reinterpret_cast<std::uint8_t*>(map.serial), sizeof(map.serial) - 1);
  sdk::access::MapUnits(map);
  if (map.unit_count > 8) std::abort();
  sdk::access::CountUnits(map);
  if (map.unit_count > 8) std::abort();

  Kat_CloseAPI();
  return 0;
}
