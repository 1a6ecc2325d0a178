// Kat_GetDeviceInfo: the record field by field, the device strings, the
// product-ID replacement, the secure-layout fields and every failure.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/enumeration/enumeration_fixture.h"

namespace kelvane::testing {
namespace {

using nlohmann::json;

constexpr std::uint32_t kMarker = 0xA5A5A5A5u;

KatDeviceInfoRecord EmptyRecord() {
  KatDeviceInfoRecord info;
  std::memset(&info, 0, sizeof(info));
  info.size = sizeof(KatDeviceInfoRecord);
  return info;
}

// The size and attribute fields that only the secure layout fills, marked.
// (The record is packed: its fields are read and written by value only.)
KatDeviceInfoRecord MarkedRecord() {
  KatDeviceInfoRecord info = EmptyRecord();
  info.public_role_size = info.cdrom_role_size = info.secure_role_size = kMarker;
  info.hidden_area_size = info.page8_word = info.secure_role_area_present = kMarker;
  info.secure_role_area_word2 = info.page12_value = info.secure_role_area_word3 = kMarker;
  info.cdrom_locked = info.hidden_area_present = info.hidden_area_word2 = kMarker;
  info.page12_value_again = info.hidden_area_word3 = kMarker;
  return info;
}

std::string Text(const char* field, std::size_t width) {
  return std::string(field, strnlen(field, width));
}

// A drive in the secure layout, mode 31: CD-ROM E (locked), secure F,
// public G, a secure area on unit 1 and a hidden area.
json SecureDrive() {
  return Drive(
      {{"E", 5}, {"F", 2}, {"G", 2}},
      {{"mode", 31},
       {"layout", "0x0B"},
       {"partitions",
        {{"units",
          {{{"type", 3}, {"flags", 8}, {"size", "0x8000"}},
           {{"type", 2}, {"flags", 1}, {"size", "0x20000"}},
           {{"type", 2}, {"size", "0x40000"}}}},
         {"areas",
          {{"1", {{"size", "0x20000"}, {"area_size", "0x1000"}, {"word2", 5}, {"word3", 7}}},
           {"255", {{"size", "0x800"}, {"area_size", "0x800"}, {"word2", 9}, {"word3", 11}}}}},
         {"hidden_size", "0x800"},
         {"page8_word", "0x1234"},
         {"page12_value", "0xCAFEBABE"}}}});
}

class DeviceInfoTest : public EnumerationTest {
 protected:
  // Loads the drives, lists them and clears the log.
  void Listed(const std::vector<json>& drives) {
    LoadDrives(drives);
    ASSERT_EQ(List().code, 0);
    vdrive_.pc().log().Clear();
  }

  std::int32_t Query(std::uint32_t selector) {
    info_ = EmptyRecord();
    return Kat_GetDeviceInfo(selector, &info_);
  }

  KatDeviceInfoRecord info_ = EmptyRecord();
};

TEST_F(DeviceInfoTest, APlainDriveGivesItsIdentityAndLeavesTheSizesAlone) {
  Listed({Drive({{"E", 5}, {"F", 2}})});
  KatDeviceInfoRecord info = MarkedRecord();
  ASSERT_EQ(Kat_GetDeviceInfo('F', &info), 0);
  EXPECT_EQ(std::string(info.vendor_id_text, 5), std::string("0693\0", 5));
  EXPECT_EQ(std::string(info.product_id_text, 5), std::string("0203\0", 5));
  EXPECT_EQ(Text(info.serial_text, 129), "KV0123456789");
  EXPECT_EQ(Text(info.descriptor_string1, 25), "Kelvane");
  EXPECT_EQ(Text(info.descriptor_string2, 25), "Secure Drive");
  EXPECT_EQ(Text(info.vendor_text, 9), "KELVANE ");
  EXPECT_EQ(Text(info.product_text, 17), "SECURE DRIVE    ");
  EXPECT_EQ(Text(info.revision_text, 5), "1.00");
  EXPECT_EQ(std::string(info.version_text, 9), std::string("01.02.08\0", 9));
  EXPECT_EQ(+info.controller_mode, 21u);
  EXPECT_EQ(+info.chip_code, 0x7152u);
  EXPECT_EQ(+info.firmware_code, 0xFF03);
  for (std::uint32_t field :
       {info.public_role_size, info.cdrom_role_size, info.secure_role_size, info.hidden_area_size,
        info.page8_word, info.secure_role_area_present, info.secure_role_area_word2,
        info.page12_value, info.secure_role_area_word3, info.cdrom_locked, info.hidden_area_present,
        info.hidden_area_word2, info.page12_value_again, info.hidden_area_word3}) {
    EXPECT_EQ(field, kMarker);
  }
  EXPECT_EQ(LettersOf(""), "FF") << "INFO and identification, through the selector's letter";
  EXPECT_TRUE(vdrive_.Log("ff").empty()) << "no partition command for a plain drive";
}

TEST_F(DeviceInfoTest, UsbIdentityTextsAreHighByteFirst) {
  Listed({Drive({{"E", 5}, {"F", 2}}, {{"patches", {{"identification", {{"8", "fe13271e"}}}}}})});
  ASSERT_EQ(Query('E'), 0);
  EXPECT_EQ(std::string(info_.vendor_id_text, 5), std::string("13FE\0", 5));
  EXPECT_EQ(std::string(info_.product_id_text, 5), std::string("1E27\0", 5));
}

TEST_F(DeviceInfoTest, SelectorsNameTheDriveByLetterOrIndexCode) {
  Listed({Drive({{"E", 5}, {"F", 2}}, {{"serial", "KV1"}}),
          Drive({{"G", 5}, {"H", 2}}, {{"serial", "KV2"}})});
  ASSERT_EQ(Query('h'), 0);
  EXPECT_EQ(Text(info_.serial_text, 129), "KV2");
  ASSERT_EQ(Query(0x10), 0) << "unit 0 of token 1";
  EXPECT_EQ(Text(info_.serial_text, 129), "KV2");
  EXPECT_EQ(LettersOf("060549").back(), 'H') << "an index code keeps the record's letter";
  ASSERT_EQ(Query(0x1200 | 'E'), 0) << "only the low byte names the drive";
  EXPECT_EQ(Text(info_.serial_text, 129), "KV1");
}

struct ProductCase {
  const char* name;
  const char* firmware_code;
  const char* info_300;
  const char* expected;
};

class ProductIdTest : public DeviceInfoTest, public ::testing::WithParamInterface<ProductCase> {};

TEST_P(ProductIdTest, SomeFirmwareCodesTakeTheProductIdFromTheInfoBlock) {
  const ProductCase& c = GetParam();
  // Firmware codes outside the support list still list and query.
  Listed({Drive({{"E", 5}, {"F", 2}},
                {{"firmware_code", c.firmware_code},
                 {"patches", {{"info", {{"204", "78563412"}, {"300", c.info_300}}}}}})});
  ASSERT_EQ(Query('F'), 0);
  EXPECT_EQ(std::string(info_.product_id_text, 5), std::string(c.expected, 4) + '\0');
}

INSTANTIATE_TEST_SUITE_P(Codes, ProductIdTest,
                         ::testing::Values(ProductCase{"ff0c88", "0xFF0C", "88", "1234"},
                                           ProductCase{"ff0e00", "0xFF0E", "00", "5678"},
                                           ProductCase{"ff0cff", "0xFF0C", "ff", "5678"},
                                           ProductCase{"ff0e01", "0xFF0E", "01", "0203"},
                                           ProductCase{"ff0388", "0xFF03", "88", "0203"}),
                         CaseName());

TEST_F(DeviceInfoTest, DescriptorStringsFollowTheirLengthBytes) {
  Listed({Drive(
      {{"E", 5}, {"F", 2}},
      {{"patches",
        {{"identification",
          {{"44", "01"}, {"70", "ff034142434445464748494a4b4c4d4e4f505152535455565758595a"}}}}}})});
  ASSERT_EQ(Query('F'), 0);
  EXPECT_EQ(Text(info_.descriptor_string1, 25), "") << "a length byte below 2 gives none";
  EXPECT_EQ(Text(info_.descriptor_string2, 25), "ABCDEFGHIJKLMNOPQRSTUVWX") << "at most 24 bytes";
  EXPECT_EQ(info_.descriptor_string2[24], '\0');
}

TEST_F(DeviceInfoTest, ASecureLayoutDriveFillsEveryField) {
  Listed({SecureDrive()});
  ASSERT_EQ(Query('G'), 0);
  EXPECT_EQ(+info_.public_role_size, 0x40000u);
  EXPECT_EQ(+info_.cdrom_role_size, 0x8000u);
  EXPECT_EQ(+info_.secure_role_size, 0x20000u);
  EXPECT_EQ(+info_.hidden_area_size, 0x800u);
  EXPECT_EQ(+info_.page8_word, 0x1234u);
  EXPECT_EQ(+info_.controller_mode, 31u);
  EXPECT_EQ(+info_.chip_code, 0x7152u);
  EXPECT_EQ(+info_.secure_role_area_present, 1u);
  EXPECT_EQ(+info_.secure_role_area_word2, 5u);
  EXPECT_EQ(+info_.page12_value, 0xCAFEBABEu);
  EXPECT_EQ(+info_.secure_role_area_word3, 7u);
  EXPECT_EQ(+info_.cdrom_locked, 1u);
  EXPECT_EQ(+info_.hidden_area_present, 1u);
  EXPECT_EQ(+info_.hidden_area_word2, 9u);
  EXPECT_EQ(+info_.page12_value_again, 0xCAFEBABEu);
  EXPECT_EQ(+info_.hidden_area_word3, 11u);
  EXPECT_EQ(+info_.firmware_code, 0xFF03);
  EXPECT_EQ(Text(info_.serial_text, 129), "KV0123456789");

  // Area information of the secure role's unit, then of the hidden area.
  const auto areas = vdrive_.Log("ffa000");
  ASSERT_EQ(areas.size(), 2u);
  EXPECT_EQ(areas[0].cdb[3], 1);
  EXPECT_EQ(areas[1].cdb[3], 0xFF);
  EXPECT_EQ(areas[0].length, 16u);
  EXPECT_EQ(vdrive_.Log("ff000008002000000000a200").size(), 1u) << "the page-8 head";
  EXPECT_EQ(vdrive_
                .Log("ff0000080000020000"
                     "02a2")
                .size(),
            1u)
      << "page 8, 512 bytes";
  EXPECT_EQ(vdrive_.Log("ff00000c00").size(), 2u) << "page 12 for each present area";
}

TEST_F(DeviceInfoTest, ModeEightSplitsOneUnitBetweenTwoRoles) {
  Listed({Drive({{"F", 2}}, {{"mode", 8},
                             {"layout", "0x0B"},
                             {"partitions",
                              {{"units", {{{"type", 2}, {"size", 1000}}}},
                               {"areas", {{"0", {{"size", 1000}, {"area_size", 200}}}}}}}})});
  KatDeviceInfoRecord info = MarkedRecord();
  ASSERT_EQ(Kat_GetDeviceInfo('F', &info), 0);
  EXPECT_EQ(+info.secure_role_size, 200u);
  EXPECT_EQ(+info.public_role_size, 800u);
  EXPECT_EQ(+info.cdrom_role_size, 0u);
  EXPECT_EQ(+info.cdrom_locked, 0u);
  EXPECT_EQ(+info.secure_role_area_present, 1u);
  EXPECT_EQ(+info.hidden_area_size, 0u);
  EXPECT_EQ(+info.hidden_area_present, 0u);
  EXPECT_EQ(+info.hidden_area_word2, 0u);
  EXPECT_EQ(+info.page12_value_again, 0u);
  EXPECT_EQ(+info.hidden_area_word3, 0u);
  EXPECT_TRUE(vdrive_.Log("ffa000ff").empty()) << "no hidden area to ask about";
}

TEST_F(DeviceInfoTest, ControllerSevenZeroFourNineIsASecureLayoutToo) {
  // Listed by the plain layout of mode 21 (the scan reads byte 397 only);
  // the query's layout test also knows the controller, so the roles swap.
  const json units = json::array({{{"type", 2}, {"size", 300}}, {{"type", 3}, {"size", 100}}});
  Listed(
      {Drive({{"E", 2}, {"F", 5}}, {{"chip_code", "0x7049"}, {"partitions", {{"units", units}}}})});
  ASSERT_EQ(Query('E'), 0);
  EXPECT_EQ(+info_.chip_code, 0x7049u);
  EXPECT_EQ(+info_.secure_role_size, 300u);
  EXPECT_EQ(+info_.cdrom_role_size, 100u);
  EXPECT_EQ(+info_.public_role_size, 0u);
  EXPECT_EQ(+info_.secure_role_area_present, 0u) << "area size 0";
  EXPECT_EQ(+info_.page12_value, 0u);
  EXPECT_TRUE(vdrive_.Log("ff00000c").empty()) << "no page 12 without an area";
}

TEST_F(DeviceInfoTest, UnreadablePage12AndHeadCountAsZero) {
  Listed({SecureDrive()});
  FailIo("ff00000c", 1117, 2);
  FailIo("ff0000080020", 1117, 1);
  ASSERT_EQ(Query('F'), 0);
  EXPECT_EQ(+info_.secure_role_area_present, 1u);
  EXPECT_EQ(+info_.page12_value, 0u);
  EXPECT_EQ(+info_.hidden_area_size, 0u);
  EXPECT_EQ(+info_.hidden_area_present, 0u);
  EXPECT_EQ(+info_.page8_word, 0x1234u);
}

TEST_F(DeviceInfoTest, ArgumentsAndInitialisation) {
  Listed({Drive({{"E", 5}, {"F", 2}})});
  KatDeviceInfoRecord info = EmptyRecord();
  EXPECT_EQ(Kat_GetDeviceInfo('F', nullptr), UDVErrorInputParameter);
  info.size = 298;
  EXPECT_EQ(Kat_GetDeviceInfo('F', &info), UDVErrorInputParameter);
  EXPECT_EQ(Kat_GetDeviceInfo('Q', &info), UDVErrorInputParameter) << "arguments before the lookup";
  info.size = 299;
  EXPECT_EQ(Kat_GetDeviceInfo('Q', &info), UDVErrorDevice);
  EXPECT_EQ(Kat_GetDeviceInfo(0x28, &info), UDVErrorGetDeviceInfo) << "an empty slot of the list";
  EXPECT_EQ(Kat_GetDeviceInfo(0x80, &info), UDVErrorDevice);
  ASSERT_EQ(Kat_CloseAPI(), 0);
  EXPECT_EQ(Kat_GetDeviceInfo('F', nullptr), UDVErrorNoInitSDK);
}

TEST_F(DeviceInfoTest, AnAttachedDriveThatWasNotListedIsUnknown) {
  LoadDrives({Drive({{"E", 5}, {"F", 2}}),
              Drive({{"G", 5}, {"H", 2}}, {{"serial", "KV2"}, {"vendor_id", "0x13FE"}})});
  ASSERT_EQ(List(8, {0x0693}, {0x0203}).count, 1u);
  EXPECT_EQ(Query('G'), UDVErrorDevice);
  EXPECT_EQ(Query('F'), 0);
}

TEST_F(DeviceInfoTest, HidModeNeedsTheRecordsPath) {
  Listed({Drive({{"E", 5}, {"F", 2}})});
  ASSERT_EQ(Kat_ForceHIDmode(1), 0);
  EXPECT_EQ(Query('F'), UDVErrorcDriveLetterNotFound);
  EXPECT_TRUE(vdrive_.Log().empty());
}

struct QueryFailureCase {
  const char* name;
  json drive;         // the drive the query meets (listed as the default drive)
  const char* fault;  // io errors on these commands (1117)
  std::int32_t code;
};

class QueryFailureTest : public DeviceInfoTest,
                         public ::testing::WithParamInterface<QueryFailureCase> {};

TEST_P(QueryFailureTest, FailsWithItsCode) {
  const QueryFailureCase& c = GetParam();
  Listed({Drive({{"E", 5}, {"F", 2}, {"G", 2}}, {{"mode", 31}})});
  // The PC changes under the listed record: same letters, another drive.
  LoadDrives({c.drive});
  if (c.fault[0] != '\0') FailIo(c.fault);
  EXPECT_EQ(Query('F'), c.code);
  EXPECT_TRUE(runtime_.pauses.empty());
}

json WithPartitions(const json& partitions, const json& fields = json::object()) {
  json drive = SecureDrive();
  for (const auto& [key, value] : partitions.items()) drive["partitions"][key] = value;
  for (const auto& [key, value] : fields.items()) drive[key] = value;
  return drive;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, QueryFailureTest,
    ::testing::Values(
        QueryFailureCase{"infoUnreadable", SecureDrive(), "060549", UDVErrorGetDeviceInfo},
        QueryFailureCase{"identificationUnreadable", SecureDrive(), "060500000000",
                         UDVErrorGetDeviceInfo},
        QueryFailureCase{"modeNotInTable", WithPartitions({}, {{"mode", 12}}), "", UDVErrorDevice},
        QueryFailureCase{"unitCountMismatch", WithPartitions({{"unit_count", 2}}), "",
                         UDVErrorDevice},
        QueryFailureCase{"cdromNotTypeThree",
                         WithPartitions({{"units", {{{"type", 2}}, {{"type", 2}}, {{"type", 2}}}}}),
                         "", UDVErrorDevice},
        QueryFailureCase{"secureNotTypeTwo",
                         WithPartitions({{"units", {{{"type", 3}}, {{"type", 3}}, {{"type", 2}}}}}),
                         "", UDVErrorDevice},
        QueryFailureCase{"publicNotTypeTwo",
                         WithPartitions({{"units", {{{"type", 3}}, {{"type", 2}}, {{"type", 1}}}}}),
                         "", UDVErrorDevice},
        QueryFailureCase{"partitionStatusUnreadable", SecureDrive(), "ff2100", UDVErrorGetCapacity},
        QueryFailureCase{"page8Unreadable", SecureDrive(), "ff0000080000", UDVErrorGetCapacity},
        QueryFailureCase{"page8Mismatch", WithPartitions({{"pages", {{"8", "09"}}}}), "",
                         UDVErrorGetCapacity}),
    CaseName());

struct BusyCase {
  const char* name;
  std::uint32_t busy_reads;  // partition-status reads answered 31
  std::uint32_t then_error;  // 0: the next read succeeds
  std::int32_t code;
  std::size_t retries;
};

class BusyTest : public DeviceInfoTest, public ::testing::WithParamInterface<BusyCase> {};

TEST_P(BusyTest, ABusyPartitionStatusIsRetriedTenTimes) {
  const BusyCase& c = GetParam();
  Listed({SecureDrive()});
  FailIo("ff2100", 31, c.busy_reads);
  if (c.then_error != 0) {
    ASSERT_TRUE(vdrive_
                    .Call({{"op", "inject_fault"},
                           {"kind", "io_error"},
                           {"prefix", "ff2100"},
                           {"error", c.then_error},
                           {"nth", c.busy_reads + 1}})["ok"]
                    .get<bool>());
  }
  EXPECT_EQ(Query('F'), c.code);
  EXPECT_EQ(runtime_.pauses, std::vector<std::uint32_t>(c.retries, 100));
  EXPECT_EQ(vdrive_.Log("ff2100").size(), 1 + c.retries);
  const auto units_ready = vdrive_.Log("000000000000000000000000");
  ASSERT_EQ(units_ready.size(), c.retries) << "a TEST UNIT READY before each retry";
  // Each TEST UNIT READY comes right before its retry.
  const auto log = vdrive_.Log();
  for (std::size_t i = 0; i + 1 < log.size(); ++i) {
    if (log[i].cdb[0] == 0x00) {
      EXPECT_EQ(log[i + 1].cdb[0], 0xFF);
    }
  }
  if (c.code == 0) {
    EXPECT_EQ(+info_.cdrom_role_size, 0x8000u);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Reads, BusyTest,
    ::testing::Values(BusyCase{"once", 1, 0, 0, 1}, BusyCase{"tenthRetrySucceeds", 10, 0, 0, 10},
                      BusyCase{"elevenBusyReads", 11, 0, UDVErrorDeviceBeSeized, 10},
                      BusyCase{"otherFailureOnARetry", 2, 1117, UDVErrorGetCapacity, 2}),
    CaseName());

}  // namespace
}  // namespace kelvane::testing
