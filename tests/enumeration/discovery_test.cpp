// The SCSI-mode drive scan: the signature gate with its four variants, the
// candidate filter, the blocks it reads, and the serial identifier that
// groups letters.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>

#include "sdk/access/candidate_filter.h"
#include "sdk/access/scsi_discovery.h"
#include "sdk/access/serial_identifier.h"
#include "tests/enumeration/enumeration_fixture.h"

namespace kelvane::testing {
namespace {

using nlohmann::json;
namespace access = sdk::access;

struct SignatureCase {
  const char* name;
  json fields;  // over the default drive
  bool found;
  bool knocked;
};

class SignatureTest : public EnumerationTest,
                      public ::testing::WithParamInterface<SignatureCase> {};

TEST_P(SignatureTest, OnlyTheControllersSignaturesPass) {
  const SignatureCase& c = GetParam();
  LoadDrives({Drive({{"E", 5}, {"F", 2}}, c.fields)});
  const Listing listing = List();
  EXPECT_EQ(listing.code, c.found ? 0 : UDVErrorcDriveLetterNotFound);
  EXPECT_EQ(listing.count, c.found ? 1u : 8u);
  const std::string knocked = LettersOf("061d00004157");
  EXPECT_EQ(knocked, c.knocked ? "EF" : "");
  if (c.knocked) {
    // The knock comes right after the INQUIRY of its letter, before any block
    // is read.
    const auto log = vdrive_.Log();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[0].cdb[0], 0x12);
    EXPECT_EQ(log[1].cdb,
              (std::vector<std::uint8_t>{0x06, 0x1D, 0, 0, 0x41, 0x57, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(log[1].direction, "none");
  }
  if (!c.found) {
    EXPECT_TRUE(vdrive_.Log("0605").empty()) << "no block of a rejected drive is read";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Variants, SignatureTest,
    ::testing::Values(SignatureCase{"pmap1234", {{"signature", "PMAP1234"}}, true, false},
                      SignatureCase{"bnand123", {{"signature", "bNAND123"}}, true, false},
                      SignatureCase{"ffap1234", {{"signature", "FFAP1234"}}, true, true},
                      SignatureCase{"pmapShort", {{"signature", "PMAP"}}, true, false},
                      SignatureCase{"none", {{"signature", "none"}}, false, false},
                      // A drive that returns only 36 bytes loses the signature
                      // at 36-43: the rest of the data reads as zero.
                      SignatureCase{"cutShort", {{"inquiry_length", 36}}, false, false},
                      SignatureCase{"cutShortPmap",
                                    {{"signature", "PMAP"}, {"inquiry_length", 36}},
                                    true,
                                    false}),
    CaseName());

TEST_F(EnumerationTest, AFailedInquiryRejectsOnlyItsLetter) {
  FailIo("12", 1117, 1, "E");
  const Listing listing = List();
  ASSERT_EQ(listing.code, 0);
  EXPECT_EQ(listing.tokens[0].unit_bytes[0], 0) << "E was not a candidate";
  EXPECT_EQ(listing.tokens[0].unit_bytes[1], 'F');
}

TEST_F(EnumerationTest, ALetterWhoseBlocksCannotBeReadIsSkipped) {
  // Every block read of the first pass fails; the second pass finds the
  // drive.
  FailIo("0605", 1117, 2);
  const Listing listing = List();
  ASSERT_EQ(listing.code, 0);
  EXPECT_EQ(runtime_.pauses, std::vector<std::uint32_t>{1500});
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(listing.tokens[0].unit_bytes), 2), "EF");
}

TEST_F(EnumerationTest, AnInfoBlockFailureSkipsTheLetterToo) {
  FailIo("060549", 1117, 1, "E");
  const Listing listing = List();
  ASSERT_EQ(listing.code, 0);
  EXPECT_EQ(listing.tokens[0].unit_bytes[0], 0);
  EXPECT_EQ(listing.tokens[0].unit_bytes[1], 'F');
}

TEST_F(EnumerationTest, AUnitNumberAboveSevenIsIgnored) {
  LoadDrives({Drive({{"E", 5}, {"F", 2}}, {{"patches", {{"identification", {{"385", "09"}}}}}})});
  EXPECT_EQ(List().code, UDVErrorcDriveLetterNotFound);
}

TEST_F(EnumerationTest, TheRecordTakesModeFirmwareLayoutAndSerial) {
  LoadDrives({Drive({{"E", 5}, {"F", 2}}, {{"mode", 31},
                                           {"firmware_code", "0xFF0C"},
                                           {"layout", "0x0B"},
                                           {"serial", "AB12"},
                                           {"vendor_id", "0x13FE"}})});
  std::array<KatDeviceRecord, 2> records{};
  std::array<KatDeviceRecord*, 2> pointers{&records[0], &records[1]};
  ASSERT_EQ(access::ScanScsiDrives(pointers, access::CandidateFilter{}), 1u);
  const KatDeviceRecord& record = records[0];
  EXPECT_EQ(record.unit_bytes[0], 'E');
  EXPECT_EQ(record.unit_bytes[1], 'F');
  EXPECT_EQ(+record.controller_mode, 31u);
  EXPECT_EQ(+record.firmware_code, 0xFF0C);
  EXPECT_EQ(record.secure_layout, 1);
  EXPECT_STREQ(reinterpret_cast<const char*>(record.serial), "AB12");
  // The scan writes nothing else.
  EXPECT_EQ(+record.unit_count, 0u);
  EXPECT_EQ(+record.vendor_id, 0);
  EXPECT_EQ(record.rd_block[0], 0);
  const KatDeviceRecord zero{};
  EXPECT_EQ(std::memcmp(&records[1], &zero, sizeof(zero)), 0);
}

TEST_F(EnumerationTest, DrivesBeyondTheRecordsAreIgnored) {
  LoadDrives({Drive({{"E", 2}}, {{"mode", 3}, {"serial", "A"}}),
              Drive({{"G", 2}}, {{"mode", 3}, {"serial", "B"}})});
  KatDeviceRecord record{};
  std::array<KatDeviceRecord*, 1> pointers{&record};
  EXPECT_EQ(access::ScanScsiDrives(pointers, access::CandidateFilter{}), 1u);
  EXPECT_EQ(record.unit_bytes[0], 'E');
}

// Filter lists of the scan: only the lists that are not empty are read for,
// and a failed read rejects the drive.
TEST_F(EnumerationTest, TheCandidateFilterReadsOnlyWhatItNeeds) {
  LoadDrives({Drive({{"E", 2}}, {{"mode", 3}, {"chip_code", "0x7049"}})});
  std::array<KatDeviceRecord, 1> records{};
  std::array<KatDeviceRecord*, 1> pointers{&records[0]};
  const std::uint32_t chip[] = {0x7049};
  const std::uint32_t other_chip[] = {0x7152};
  const std::uint32_t mode[] = {3};
  const std::uint32_t firmware[] = {0xFF03};

  access::CandidateFilter by_mode;
  by_mode.modes = mode;
  vdrive_.pc().log().Clear();
  EXPECT_EQ(access::ScanScsiDrives(pointers, by_mode), 1u);
  // INQUIRY, INFO for the filter, then identification and INFO for the record.
  EXPECT_EQ(vdrive_.Log("060549").size(), 2u);
  EXPECT_EQ(vdrive_.Log("060500000000").size(), 1u);

  access::CandidateFilter by_chip;
  by_chip.chip_codes = other_chip;
  EXPECT_EQ(access::ScanScsiDrives(pointers, by_chip), 0u);
  by_chip.chip_codes = chip;
  by_chip.firmware_codes = firmware;
  records = {};
  EXPECT_EQ(access::ScanScsiDrives(pointers, by_chip), 1u);

  FailIo("060549", 1117, 1);
  records = {};
  EXPECT_EQ(access::ScanScsiDrives(pointers, by_mode), 0u)
      << "an unreadable INFO block rejects the drive";
}

TEST_F(EnumerationTest, MatchCandidateReportsUnreadableBlocks) {
  access::DeviceContext context;
  ASSERT_EQ(context.BindLetter('Q'), 0);  // no such drive
  const std::uint32_t firmware[] = {0xFF03};
  access::CandidateFilter filter;
  bool match = true;
  EXPECT_EQ(access::MatchCandidate(context, filter, match), 0);
  EXPECT_TRUE(match) << "empty lists accept without reading";
  filter.firmware_codes = firmware;
  EXPECT_EQ(access::MatchCandidate(context, filter, match), 1);
  EXPECT_FALSE(match);
}

struct SerialCase {
  const char* name;
  std::uint8_t index;     // identification byte 16
  std::uint8_t length;    // identification byte 96
  std::u16string serial;  // UTF-16 characters from byte 98
  std::vector<std::uint8_t> expected;
};

class SerialIdentifierTest : public ::testing::TestWithParam<SerialCase> {};

TEST_P(SerialIdentifierTest, FoldsTheSerialDescriptor) {
  const SerialCase& c = GetParam();
  std::array<std::uint8_t, 528> identification{};
  identification[16] = c.index;
  identification[96] = c.length;
  for (std::size_t i = 0; i < c.serial.size(); ++i) {
    identification[98 + 2 * i] = static_cast<std::uint8_t>(c.serial[i]);
    identification[99 + 2 * i] = static_cast<std::uint8_t>(c.serial[i] >> 8);
  }
  std::array<std::uint8_t, 128> out;
  out.fill(0xEE);
  EXPECT_EQ(access::BuildSerialIdentifier(identification.data(), out.data()), c.expected.size());
  std::array<std::uint8_t, 128> expected{};
  std::copy(c.expected.begin(), c.expected.end(), expected.begin());
  EXPECT_EQ(out, expected);
}

std::vector<std::uint8_t> Bytes(const std::string& text) {
  return {text.begin(), text.end()};
}

INSTANTIATE_TEST_SUITE_P(Descriptors, SerialIdentifierTest,
                         ::testing::Values(SerialCase{"noSerialString", 0, 26, u"KV0123456789", {}},
                                           SerialCase{"twelveCharacters", 3, 26, u"KV0123456789",
                                                      Bytes("KV0123456789")},
                                           SerialCase{"lengthBelowTwo", 3, 1, u"KV", {}},
                                           SerialCase{"lengthZero", 3, 0, u"KV", {}},
                                           SerialCase{"oddLength", 3, 7, u"ABC", Bytes("AB")}),
                         CaseName());

TEST(SerialIdentifier, InterleavesHighBytesAndStopsAtFifty) {
  std::array<std::uint8_t, 528> identification{};
  identification[16] = 3;
  identification[96] = 2 + 2 * 30;
  const std::u16string serial = u"ABCDEFGHIJK\u314CMNOPQRSTUVWXY";
  for (std::size_t i = 0; i < serial.size(); ++i) {
    identification[98 + 2 * i] = static_cast<std::uint8_t>(serial[i]);
    identification[99 + 2 * i] = static_cast<std::uint8_t>(serial[i] >> 8);
  }
  std::array<std::uint8_t, 128> out{};
  ASSERT_EQ(access::BuildSerialIdentifier(identification.data(), out.data()), 30u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(out.data()), 11), "ABCDEFGHIJK");
  EXPECT_EQ(out[11], 0x4C) << "low byte of character 11";
  EXPECT_EQ(out[12], 0) << "high byte of character 0";
  EXPECT_EQ(out[23], 0x31) << "high byte of character 11";
  EXPECT_EQ(out[24], 'M') << "byte 122: character 12";
  EXPECT_EQ(out[25], 0);
  EXPECT_EQ(out[26], 'N');
  EXPECT_EQ(out[30], 0);

  identification[96] = 0xFF;
  std::memset(&identification[98], 'Z', 150);
  ASSERT_EQ(access::BuildSerialIdentifier(identification.data(), out.data()), 50u);
  EXPECT_EQ(out[49], 'Z');
  EXPECT_EQ(out[50], 0) << "a NUL after the fiftieth character";
}

}  // namespace
}  // namespace kelvane::testing
