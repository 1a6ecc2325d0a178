// Lookups in the device list by letter, by index and by drive selector, and
// the mode table.
#include "sdk/device_lookup.h"

#include <gtest/gtest.h>

#include "sdk/mode_table.h"
#include "tests/enumeration/enumeration_fixture.h"

namespace kelvane::testing {
namespace {

class DeviceLookupTest : public EnumerationTest {
 protected:
  void SetUp() override {
    EnumerationTest::SetUp();
    sdk::DeviceList& list = *sdk::State().current;
    list.records[0] = KatDeviceRecord{};
    list.records[0].unit_bytes[0] = 'E';
    list.records[0].unit_bytes[1] = 'F';
    list.records[0].unit_count = 1;  // F is past the count
    list.records[1].unit_bytes[0] = 'g';
    list.records[1].unit_count = 1;
    list.records[2].unit_bytes[0] = 'H';
    list.records[2].unit_count = 1;
    list.count = 2;  // H is past the count
  }
};

TEST_F(DeviceLookupTest, ByLetterWithinCountsAndInUpperCase) {
  sdk::DeviceList& list = *sdk::State().current;
  std::uint32_t index = 99;
  EXPECT_EQ(sdk::FindRecordByLetter(list, 'e', &index), &list.records[0]);
  EXPECT_EQ(index, 0u);
  EXPECT_EQ(sdk::FindRecordByLetter(list, 'G', &index), &list.records[1]);
  EXPECT_EQ(index, 1u);
  EXPECT_EQ(sdk::FindRecordByLetter(list, 'F'), nullptr) << "beyond the record's unit count";
  EXPECT_EQ(sdk::FindRecordByLetter(list, 'H'), nullptr) << "beyond the list's count";
}

TEST_F(DeviceLookupTest, ByIndexUpToTheCapacityWhateverTheCount) {
  sdk::DeviceList& list = *sdk::State().current;
  EXPECT_EQ(sdk::FindRecordByIndex(list, 2), &list.records[2]);
  EXPECT_EQ(sdk::FindRecordByIndex(list, 127), &list.records[127]);
  EXPECT_EQ(sdk::FindRecordByIndex(list, 128), nullptr);
  EXPECT_EQ(sdk::FindRecordByIndex(list, -1), nullptr);
}

TEST_F(DeviceLookupTest, BySelector) {
  sdk::DeviceList& list = *sdk::State().current;
  KatDeviceRecord* record = nullptr;
  sdk::DriveSelector decoded;
  EXPECT_EQ(sdk::FindRecordBySelector(0x11, record, &decoded), 0);
  EXPECT_EQ(record, &list.records[1]);
  EXPECT_EQ(decoded.token_index, 1);
  EXPECT_EQ(decoded.unit, 1);
  EXPECT_EQ(sdk::FindRecordBySelector('g', record), 0);
  EXPECT_EQ(record, &list.records[1]);
  EXPECT_EQ(sdk::FindRecordBySelector('Q', record), UDVErrorDevice);
  EXPECT_EQ(record, nullptr);
  EXPECT_EQ(sdk::FindRecordBySelector(0x00, record), UDVErrorDevice);
  EXPECT_EQ(sdk::FindRecordBySelector(0xF8, record), UDVErrorDevice);
}

TEST(ModeTable, ModesOfOneLayoutOnly) {
  EXPECT_TRUE(sdk::LookupMode(12, 0).has_value());
  EXPECT_FALSE(sdk::LookupMode(12, 1).has_value());
  EXPECT_FALSE(sdk::LookupMode(22, 0).has_value());
  EXPECT_TRUE(sdk::LookupMode(22, 0x0B).has_value()) << "any nonzero flag is the secure layout";
  EXPECT_FALSE(sdk::LookupMode(15, 1).has_value());
  EXPECT_FALSE(sdk::LookupMode(0, 0).has_value());
  EXPECT_FALSE(sdk::LookupMode(255 + 3, 0).has_value()) << "the whole mode value counts";
  const auto eight = sdk::LookupMode(8, 1);
  ASSERT_TRUE(eight.has_value());
  EXPECT_EQ(eight->units, 1u);
  EXPECT_EQ(eight->secure_role, 0);
  EXPECT_EQ(eight->public_role, 0);
  EXPECT_EQ(eight->cdrom_role, sdk::kNoUnit);
}

}  // namespace
}  // namespace kelvane::testing
