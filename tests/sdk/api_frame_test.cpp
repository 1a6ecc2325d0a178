// The SDK frame: info text, the two states, the drive selector and the
// transport-mode decision.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "sdk/drive_selector.h"
#include "sdk/kat_api.h"
#include "sdk/sdk_state.h"
#include "sdk/transport_mode.h"
#include "tests/support/fake_runtime.h"
#include "tests/support/fake_system_info.h"

namespace kelvane::sdk {
namespace {

class ApiFrameTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetStateForTesting(); }
  void TearDown() override { ResetStateForTesting(); }

  testing::FakeRuntime runtime_;
  testing::FakeSystemInfo system_;
};

TEST_F(ApiFrameTest, InfoTextIsCopiedOnlyForTheMagic) {
  std::vector<char> buffer(1000, '\x5A');
  std::memcpy(buffer.data(), "k1a2t3r4e5l", 12);
  ASSERT_EQ(GetDllInfo(buffer.data()), 0);
  const std::string text(buffer.data());
  EXPECT_EQ(text.size(), 913u);
  EXPECT_EQ(text.rfind("For : RQ6471_SDK\r\nVersion : 20090811\r\n", 0), 0u);
  EXPECT_NE(text.find("Function List:\r\n\tGetDllInfo\r\n\tKat_isHID\r\n"), std::string::npos);
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
  EXPECT_EQ(buffer[913], '\0');
  EXPECT_EQ(buffer[914], '\x5A') << "nothing written past the 914 bytes";
}

TEST_F(ApiFrameTest, OtherwiseOnlyTheVersionCodeIsWritten) {
  std::vector<unsigned char> buffer(16, 0x5A);
  std::memcpy(buffer.data(), "k1a2t3r4e5L", 12);  // one letter off
  ASSERT_EQ(GetDllInfo(buffer.data()), 0);
  EXPECT_EQ(std::vector<unsigned char>(buffer.begin(), buffer.begin() + 4),
            (std::vector<unsigned char>{0x20, 0x10, 0x15, 0x20}));
  EXPECT_EQ(buffer[4], 't') << "the rest of the buffer is untouched";
  EXPECT_EQ(GetDllInfo(nullptr), UDVErrorInputParameter);
}

TEST_F(ApiFrameTest, InitAndCloseFollowTheTwoStates) {
  int32_t is_hid = 0;
  EXPECT_EQ(Kat_isHID(nullptr), UDVErrorNoInitSDK) << "initialisation is tested before arguments";
  EXPECT_EQ(Kat_ForceHIDmode(1), UDVErrorAlreadyInitSDK);
  EXPECT_EQ(State().force_hid, 0) << "a refused force changes nothing";
  EXPECT_EQ(Kat_CloseAPI(), UDVErrorAlreadyCloseSDK);

  uint32_t version = 0;
  EXPECT_EQ(Kat_InitAPI(&version), 0);
  EXPECT_EQ(version, 0x20151020u);
  EXPECT_EQ(runtime_.seeds, std::vector<std::uint32_t>{static_cast<std::uint32_t>(runtime_.now)});
  EXPECT_EQ(Kat_InitAPI(&version), UDVErrorAlreadyInitSDK);
  EXPECT_EQ(Kat_isHID(&is_hid), 0);
  EXPECT_EQ(is_hid, 0);
  EXPECT_EQ(Kat_isHID(nullptr), UDVErrorInputParameter);
  EXPECT_EQ(State().os_kind, 5);
  EXPECT_EQ(State().list_b.generation, 1);
  EXPECT_EQ(State().current, &State().list_a);

  EXPECT_EQ(Kat_CloseAPI(), 0);
  EXPECT_EQ(Kat_CloseAPI(), UDVErrorAlreadyCloseSDK);
  EXPECT_EQ(Kat_isHID(&is_hid), UDVErrorNoInitSDK);
}

TEST_F(ApiFrameTest, ForcedHidSurvivesCloseAndInit) {
  ASSERT_EQ(Kat_InitAPI(nullptr), 0);
  ASSERT_EQ(Kat_ForceHIDmode(1), 0);
  EXPECT_TRUE(State().hid_mode);
  ASSERT_EQ(Kat_CloseAPI(), 0);
  ASSERT_EQ(Kat_InitAPI(nullptr), 0);
  EXPECT_TRUE(State().hid_mode) << "the force flag survives close and init";
  ASSERT_EQ(Kat_ForceHIDmode(0), 0);
  EXPECT_FALSE(State().hid_mode);
}

struct DecisionCase {
  const char* name;
  std::uint32_t major;
  std::uint32_t minor;
  std::uint8_t product_type;
  bool administrator;
  std::uint8_t force;
  bool expect_hid;
  std::int32_t expect_os_kind;
};

class TransportDecisionTest : public ApiFrameTest, public ::testing::WithParamInterface<DecisionCase> {};

TEST_P(TransportDecisionTest, ChoosesTheTransport) {
  const DecisionCase& c = GetParam();
  system_.major = c.major;
  system_.minor = c.minor;
  system_.product_type = c.product_type;
  system_.administrator = c.administrator;
  ASSERT_EQ(Kat_InitAPI(nullptr), 0);
  if (c.force != 0) {
    ASSERT_EQ(Kat_ForceHIDmode(c.force), 0);
  }
  EXPECT_EQ(State().hid_mode, c.expect_hid);
  EXPECT_EQ(State().os_kind, c.expect_os_kind);
  int32_t is_hid = -1;
  EXPECT_EQ(Kat_isHID(&is_hid), 0);
  EXPECT_EQ(is_hid, c.expect_hid ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    OsKinds, TransportDecisionTest,
    ::testing::Values(DecisionCase{"Win2000Admin", 5, 0, 1, true, 0, false, 0},
                      DecisionCase{"Win2000User", 5, 0, 1, false, 0, true, 0},
                      DecisionCase{"XpUser", 5, 1, 1, false, 0, true, 1},
                      DecisionCase{"Server2003Admin", 5, 2, 3, true, 0, false, 1},
                      DecisionCase{"VistaWorkstationUser", 6, 0, 1, false, 0, false, 2},
                      DecisionCase{"Server2008User", 6, 0, 3, false, 0, true, 2},
                      DecisionCase{"Server2008Admin", 6, 0, 3, true, 0, false, 2},
                      DecisionCase{"Win7User", 6, 1, 1, false, 0, false, 3},
                      DecisionCase{"Win8User", 6, 2, 1, false, 0, false, 4},
                      DecisionCase{"Win81KeepsUnknownKind", 6, 3, 1, false, 0, false, -1},
                      DecisionCase{"Win10ServerUser", 10, 0, 3, false, 0, false, 5},
                      DecisionCase{"Win10Forced", 10, 0, 1, true, 1, true, 5},
                      DecisionCase{"UnknownMajorKeepsKind", 4, 0, 1, true, 0, false, -1}),
    [](const ::testing::TestParamInfo<DecisionCase>& p) { return std::string(p.param.name); });

TEST_F(ApiFrameTest, NoDecisionKeepsScsiAndIsHidReportsFailure) {
  system_.details_available = false;
  ASSERT_EQ(Kat_InitAPI(nullptr), 0);
  EXPECT_FALSE(State().hid_mode);
  int32_t is_hid = 7;
  EXPECT_EQ(Kat_isHID(&is_hid), UDVError);
  EXPECT_EQ(is_hid, 7);
  EXPECT_EQ(Kat_ForceHIDmode(1), 0);
  EXPECT_FALSE(State().hid_mode);
}

TEST_F(ApiFrameTest, WorkstationNeverRunsTheAdministratorTest) {
  system_.major = 6;
  system_.product_type = 1;
  ASSERT_EQ(Kat_InitAPI(nullptr), 0);
  EXPECT_EQ(system_.administrator_tests, 0);
}

struct SelectorCase {
  std::uint8_t byte;
  bool is_letter;
  std::int32_t token_index;
  std::uint8_t unit;
};

TEST(DriveSelectorTest, DecodesLettersAndIndexCodes) {
  const SelectorCase cases[] = {
      {'E', true, 0, 0},     {'z', true, 0, 0},    {0x09, false, 0, 1}, {0x10, false, 1, 0},
      {0x41, true, 0, 0},    {0x3F, false, 6, 7},  {0x80, false, -17, 0}, {0xFF, false, -2, 7},
      {0x00, false, -1, 0},
  };
  for (const SelectorCase& c : cases) {
    const DriveSelector decoded = DecodeDriveSelector(c.byte);
    EXPECT_EQ(decoded.is_letter, c.is_letter) << int(c.byte);
    if (!c.is_letter) {
      EXPECT_EQ(decoded.token_index, c.token_index) << int(c.byte);
      EXPECT_EQ(decoded.unit, c.unit) << int(c.byte);
    }
  }
  EXPECT_EQ(IndexCode(0, 1), 0x09);
  EXPECT_EQ(IndexCode(1, 0), 0x10);
}

}  // namespace
}  // namespace kelvane::sdk
