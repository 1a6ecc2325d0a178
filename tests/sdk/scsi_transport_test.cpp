// The device context, command channel and SCSI transport against the
// in-process virtual drive.
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "sdk/access/command_channel.h"
#include "sdk/access/info_blocks.h"
#include "sdk/access/standard_commands.h"
#include "tests/support/fake_runtime.h"
#include "tests/support/virtual_drive_fixture.h"

namespace kelvane::sdk::access {
namespace {

using nlohmann::json;

class ScsiTransportTest : public ::testing::Test {
 protected:
  std::int32_t Send(const DeviceContext& context, std::array<std::uint8_t, 12> cdb, std::uint8_t dir,
                    std::uint8_t* buffer, std::uint32_t length) {
    CommandChannel channel;
    const int bound = BindChannel(&context, &channel, allowed_kinds::kAll);
    if (bound != 0) return 1000 + bound;
    return SendCommand(channel, cdb.data(), dir, buffer, length, 10);
  }

  testing::FakeRuntime runtime_;
  testing::InProcessVdrive vdrive_;
};

constexpr std::array<std::uint8_t, 12> kIdentify{0x06, 0x05};
constexpr std::array<std::uint8_t, 12> kUnknown{0xC7, 0x01};

TEST_F(ScsiTransportTest, StatusPerAddressKind) {
  std::uint8_t buffer[528];
  DeviceContext none;
  EXPECT_EQ(Send(none, kIdentify, direction::kIn, buffer, 528), 1001) << "no address cannot be bound";
  CommandChannel unbound;
  EXPECT_EQ(SendCommand(unbound, kIdentify.data(), direction::kIn, buffer, 528, 10), 255);

  DeviceContext reserved;
  reserved.BindReserved(7);
  EXPECT_EQ(Send(reserved, kIdentify, direction::kIn, buffer, 528), 1);

  DeviceContext letter;
  ASSERT_EQ(letter.BindLetter('e'), 0);
  EXPECT_EQ(Send(letter, kIdentify, direction::kIn, buffer, 528), 0) << "either case names the drive";
  EXPECT_EQ(Send(letter, kUnknown, direction::kNone, nullptr, 0), -2) << "CHECK CONDITION is -2";

  DeviceContext missing;
  ASSERT_EQ(missing.BindLetter('Q'), 0);
  EXPECT_EQ(Send(missing, kIdentify, direction::kIn, buffer, 528), 2);
  EXPECT_EQ(Send(missing, kIdentify, 0x81, buffer, 528), 2) << "opening comes first";

  DeviceContext handle;
  handle.BindHandle(kInvalidHandle);
  EXPECT_EQ(Send(handle, kIdentify, direction::kIn, buffer, 528), 2);

  DeviceContext hid;
  const char path[] = "\\\\?\\hid#vid_0693&pid_0203#1";
  ASSERT_EQ(hid.BindHidPath(path, sizeof(path), 1), 0);
  EXPECT_EQ(Send(hid, kIdentify, direction::kIn, buffer, 528), 50) << "no HID transport yet";
  CommandChannel channel;
  EXPECT_EQ(BindChannel(&hid, &channel, allowed_kinds::kNoHid), 1);
  EXPECT_EQ(BindChannel(&hid, nullptr, allowed_kinds::kAll), 2);

  EXPECT_EQ(letter.BindLetter('3'), 1);
  EXPECT_EQ(hid.BindHidPath(nullptr, 10, 1), 1);
  EXPECT_EQ(hid.BindHidPath(path, 0, 1), 1);
}

TEST_F(ScsiTransportTest, ArgumentAndDirectionStatuses) {
  DeviceContext letter;
  ASSERT_EQ(letter.BindLetter('F'), 0);
  CommandChannel channel;
  ASSERT_EQ(BindChannel(&letter, &channel, allowed_kinds::kAll), 0);
  std::uint8_t buffer[16];
  EXPECT_EQ(SendCommand(channel, nullptr, direction::kIn, buffer, 16, 10), 1);
  EXPECT_EQ(SendCommand(channel, kIdentify.data(), direction::kIn, nullptr, 16, 10), 1);
  vdrive_.pc().log().Clear();
  EXPECT_EQ(SendCommand(channel, kIdentify.data(), 0x81, buffer, 16, 10), 4);
  EXPECT_EQ(SendCommand(channel, kIdentify.data(), 3, buffer, 16, 10), 4);
  EXPECT_TRUE(vdrive_.Log().empty()) << "a bad direction sends nothing";
}

TEST_F(ScsiTransportTest, FailedRequestGivesItsWindowsError) {
  vdrive_.Call({{"op", "inject_fault"}, {"kind", "io_error"}, {"error", 1167}, {"prefix", "0605"}});
  DeviceContext letter;
  letter.BindLetter('E');
  std::uint8_t block[528];
  std::memset(block, 0xAB, sizeof(block));
  EXPECT_EQ(ReadInfoBlock(letter, nullptr, block), 1167);
  EXPECT_EQ(block[0], 0xAB) << "a failed read leaves the buffer as it was";
  EXPECT_EQ(ReadInfoBlock(letter, nullptr, block), 0) << "only the first matching command fails";
}

TEST_F(ScsiTransportTest, ShortInquiryZeroesTheRest) {
  json drive = testing::DefaultDriveJson();
  drive["inquiry_length"] = 36;
  vdrive_.Load(testing::ProfileJson({drive}));
  DeviceContext letter;
  letter.BindLetter('E');
  std::uint8_t data[44];
  std::memset(data, 0xEE, sizeof(data));
  ASSERT_EQ(Inquiry(letter, data), 0);
  EXPECT_EQ(std::memcmp(data + 8, "KELVANE ", 8), 0);
  for (int i = 36; i < 44; ++i) EXPECT_EQ(data[i], 0) << i;

  DeviceContext hid;
  hid.BindHidPath("x", 1, 1);
  EXPECT_EQ(Inquiry(hid, data), 1) << "INQUIRY is never sent over HID";
}

TEST_F(ScsiTransportTest, TestUnitReadyCopiesTheSense) {
  vdrive_.Call({{"op", "inject_fault"}, {"kind", "check_condition"}, {"prefix", "00"},
                {"sense", "700002000000000a000000003a0000000000"}});
  DeviceContext letter;
  letter.BindLetter('F');
  std::uint8_t sense[32];
  std::memset(sense, 0xCC, sizeof(sense));
  EXPECT_EQ(TestUnitReady(letter, sense), -2);
  EXPECT_EQ(sense[0], 0x70);
  EXPECT_EQ(sense[2], 0x02) << "NOT READY";
  EXPECT_EQ(sense[12], 0x3A) << "MEDIUM NOT PRESENT";
  EXPECT_EQ(sense[18], 0xCC) << "18 bytes are copied";

  std::memset(sense, 0xCC, sizeof(sense));
  EXPECT_EQ(TestUnitReady(letter, sense), 0);
  EXPECT_EQ(sense[0], 0) << "a good TEST UNIT READY copies empty sense";
}

TEST_F(ScsiTransportTest, WaitUntilReadyRetriesAndFallsBackToRequestSense) {
  DeviceContext letter;
  letter.BindLetter('F');
  vdrive_.Call({{"op", "inject_fault"}, {"kind", "check_condition"}, {"prefix", "00"}, {"repeat", 2},
                {"sense", "700006000000000a0000000028000000"}});
  std::uint8_t sense[18] = {};
  EXPECT_EQ(WaitUntilReady(letter, true, sense, sizeof(sense), 5, 200), 0);
  EXPECT_EQ(runtime_.pauses, (std::vector<std::uint32_t>{200, 200}));
  EXPECT_EQ(vdrive_.Log("03").size(), 0u) << "ready: no REQUEST SENSE";

  runtime_.pauses.clear();
  vdrive_.Call({{"op", "inject_fault"}, {"kind", "check_condition"}, {"prefix", "00"}, {"repeat", 10},
                {"sense", "700006000000000a0000000028000000"}});
  EXPECT_EQ(WaitUntilReady(letter, true, sense, sizeof(sense), 2, 100), 0);
  EXPECT_EQ(runtime_.pauses.size(), 3u) << "retries + 1 attempts, a pause after each failure";
  EXPECT_EQ(vdrive_.Log("03").size(), 1u);
  EXPECT_EQ(sense[2], 0x06) << "the drive's last sense through REQUEST SENSE";

  EXPECT_EQ(WaitUntilReady(letter, true, nullptr, 18, 2, 100), 1);
  DeviceContext hid;
  hid.BindHidPath("x", 1, 1);
  EXPECT_EQ(WaitUntilReady(hid, false, nullptr, 0, 2, 100), 2);
}

TEST_F(ScsiTransportTest, WaitUntilReadyStopsAtTheWantedSenseKey) {
  DeviceContext letter;
  letter.BindLetter('F');
  vdrive_.Call({{"op", "inject_fault"}, {"kind", "check_condition"}, {"prefix", "00"}, {"repeat", 10},
                {"sense", "700006000000000a0000000028000000"}});
  std::uint8_t sense[18] = {};
  EXPECT_EQ(WaitUntilReadyOrSenseKey(letter, false, sense, sizeof(sense), 5, 100, 0x06), 0);
  EXPECT_TRUE(runtime_.pauses.empty());
}

TEST_F(ScsiTransportTest, InfoBlocksByTag) {
  DeviceContext letter;
  letter.BindLetter('F');
  std::uint8_t block[528] = {};
  ASSERT_EQ(ReadInfoBlock(letter, nullptr, block), 0);
  EXPECT_EQ(block[8] | block[9] << 8, 0x0693);
  EXPECT_EQ(block[154] << 8 | block[155], 0xFF03);
  EXPECT_EQ(block[385], 1) << "F: is unit 1 of the drive";
  EXPECT_EQ(std::memcmp(block + 378, "VR", 2), 0);
  EXPECT_EQ(block[382], 0x71);
  EXPECT_EQ(block[383], 0x52);
  ASSERT_EQ(ReadInfoBlock(letter, kTagInfo, block), 0);
  EXPECT_EQ(block[172], 21);
  ASSERT_EQ(ReadInfoBlock(letter, kTagRd, block), 0);
  EXPECT_EQ(block[511], 0x16);

  const auto reads = vdrive_.Log("0605");
  ASSERT_EQ(reads.size(), 3u);
  EXPECT_EQ(reads[0].cdb, (std::vector<std::uint8_t>{6, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(reads[1].cdb, (std::vector<std::uint8_t>{6, 5, 'I', 'N', 'F', 'O', 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(reads[2].cdb, (std::vector<std::uint8_t>{6, 5, 'R', 'D', 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(reads[0].length, 528u);
  EXPECT_EQ(ReadInfoBlock(letter, nullptr, nullptr), 1);
}

TEST_F(ScsiTransportTest, HidStatusHandsOutSixtyFiveBytes) {
  DeviceContext letter;
  letter.BindLetter('E');
  std::uint8_t status[80];
  std::memset(status, 0x77, sizeof(status));
  ASSERT_EQ(ReadHidStatus(letter, status), 0);
  EXPECT_EQ(status[0], 2) << "two units";
  EXPECT_EQ(status[1], 3) << "unit 0 is the CD-ROM";
  EXPECT_EQ(status[65], 0x77);
  const auto reads = vdrive_.Log("ff21");
  ASSERT_EQ(reads.size(), 1u);
  EXPECT_EQ(reads[0].length, 512u);
  EXPECT_EQ(reads[0].cdb, (std::vector<std::uint8_t>{0xFF, 0x21, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(ReadHidStatus(letter, nullptr), 1);
}

TEST_F(ScsiTransportTest, BindRecordTakesTheLastLetter) {
  KatDeviceRecord record{};
  record.unit_bytes[0] = 'E';
  record.unit_bytes[1] = 'F';
  record.unit_bytes[2] = 'G';
  record.unit_count = 2;
  record.secure_layout = 1;
  record.hid_report_format = 2;
  std::memcpy(record.hid_path, "path", 5);
  DeviceContext context;
  context.BindRecord(record);
  EXPECT_EQ(context.address.kind, AddressKind::kLetter);
  EXPECT_EQ(context.address.letter, 'F') << "only the first unit_count bytes count";
  EXPECT_EQ(context.secure_layout, 1);
  EXPECT_EQ(context.address.hid_report_format, 2);
  EXPECT_STREQ(context.address.path, "path");
}

}  // namespace
}  // namespace kelvane::sdk::access
