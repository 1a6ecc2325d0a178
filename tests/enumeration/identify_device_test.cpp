// IdentifyDevice, the support test and the firmware write.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "sdk/access/device_identification.h"
#include "tests/enumeration/enumeration_fixture.h"

namespace kelvane::testing {
namespace {

using nlohmann::json;
namespace access = sdk::access;

class IdentifyDeviceTest : public EnumerationTest {
 protected:
  struct Outcome {
    std::int32_t code = -1;
    std::uint8_t secure_layout = 0xEE;
    std::int32_t token_index = -99;
    std::uint8_t unit = 0xEE;
    KatDeviceRecord* record = nullptr;
  };

  Outcome Identify(std::uint8_t selector, std::uint8_t check = 1, bool want_layout = true) {
    Outcome outcome;
    outcome.code =
        access::IdentifyDevice(selector, context_, 0, info_.data(), identification_.data(), check,
                               want_layout ? &outcome.secure_layout : nullptr, &outcome.token_index,
                               &outcome.unit, &outcome.record);
    return outcome;
  }

  access::DeviceContext context_;
  std::array<std::uint8_t, 528> info_{};
  std::array<std::uint8_t, 528> identification_{};
};

TEST_F(IdentifyDeviceTest, BeforeAnyListingNoDriveIsKnown) {
  EXPECT_EQ(Identify('F').code, UDVErrorDevice);
  EXPECT_TRUE(vdrive_.Log().empty());
}

TEST_F(IdentifyDeviceTest, ALetterOfTheListedDriveIsIdentified) {
  LoadDrives({Drive({{"E", 5}, {"F", 2}}, {{"layout", "0x0B"}})});
  ASSERT_EQ(List().code, 0);
  vdrive_.pc().log().Clear();
  const Outcome outcome = Identify('e');
  ASSERT_EQ(outcome.code, 0);
  EXPECT_EQ(outcome.record, &sdk::State().current->records[0]);
  EXPECT_EQ(outcome.secure_layout, 1);
  EXPECT_EQ(context_.secure_layout, 1);
  EXPECT_EQ(outcome.token_index, -99) << "written only for an index code";
  EXPECT_EQ(info_[172], 21);
  EXPECT_EQ(identification_[154], 0xFF);
  EXPECT_EQ(context_.address.kind, access::AddressKind::kLetter);
  EXPECT_EQ(context_.address.letter, 'e') << "bound to the selector itself";
  EXPECT_EQ(LettersOf(""), "EE");
  EXPECT_EQ(vdrive_.Log("060549").size(), 1u);
  EXPECT_EQ(vdrive_.Log("060500000000").size(), 1u);
}

TEST_F(IdentifyDeviceTest, IndexCodesReportTokenAndUnit) {
  ASSERT_EQ(List().code, 0);
  Outcome outcome = Identify(0x09);
  EXPECT_EQ(outcome.code, 0);
  EXPECT_EQ(outcome.token_index, 0);
  EXPECT_EQ(outcome.unit, 1);
  EXPECT_EQ(context_.address.letter, 'F') << "the record's last letter";

  // Token 3 is an empty slot of the list: its record has no letter, so the
  // block reads fail at the transport.
  outcome = Identify(0x20);
  EXPECT_EQ(outcome.code, UDVErrorGetDeviceInfo);
  EXPECT_EQ(outcome.token_index, 3);

  outcome = Identify(0x00);
  EXPECT_EQ(outcome.code, UDVErrorDevice) << "token index -1";
  EXPECT_EQ(outcome.token_index, -1);
  EXPECT_EQ(Identify(0x80).code, UDVErrorDevice) << "a negative token index";
  EXPECT_EQ(Identify(static_cast<std::uint8_t>((128 + 1) << 3 & 0xFF)).code, 0)
      << "0x08 again: the byte wraps";
}

TEST_F(IdentifyDeviceTest, WithoutTheCheckNothingIsSent) {
  ASSERT_EQ(List().code, 0);
  vdrive_.pc().log().Clear();
  const Outcome outcome = Identify('F', 0, false);
  EXPECT_EQ(outcome.code, 0);
  EXPECT_TRUE(vdrive_.Log().empty());
  EXPECT_EQ(info_[172], 0);

  // The secure-layout byte alone reads the identification block only.
  ASSERT_EQ(Identify('F', 0, true).code, 0);
  EXPECT_EQ(vdrive_.Log("060549").size(), 0u);
  EXPECT_EQ(vdrive_.Log("060500000000").size(), 1u);
}

struct SupportCase {
  const char* name;
  json fields;
  std::int32_t code;
};

class SupportTest : public IdentifyDeviceTest, public ::testing::WithParamInterface<SupportCase> {};

TEST_P(SupportTest, TheFirmwareCodeDecides) {
  LoadDrives({Drive({{"E", 5}, {"F", 2}}, GetParam().fields)});
  ASSERT_EQ(List().code, 0);
  EXPECT_EQ(Identify('F').code, GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, SupportTest,
    ::testing::Values(SupportCase{"ff03", {{"firmware_code", "0xFF03"}}, 0},
                      SupportCase{"ff0d", {{"firmware_code", "0xFF0D"}}, 0},
                      SupportCase{"ffff", {{"firmware_code", "0xFFFF"}}, 0},
                      SupportCase{"ff0e", {{"firmware_code", "0xFF0E"}}, UDVErrorDevice},
                      SupportCase{"ff06", {{"firmware_code", "0xFF06"}}, UDVErrorDevice}),
    CaseName());

TEST_F(IdentifyDeviceTest, AFailedReadGivesTwentyOne) {
  ASSERT_EQ(List().code, 0);
  FailIo("060549", 31);
  EXPECT_EQ(Identify('F').code, UDVErrorGetDeviceInfo);
  FailIo("060500000000", 1167);
  EXPECT_EQ(Identify('F').code, UDVErrorGetDeviceInfo);
  EXPECT_EQ(Identify('F').code, 0);
}

TEST_F(IdentifyDeviceTest, HidModeNeedsTheRecordsPath) {
  ASSERT_EQ(List().code, 0);
  ASSERT_EQ(Kat_ForceHIDmode(1), 0);
  vdrive_.pc().log().Clear();
  EXPECT_EQ(Identify('F').code, UDVErrorcDriveLetterNotFound);
  EXPECT_TRUE(vdrive_.Log().empty());
}

TEST(CheckDeviceSupported, EveryNonEmptyListMustMatchExactly) {
  std::array<std::uint8_t, 528> info{};
  std::array<std::uint8_t, 528> identification{};
  identification[8] = 0xFE;
  identification[9] = 0x13;
  identification[10] = 0x27;
  identification[11] = 0x1E;
  identification[154] = 0xFF;
  identification[155] = 0x03;
  identification[382] = 0x71;
  identification[383] = 0x52;
  info[172] = 21;
  const std::uint32_t chip[] = {0x7049, 0x7152};
  const std::uint32_t wrong_chip[] = {0x17152};
  const std::uint32_t mode[] = {21};
  const std::uint32_t vendors[] = {0x0693, 0x13FE};
  const std::uint32_t products[] = {0x1E27, 0x1E27};
  const std::uint32_t products_swapped[] = {0x1E27, 0x0203};
  const std::uint32_t vendors_high[] = {0x113FE};

  auto verdict = [&](const access::CandidateFilter& lists) {
    std::uint8_t result = 0;
    EXPECT_EQ(access::CheckDeviceSupported('F', &result, lists, info.data(), identification.data()),
              0);
    return result;
  };
  access::CandidateFilter lists;
  EXPECT_EQ(verdict(lists), 1) << "empty lists pass";
  lists.chip_codes = chip;
  lists.firmware_codes = access::kSupportedFirmwareCodes;
  lists.modes = mode;
  lists.vendors = vendors;
  lists.products = products;
  EXPECT_EQ(verdict(lists), 1);
  lists.products = products_swapped;
  EXPECT_EQ(verdict(lists), 0) << "vendor and product at one position";
  lists.products = products;
  lists.vendors = vendors_high;
  EXPECT_EQ(verdict(lists), 0) << "entries are compared as 32-bit values";
  lists.vendors = vendors;
  lists.chip_codes = wrong_chip;
  EXPECT_EQ(verdict(lists), 0);

  std::uint8_t kept = 1;
  EXPECT_EQ(access::CheckDeviceSupported('F', &kept, lists, info.data(), identification.data()), 0);
  EXPECT_EQ(kept, 1) << "the verdict is never cleared";
  EXPECT_EQ(access::CheckDeviceSupported('F', nullptr, lists, info.data(), identification.data()),
            1);
  EXPECT_EQ(access::CheckDeviceSupported('F', &kept, lists, nullptr, identification.data()), 1);
}

TEST_F(IdentifyDeviceTest, TheFirmwareImageGoesOutInOneCommand) {
  ASSERT_EQ(context_.BindLetter('F'), 0);
  std::vector<std::uint8_t> image(64512);
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i * 7);
  // The virtual drive refuses an image from a host that did not open area 1.
  EXPECT_EQ(
      access::WriteFirmwareImage(context_, image.data(), static_cast<std::uint32_t>(image.size())),
      -2);
  const auto log = vdrive_.Log("061f");
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].cdb,
            (std::vector<std::uint8_t>{0x06, 0x1F, 0, 0, 0, 0, 0, 0, 0, 0, 0xB1, 0x80}));
  EXPECT_EQ(log[0].direction, "out");
  EXPECT_EQ(log[0].length, 64512u);
  EXPECT_EQ(log[0].data_out, image);

  EXPECT_EQ(access::WriteFirmwareImage(context_, nullptr, 10), 1);
  access::DeviceContext unbound;
  EXPECT_EQ(access::WriteFirmwareImage(unbound, image.data(), 10), 1);
  EXPECT_EQ(vdrive_.Log("061f").size(), 1u);
}

}  // namespace
}  // namespace kelvane::testing
