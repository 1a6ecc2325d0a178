// Random drives, blocks, pages, partition statuses and storage interfaces fed
// through the scan, Kat_ListTokens, IdentifyDevice, Kat_GetDeviceInfo and
// the unit maps: every call must end with one of its documented codes and
// never read or write outside its buffers (run under the sanitizer build to
// check the latter).
#include <gtest/gtest.h>

#include <array>
#include <set>

#include "sdk/access/device_identification.h"
#include "sdk/access/storage_units.h"
#include "sdk/kat_api.h"
#include "sdk/sdk_state.h"
#include "tests/enumeration/random_drives.h"
#include "tests/support/fake_runtime.h"
#include "tests/support/fake_system_info.h"

namespace kelvane::testing {
namespace {

namespace access = sdk::access;

constexpr std::uint32_t kRounds = 1500;

class EnumerationFuzzTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sdk::ResetStateForTesting();
    ASSERT_EQ(Kat_InitAPI(nullptr), 0);
  }
  void TearDown() override { sdk::ResetStateForTesting(); }

  FakeRuntime runtime_;
  FakeSystemInfo system_;
  RandomDrives drives_{1};
};

TEST_F(EnumerationFuzzTest, RandomDrivesGiveOnlyDocumentedCodes) {
  const std::set<std::int32_t> listing_codes = {0, UDVErrorcDriveLetterNotFound,
                                                UDVErrorInputParameter, UDVErrorGetDeviceInfo,
                                                UDVErrorDevice};
  const std::set<std::int32_t> info_codes = {0,
                                             UDVErrorcDriveLetterNotFound,
                                             UDVErrorGetDeviceInfo,
                                             UDVErrorGetCapacity,
                                             UDVErrorDevice,
                                             UDVErrorDeviceBeSeized};
  const std::set<std::int32_t> identify_codes = {0, UDVErrorcDriveLetterNotFound,
                                                 UDVErrorGetDeviceInfo, UDVErrorDevice};
  std::uint32_t listed = 0;
  std::uint32_t described = 0;
  for (std::uint32_t round = 0; round < kRounds; ++round) {
    SCOPED_TRACE(round);
    drives_.Reseed(round);
    std::array<KatTokenRecord, 8> tokens{};
    for (KatTokenRecord& token : tokens) token.size = sizeof(KatTokenRecord);
    std::uint32_t count = drives_.Chance(8) ? drives_.Below(3) : 8;
    std::vector<std::uint32_t> vendors(drives_.Chance(4) ? drives_.Below(3) : 0);
    std::vector<std::uint32_t> products(vendors.size());
    for (std::size_t i = 0; i < vendors.size(); ++i) {
      vendors[i] = drives_.Below(0x10000);
      products[i] = drives_.Below(0x10000);
    }
    const std::int32_t listing =
        Kat_ListTokens(tokens.data(), &count, vendors.data(), products.data(),
                       static_cast<std::uint32_t>(vendors.size()));
    ASSERT_TRUE(listing_codes.count(listing)) << listing;
    if (listing == 0) {
      ++listed;
      ASSERT_LE(count, tokens.size());
      for (std::uint32_t t = 0; t < count; ++t) ASSERT_LE(+tokens[t].count, 8u);
    }

    for (int query = 0; query < 6; ++query) {
      const std::uint8_t selector =
          query < 2 && listing == 0 ? tokens[0].unit_bytes[drives_.Below(2)] : drives_.Byte();
      KatDeviceInfoRecord info{};
      info.size = sizeof(info);
      const std::int32_t described_code = Kat_GetDeviceInfo(selector, &info);
      ASSERT_TRUE(info_codes.count(described_code)) << described_code;
      if (described_code == 0) ++described;

      access::DeviceContext context;
      std::array<std::uint8_t, 528> block_info{};
      std::array<std::uint8_t, 528> identification{};
      std::uint8_t layout = 0;
      std::int32_t token_index = 0;
      std::uint8_t unit = 0;
      const std::int32_t identified =
          access::IdentifyDevice(selector, context, 1, block_info.data(), identification.data(), 1,
                                 &layout, &token_index, &unit, nullptr);
      ASSERT_TRUE(identify_codes.count(identified)) << identified;
    }

    access::UnitMap map;
    map.vendor_id = static_cast<std::uint16_t>(drives_.Below(0x10000));
    map.product_id = static_cast<std::uint16_t>(drives_.Below(0x10000));
    for (std::size_t i = 0; i + 1 < sizeof(map.serial); ++i)
      map.serial[i] = static_cast<char>('A' + drives_.Below(3));
    access::MapUnits(map);
    ASSERT_LE(map.unit_count, 8u);
    access::CountUnits(map);
    ASSERT_LE(map.unit_count, 8u);
  }
  // The generator must reach the interesting paths, not only the failures.
  EXPECT_GT(listed, kRounds / 20);
  EXPECT_GT(described, kRounds / 20);
}

}  // namespace
}  // namespace kelvane::testing
