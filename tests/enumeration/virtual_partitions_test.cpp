// The virtual drive's partition layout commands as a host sees them on the
// wire, beyond what the device-information query reads.
#include <gtest/gtest.h>

#include <array>

#include "sdk/access/vendor_reads.h"
#include "tests/enumeration/enumeration_fixture.h"

namespace kelvane::testing {
namespace {

using nlohmann::json;
namespace access = sdk::access;

class VirtualPartitionsTest : public EnumerationTest {
 protected:
  void SetUp() override {
    EnumerationTest::SetUp();
    ASSERT_EQ(context_.BindLetter('F'), 0);
  }
  access::DeviceContext context_;
};

TEST_F(VirtualPartitionsTest, TheDefaultLayoutFollowsTheUnits) {
  access::PartitionStatus status;
  ASSERT_EQ(access::ReadPartitionStatus(context_, status), 0);
  EXPECT_EQ(status.unit_count, 2);
  EXPECT_EQ(status.entries[0].type, 3);
  EXPECT_EQ(status.entries[1].type, 2);
  EXPECT_EQ(status.entries[1].unit, 1);
  EXPECT_EQ(status.entries[1].size, 0x10000u);
  EXPECT_EQ(status.entries[2].type, 0);
}

TEST_F(VirtualPartitionsTest, AreaInformationInBothForms) {
  LoadDrives({Drive({{"E", 5}, {"F", 2}}, {{"partitions",
                                            {{"areas",
                                              {{"1",
                                                {{"size", 9},
                                                 {"area_size", 8},
                                                 {"word2", 7},
                                                 {"word3", 6},
                                                 {"write_protected", true}}}}}}}})});
  access::AreaInformation area;
  ASSERT_EQ(access::ReadAreaInformation(context_, 1, area), 0);
  EXPECT_EQ(area.size, 9u);
  EXPECT_EQ(area.area_size, 8u);
  EXPECT_EQ(area.word2, 7u);
  EXPECT_EQ(area.word3, 6u);
  std::array<std::uint8_t, 32> long_form{};
  ASSERT_EQ(access::ReadAreaInformationLong(context_, 1, long_form.data()), 0);
  EXPECT_EQ(long_form[24], 1);
  ASSERT_EQ(access::ReadAreaInformationLong(context_, 0, long_form.data()), 0);
  EXPECT_EQ(long_form[24], 0) << "an area the profile does not name is all zero";
}

TEST_F(VirtualPartitionsTest, VendorPagesRepeatTheirNumber) {
  std::array<std::uint8_t, 64> page{};
  EXPECT_EQ(access::ReadVendorPage(context_, 0x0123, page.data(), 64), 0);
  EXPECT_EQ(page[0], 0x23);
  EXPECT_EQ(vdrive_
                .Log("ff0000230140000000"
                     "02a2")
                .size(),
            1u);
  EXPECT_EQ(access::ReadVendorPage(context_, 8, page.data(), 0), 1);
  EXPECT_EQ(access::ReadVendorPage(context_, 8, page.data(), 65537), 1);
  EXPECT_EQ(access::ReadVendorPage(context_, 8, nullptr, 64), 1);
  FailIo("ff000008", 1117);
  EXPECT_EQ(access::ReadVendorPage(context_, 8, page.data(), 64), 4) << "a failed read is status 4";
}

TEST_F(VirtualPartitionsTest, AnUnusableSectionIsReportedAndRefused) {
  LoadDrives({Drive({{"E", 5}, {"F", 2}}, {{"partitions", {{"units", "two"}}}})});
  access::PartitionStatus status;
  EXPECT_EQ(access::ReadPartitionStatus(context_, status), UDVErrorGetCapacity);
  const json state = vdrive_.Call({{"op", "drive_state"}, {"drive", 0}})["state"];
  EXPECT_NE(state["partitions"]["settings_error"].get<std::string>().find("partitions.units"),
            std::string::npos);
}

TEST_F(VirtualPartitionsTest, ABadStorageSectionIsABadRequest) {
  LoadDrives({Drive({{"E", 5}, {"F", 2}}, {{"storage", {{"interfaces", "yes"}}}})});
  const json answer = vdrive_.Call({{"op", "storage_interfaces"}});
  EXPECT_FALSE(answer["ok"].get<bool>());
  EXPECT_EQ(answer["error"], 87);
  EXPECT_TRUE(platform::StorageInterfaces().ListStorageInterfaces().empty());
}

}  // namespace
}  // namespace kelvane::testing
