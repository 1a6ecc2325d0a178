// The front end's build of the SDK: device lists of 32 records and a single
// listing pass without pauses.
#include <gtest/gtest.h>

#include "sdk/device_lookup.h"
#include "sdk/sdk_build_config.h"
#include "tests/enumeration/enumeration_fixture.h"

namespace kelvane::testing {
namespace {

TEST_F(EnumerationTest, TheFrontEndBuildHasThirtyTwoRecordsPerList) {
  static_assert(sdk::kDeviceListCapacity == 32);
  EXPECT_EQ(sdk::State().list_a.capacity, 32u);
  EXPECT_EQ(sdk::State().list_b.capacity, 32u);
  EXPECT_EQ(sizeof(sdk::State().list_a.records), 32 * sizeof(KatDeviceRecord));
  std::uint32_t version = 0;
  ASSERT_EQ(Kat_CloseAPI(), 0);
  ASSERT_EQ(Kat_InitAPI(&version), 0);
  EXPECT_EQ(version, 0x20171018u);
}

TEST_F(EnumerationTest, TheFrontEndBuildListsInOnePass) {
  const Listing listing = List();
  ASSERT_EQ(listing.code, 0);
  EXPECT_EQ(listing.count, 1u);
  EXPECT_EQ(listing.tokens[0].cdrom_role, 'E');
  EXPECT_EQ(listing.tokens[0].secure_role, 'F');
  EXPECT_EQ(sdk::State().current, &sdk::State().list_b);
}

TEST_F(EnumerationTest, TheFrontEndBuildFailsAfterOnePassWithoutPausing) {
  LoadDrives({Drive({{"E", 5}, {"F", 2}}, {{"signature", "none"}})});
  EXPECT_EQ(List().code, UDVErrorcDriveLetterNotFound);
  EXPECT_TRUE(runtime_.pauses.empty());
  EXPECT_EQ(vdrive_.Log("12").size(), 2u) << "one INQUIRY per letter: one pass";

  LoadDrives({Drive({{"E", 5}, {"F", 2}})});
  FailIo("060552440000", 1117, 1);
  EXPECT_EQ(List().code, UDVErrorGetDeviceInfo) << "no second pass to recover";
  EXPECT_TRUE(runtime_.pauses.empty());
  EXPECT_EQ(sdk::State().current->count, 1u);
}

TEST_F(EnumerationTest, TheFrontEndBuildQueriesTheDevice) {
  ASSERT_EQ(List().code, 0);
  KatDeviceInfoRecord info{};
  info.size = sizeof(info);
  ASSERT_EQ(Kat_GetDeviceInfo('F', &info), 0);
  EXPECT_EQ(std::string(info.version_text), "01.02.08");
  EXPECT_NE(sdk::FindRecordByIndex(*sdk::State().current, 31), nullptr);
  EXPECT_EQ(sdk::FindRecordByIndex(*sdk::State().current, 32), nullptr)
      << "index 32 is past the list";
}

}  // namespace
}  // namespace kelvane::testing
