// Kat_ListTokens against the in-process virtual PC: tokens and role bytes,
// index codes, the two alternating lists, and every failure with the state
// it leaves behind.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "sdk/device_lookup.h"
#include "tests/enumeration/enumeration_fixture.h"

namespace kelvane::testing {
namespace {

using nlohmann::json;

std::string UnitBytes(const KatTokenRecord& token) {
  return std::string(reinterpret_cast<const char*>(token.unit_bytes), token.count);
}

TEST_F(EnumerationTest, ModeThirtyOneGivesThreeUnitsAndTheirRoles) {
  LoadDrives({Drive({{"E", 5}, {"F", 2}, {"G", 2}}, {{"mode", 31}})});
  const Listing listing = List();
  ASSERT_EQ(listing.code, 0);
  ASSERT_EQ(listing.count, 1u);
  const KatTokenRecord& token = listing.tokens[0];
  EXPECT_EQ(+token.count, 3u);
  EXPECT_EQ(UnitBytes(token), "EFG");
  EXPECT_EQ(token.cdrom_role, 'E');   // byte 17
  EXPECT_EQ(token.secure_role, 'F');  // byte 18
  EXPECT_EQ(token.public_role, 'G');  // byte 16
  EXPECT_EQ(sdk::State().current->count, 1u);
  EXPECT_EQ(+sdk::State().current->records[0].unit_count, 3u);
  EXPECT_TRUE(runtime_.pauses.empty());
}

struct RoleCase {
  const char* name;
  int mode;
  int layout;
  std::vector<Unit> units;
  const char* unit_bytes;
  // Expected role bytes; '.' means the caller's byte stays.
  char public_role, cdrom_role, secure_role;
};

class RoleTest : public EnumerationTest, public ::testing::WithParamInterface<RoleCase> {};

TEST_P(RoleTest, RolesFollowTheModeAndLayout) {
  const RoleCase& c = GetParam();
  LoadDrives({Drive(c.units, {{"mode", c.mode}, {"layout", c.layout}})});
  Listing listing;
  listing.tokens.assign(1, KatTokenRecord{sizeof(KatTokenRecord), {}, 0, '.', '.', '.'});
  listing.count = 1;
  ASSERT_EQ(Kat_ListTokens(listing.tokens.data(), &listing.count, nullptr, nullptr, 0), 0);
  const KatTokenRecord& token = listing.tokens[0];
  EXPECT_EQ(UnitBytes(token), c.unit_bytes);
  EXPECT_EQ(token.public_role, c.public_role);
  EXPECT_EQ(token.cdrom_role, c.cdrom_role);
  EXPECT_EQ(token.secure_role, c.secure_role);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, RoleTest,
    ::testing::Values(
        RoleCase{"plain21", 21, 0, {{"E", 5}, {"F", 2}}, "EF", '.', 'E', 'F'},
        RoleCase{"secure21", 21, 0x0B, {{"E", 2}, {"F", 5}}, "EF", '.', 'F', 'E'},
        RoleCase{"plain7", 7, 0, {{"E", 2}, {"F", 2}}, "EF", 'F', '.', 'E'},
        RoleCase{"plain8", 8, 0, {{"F", 2}}, "F", 'F', '.', 'F'},
        RoleCase{"secure33", 33, 0x0B, {{"E", 2}, {"F", 2}}, "EF", 'E', '.', 'F'},
        RoleCase{"plain3", 3, 0, {{"F", 2}}, "F", 'F', '.', '.'},
        RoleCase{"secure30", 30, 0x0B, {{"E", 5}}, "E", '.', 'E', '.'},
        RoleCase{"secure27", 27, 0x0B, {{"E", 5}, {"F", 2}, {"G", 2}}, "EFG", 'G', 'E', 'F'}),
    CaseName());

TEST_F(EnumerationTest, LettersOfOneDriveAreGroupedBySerial) {
  LoadDrives({Drive({{"E", 5}, {"F", 2}}), Drive({{"H", 5}, {"I", 2}}, {{"serial", "KV9999"}})});
  const Listing listing = List();
  ASSERT_EQ(listing.code, 0);
  ASSERT_EQ(listing.count, 2u);
  EXPECT_EQ(UnitBytes(listing.tokens[0]), "EF");
  EXPECT_EQ(UnitBytes(listing.tokens[1]), "HI");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(sdk::State().current->records[1].serial)),
            "KV9999");
}

TEST_F(EnumerationTest, WithoutASerialStringEveryLetterIsADrive) {
  LoadDrives({Drive({{"E", 5}, {"F", 2}}, {{"serial", ""}})});
  const Listing listing = List();
  ASSERT_EQ(listing.code, 0);
  ASSERT_EQ(listing.count, 2u);
  // Each record holds one letter at its unit number; the mode asks for two
  // units, and no storage interface names a drive whose record carries no
  // USB identity, so the other unit byte stays 0.
  EXPECT_EQ(+listing.tokens[0].count, 2u);
  EXPECT_EQ(listing.tokens[0].unit_bytes[0], 'E');
  EXPECT_EQ(listing.tokens[0].unit_bytes[1], 0);
  EXPECT_EQ(listing.tokens[1].unit_bytes[0], 0);
  EXPECT_EQ(listing.tokens[1].unit_bytes[1], 'F');
}

TEST_F(EnumerationTest, FixedDisksAreNeverExamined) {
  // F is a fixed disk behind the drive's own controller; C a plain one.
  LoadDrives({Drive({{"E", 5}, {"F", 3}}, {{"mode", 30}})});
  const Listing listing = List();
  ASSERT_EQ(listing.code, 0);
  EXPECT_EQ(UnitBytes(listing.tokens[0]), "E");
  for (const auto& entry : vdrive_.Log()) EXPECT_EQ(entry.letter, 'E');
}

struct IndexCodeCase {
  const char* name;
  int vendor_id;
  const char* instance_prefix;  // empty: the serial starts the instance
  std::uint8_t second;          // expected second unit byte of token 1
};

class IndexCodeTest : public EnumerationTest,
                      public ::testing::WithParamInterface<IndexCodeCase> {};

// A drive whose second unit has no letter. The scan leaves the record's USB
// identity zero, so CountUnits matches only interfaces of a parent 0000:0000,
// and only instance texts with five fields ("prefix&prefix&prefix&serial&unit")
// are counted.
TEST_P(IndexCodeTest, MissingLettersBecomeIndexCodesWhenTheInterfacesCount) {
  const IndexCodeCase& c = GetParam();
  json second = Drive({{"G", 5}, {nullptr, 2}},
                      {{"serial", "KV2"}, {"vendor_id", c.vendor_id}, {"product_id", 0}});
  if (c.instance_prefix[0] != '\0') second["storage"] = {{"instance_prefix", c.instance_prefix}};
  LoadDrives({Drive({{"E", 5}, {"F", 2}}), second});
  const Listing listing = List();
  ASSERT_EQ(listing.code, 0);
  ASSERT_EQ(listing.count, 2u);
  EXPECT_EQ(UnitBytes(listing.tokens[0]), "EF");
  const KatTokenRecord& token = listing.tokens[1];
  EXPECT_EQ(+token.count, 2u);
  if (c.second == 0x11) {
    EXPECT_EQ(token.unit_bytes[0], 0x10)
        << "the letter gives way to the index code of unit 0 of token 1";
  } else {
    EXPECT_EQ(token.unit_bytes[0], 'G');
  }
  EXPECT_EQ(token.unit_bytes[1], c.second);
  EXPECT_EQ(token.cdrom_role, token.unit_bytes[0]);
  EXPECT_EQ(token.secure_role, token.unit_bytes[1]);
  EXPECT_EQ(+sdk::State().current->records[1].unit_count, 2u);
}

INSTANTIATE_TEST_SUITE_P(Interfaces, IndexCodeTest,
                         ::testing::Values(IndexCodeCase{"counted", 0, "7&2a1b3c4d&0", 0x11},
                                           IndexCodeCase{"shortInstance", 0, "", 0},
                                           IndexCodeCase{"usbIdentity", 0x0693, "7&2a1b3c4d&0", 0}),
                         CaseName());

TEST_F(EnumerationTest, IndexCodesNameTheRecordTheyCameFrom) {
  LoadDrives(
      {Drive({{"E", 5}, {nullptr, 2}},
             {{"vendor_id", 0}, {"product_id", 0}, {"storage", {{"instance_prefix", "7&1&0"}}}})});
  ASSERT_EQ(List().code, 0);
  KatDeviceRecord* by_code = nullptr;
  ASSERT_EQ(sdk::FindRecordBySelector(0x09, by_code), 0);
  EXPECT_EQ(by_code, &sdk::State().current->records[0]);
  KatDeviceRecord* by_letter = nullptr;
  EXPECT_EQ(sdk::FindRecordBySelector('E', by_letter), UDVErrorDevice) << "the letter was replaced";
}

TEST_F(EnumerationTest, SeveralDrivesComeInLetterOrder) {
  LoadDrives({Drive({{"K", 2}}, {{"mode", 3}, {"serial", "C"}}),
              Drive({{"D", 2}}, {{"mode", 3}, {"serial", "A"}}),
              Drive({{"G", 5}, {"H", 2}}, {{"serial", "B"}})});
  const Listing listing = List();
  ASSERT_EQ(listing.code, 0);
  ASSERT_EQ(listing.count, 3u);
  EXPECT_EQ(UnitBytes(listing.tokens[0]), "D");
  EXPECT_EQ(UnitBytes(listing.tokens[1]), "GH");
  EXPECT_EQ(UnitBytes(listing.tokens[2]), "K");
}

TEST_F(EnumerationTest, PairsFilterTheDrives) {
  LoadDrives({Drive({{"E", 5}, {"F", 2}}, {{"vendor_id", "0x13FE"}, {"product_id", "0x1E27"}}),
              Drive({{"G", 5}, {"H", 2}}, {{"serial", "KV2"}})});
  const Listing filtered = List(8, {0x13FE}, {0x1E27});
  ASSERT_EQ(filtered.code, 0);
  ASSERT_EQ(filtered.count, 1u);
  EXPECT_EQ(UnitBytes(filtered.tokens[0]), "EF");

  const Listing high_bits = List(8, {0xABCD13FE}, {0x00011E27});
  ASSERT_EQ(high_bits.code, 0);
  EXPECT_EQ(high_bits.count, 1u) << "only the low 16 bits of a pair count";

  const Listing other = List(8, {0x0693, 0x13FE}, {0x0203, 0x1E28});
  ASSERT_EQ(other.code, 0);
  ASSERT_EQ(other.count, 1u);
  EXPECT_EQ(UnitBytes(other.tokens[0]), "GH") << "vendor and product must match at one position";

  const Listing all = List();
  EXPECT_EQ(all.count, 2u);
}

TEST_F(EnumerationTest, ArgumentsAreCheckedAfterInitialisation) {
  KatTokenRecord token{sizeof(KatTokenRecord), {}, 0, 0, 0, 0};
  std::uint32_t count = 1;
  EXPECT_EQ(Kat_ListTokens(nullptr, &count, nullptr, nullptr, 0), UDVErrorInputParameter);
  EXPECT_EQ(Kat_ListTokens(&token, nullptr, nullptr, nullptr, 0), UDVErrorInputParameter);
  EXPECT_EQ(Kat_ListTokens(&token, &count, nullptr, nullptr, 1), UDVErrorInputParameter)
      << "pairs without their lists";
  std::vector<std::uint32_t> vendors(257, 0x0693);
  std::vector<std::uint32_t> products(257, 0x0000);
  EXPECT_EQ(Kat_ListTokens(&token, &count, vendors.data(), products.data(), 257),
            UDVErrorInputParameter)
      << "more pairs than the tables hold";
  EXPECT_TRUE(vdrive_.Log().empty()) << "refused before any command";
  products[255] = 0x0203;
  EXPECT_EQ(Kat_ListTokens(&token, &count, vendors.data(), products.data(), 256), 0)
      << "the 256th pair counts";
  EXPECT_EQ(count, 1u);
  ASSERT_EQ(Kat_CloseAPI(), 0);
  EXPECT_EQ(Kat_ListTokens(nullptr, nullptr, nullptr, nullptr, 1000), UDVErrorNoInitSDK);
}

TEST_F(EnumerationTest, TwoListingsAlternateBetweenTheLists) {
  auto& state = sdk::State();
  ASSERT_EQ(state.current, &state.list_a);
  ASSERT_EQ(List().code, 0);
  EXPECT_EQ(state.current, &state.list_b);
  EXPECT_EQ(state.current_generation, 1);

  // A selector resolved now keeps naming the first listing's record while
  // the next listing fills the other list.
  KatDeviceRecord* first = nullptr;
  ASSERT_EQ(sdk::FindRecordBySelector('F', first), 0);
  EXPECT_EQ(first, &state.list_b.records[0]);

  LoadDrives({Drive({{"E", 5}, {"F", 2}}, {{"firmware_code", "0xFF0D"}})});
  ASSERT_EQ(List().code, 0);
  EXPECT_EQ(state.current, &state.list_a);
  EXPECT_EQ(state.current_generation, 0);
  EXPECT_EQ(+first->firmware_code, 0xFF03) << "the earlier list stays intact";
  EXPECT_EQ(+state.list_a.records[0].firmware_code, 0xFF0D);

  ASSERT_EQ(List().code, 0);
  EXPECT_EQ(state.current, &state.list_b);
}

TEST_F(EnumerationTest, MoreDrivesThanTheCapacityFailAtOnce) {
  LoadDrives({Drive({{"E", 5}, {"F", 2}}), Drive({{"G", 5}, {"H", 2}}, {{"serial", "KV2"}})});
  ASSERT_EQ(List().code, 0);
  auto& state = sdk::State();
  const sdk::DeviceList* before = state.current;

  const Listing listing = List(1);
  EXPECT_EQ(listing.code, UDVErrorInputParameter);
  EXPECT_EQ(listing.count, 1u) << "the caller's count stays";
  EXPECT_EQ(state.current, before) << "the current list stays";
  EXPECT_EQ(state.current->count, 2u);
  EXPECT_EQ(state.current_generation, 1);
  EXPECT_TRUE(runtime_.pauses.empty()) << "no further pass";
}

TEST_F(EnumerationTest, ATokenOfTheWrongSizeFailsAfterDiscovery) {
  Listing listing;
  listing.tokens.assign(3, KatTokenRecord{sizeof(KatTokenRecord), {}, 0, 0, 0, 0});
  listing.tokens[2].size = 18;
  listing.count = 3;
  EXPECT_EQ(Kat_ListTokens(listing.tokens.data(), &listing.count, nullptr, nullptr, 0),
            UDVErrorInputParameter);
  EXPECT_EQ(listing.count, 3u);
  EXPECT_EQ(sdk::State().current, &sdk::State().list_a);
  EXPECT_FALSE(vdrive_.Log("12").empty()) << "discovery ran first";
  EXPECT_TRUE(vdrive_.Log("060552").empty()) << "no record was completed";
  EXPECT_TRUE(runtime_.pauses.empty());
}

struct FailureCase {
  const char* name;
  json drive_fields;         // over the default drive
  const char* fault_prefix;  // io errors on these commands, three passes long
  std::int32_t code;
  std::uint32_t drives_of_last_pass;
};

class ListingFailureTest : public EnumerationTest,
                           public ::testing::WithParamInterface<FailureCase> {};

TEST_P(ListingFailureTest, ThreePassesThenTheCodeWithTheListsCleared) {
  const FailureCase& c = GetParam();
  json drive = Drive({{"E", 5}, {"F", 2}}, c.drive_fields);
  LoadDrives({drive});
  if (c.fault_prefix[0] != '\0') FailIo(c.fault_prefix, 1117, 3);
  auto& state = sdk::State();

  const Listing listing = List(4);
  EXPECT_EQ(listing.code, c.code);
  EXPECT_EQ(listing.count, 4u) << "the caller's count stays";
  EXPECT_EQ(runtime_.pauses, (std::vector<std::uint32_t>{1500, 1500}));
  EXPECT_EQ(vdrive_.Log("12").size(), 3u * 2u) << "three discovery passes";
  EXPECT_EQ(state.current, &state.list_b) << "the target list becomes current";
  EXPECT_EQ(state.current_generation, 1);
  EXPECT_EQ(state.current->count, c.drives_of_last_pass);
  const KatDeviceRecord zero{};
  EXPECT_EQ(std::memcmp(&state.current->records[0], &zero, sizeof(zero)), 0) << "records cleared";
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ListingFailureTest,
    ::testing::Values(
        FailureCase{"noDrive", {{"signature", "none"}}, "", UDVErrorcDriveLetterNotFound, 0},
        FailureCase{"modeNotInTable", {{"mode", 99}}, "", UDVErrorDevice, 1},
        // Controller 7049 marks the secure layout only over HID;
        // the scan reads byte 397 alone, and mode 22 has no plain
        // layout.
        FailureCase{
            "secureOnlyMode", {{"mode", 22}, {"chip_code", "0x7049"}}, "", UDVErrorDevice, 1},
        FailureCase{"rdUnreadable", json::object(), "060552440000", UDVErrorGetDeviceInfo, 1}),
    CaseName());

TEST_F(EnumerationTest, AFailedPassIsFollowedByAPauseAndAnotherPass) {
  FailIo("060552440000", 1117, 1);
  const Listing listing = List();
  ASSERT_EQ(listing.code, 0);
  EXPECT_EQ(listing.count, 1u);
  EXPECT_EQ(runtime_.pauses, std::vector<std::uint32_t>{1500});
  EXPECT_EQ(UnitBytes(listing.tokens[0]), "EF");
  EXPECT_EQ(sdk::State().current->count, 1u);
}

TEST_F(EnumerationTest, TheRdBlockIsReadThroughTheLastLetterIntoTheRecord) {
  LoadDrives({Drive({{"E", 5}, {"F", 2}}, {{"area_states", 6}})});
  ASSERT_EQ(List().code, 0);
  EXPECT_EQ(LettersOf("060552440000"), "F");
  const KatDeviceRecord& record = sdk::State().current->records[0];
  EXPECT_EQ(record.rd_block[0], 'R');
  EXPECT_EQ(record.rd_block[74], 6);
}

TEST_F(EnumerationTest, TheUnitPastTheModesCountIsLookedAtToo) {
  // Mode 30 has one unit, but positions 0 and 1 are both examined: F is the
  // last letter (the RD block is read through it) and two letters differ
  // from one unit, so the units are counted from the interfaces.
  LoadDrives({Drive({{"E", 5}, {"F", 2}}, {{"mode", 30},
                                           {"vendor_id", 0},
                                           {"product_id", 0},
                                           {"storage", {{"instance_prefix", "7&1&0"}}}})});
  const Listing listing = List();
  ASSERT_EQ(listing.code, 0);
  EXPECT_EQ(LettersOf("060552440000"), "F");
  EXPECT_EQ(+listing.tokens[0].count, 1u);
  EXPECT_EQ(listing.tokens[0].unit_bytes[0], 0x08);
  EXPECT_EQ(listing.tokens[0].cdrom_role, 0x08);
  EXPECT_EQ(sdk::State().current->records[0].unit_bytes[1], 0x09)
      << "the record keeps every counted unit";
  EXPECT_EQ(+sdk::State().current->records[0].unit_count, 1u);
}

TEST_F(EnumerationTest, HidModeFindsNoDeviceYet) {
  ASSERT_EQ(Kat_ForceHIDmode(1), 0);
  const Listing listing = List();
  EXPECT_EQ(listing.code, UDVErrorcDriveLetterNotFound);
  EXPECT_EQ(runtime_.pauses, (std::vector<std::uint32_t>{1500, 1500}));
  EXPECT_TRUE(vdrive_.Log().empty()) << "no SCSI command in HID mode";
}

TEST_F(EnumerationTest, ReadinessOfHidDrives) {
  std::int32_t ready = 7;
  EXPECT_EQ(Kat_isReady_HIDmode(nullptr), UDVErrorInputParameter);
  EXPECT_EQ(Kat_isReady_HIDmode(&ready), 0);
  EXPECT_EQ(ready, 0) << "no HID-mode drive in SCSI mode";
  ready = 7;
  ASSERT_EQ(Kat_ForceHIDmode(1), 0);
  EXPECT_EQ(Kat_isReady_HIDmode(&ready), 0);
  EXPECT_EQ(ready, 0);
  ASSERT_EQ(Kat_CloseAPI(), 0);
  EXPECT_EQ(Kat_isReady_HIDmode(nullptr), UDVErrorNoInitSDK);
}

}  // namespace
}  // namespace kelvane::testing
