// SdkDevice over a scripted SDK: configuration, the choice of one drive,
// the listing and query retries, the device mutex and the result codes.
#include "frontend/sdk_device.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

#include "framework/result_code.h"
#include "frontend/frontend_codes.h"
#include "platform/named_mutex.h"
#include "tests/frontend/fake_device_sdk.h"
#include "tests/support/fake_runtime.h"

namespace kelvane::frontend {
namespace {

using framework::LineCode;
using framework::Result;
using framework::ResultCode;
using ::testing::ElementsAre;
using testing::FakeDeviceSdk;
using ::testing::IsEmpty;

constexpr ResultCode kSdkNoDrive = framework::CT47Base + 19;
constexpr ResultCode kSdkDevice = framework::CT47Base + 34;

framework::SettingsStore Settings(const std::wstring& text) {
  framework::SettingsStore settings;
  settings.Parse(text);
  return settings;
}

class SdkDeviceTest : public ::testing::Test {
 protected:
  testing::FakeRuntime runtime;
  FakeDeviceSdk sdk;
};

// --- configuration -------------------------------------------------------

struct FilterCase {
  const wchar_t* value;
  bool adds;
  VpFilter filter;
};

void PrintTo(const FilterCase& c, std::ostream* os) {
  *os << ::testing::PrintToString(std::wstring(c.value));
}

class VpFilterValueTest : public ::testing::TestWithParam<FilterCase> {};

TEST_P(VpFilterValueTest, TwoNonzeroNumbersMakeOnePair) {
  FakeDeviceSdk sdk;
  SdkDevice device(sdk);
  framework::SettingsStore settings =
      Settings(std::wstring(L"[DeviceModel]\nVPFilter1=") + GetParam().value + L"\n");
  EXPECT_TRUE(device.Configure(settings).IsSuccess());
  if (GetParam().adds) {
    EXPECT_THAT(device.VpFilters(), ElementsAre(GetParam().filter));
  } else {
    EXPECT_THAT(device.VpFilters(), IsEmpty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Values, VpFilterValueTest,
    ::testing::Values(FilterCase{L"0x0693,0x1234", true, {0x0693, 0x1234}},
                      FilterCase{L"1683,4660", true, {0x0693, 0x1234}},
                      FilterCase{L"010, 0X1e", true, {8, 0x1E}},  // octal, blank, upper-case prefix
                      FilterCase{L"\"0x056E\",\"0x0007\"", true, {0x056E, 7}},  // quoted fields
                      FilterCase{L"-1,2", true, {0xFFFFFFFF, 2}},               // low 32 bits of -1
                      FilterCase{L"0x0693,0x1234\r\n0x1,0x2", true, {0x0693, 0x1234}},
                      FilterCase{L"0x0693", false, {}}, FilterCase{L"1,2,3", false, {}},
                      FilterCase{L"0x0693,0", false, {}},
                      FilterCase{L"0x0693,abc", false, {}},          // no digits: 0
                      FilterCase{L"0x0693,99999999999", false, {}},  // out of range: 0
                      FilterCase{L"\"0x0693,0x1234", false, {}},     // quote left open
                      FilterCase{L"0x06\"93,0x1234", false, {}}));

TEST_F(SdkDeviceTest, ConfigureTakesEveryVpFilterKeyInKeyOrderAndSkipsOthers) {
  SdkDevice device(sdk);
  framework::SettingsStore settings = Settings(
      L"[DeviceModel]\nVPFilter2=3,4\nVPFilter1=1,2\nvpfilter3=5,6\nVPFilterBad=7\nVPFilter4="
      L"\nOther=9,9\n"
      L"[Setting]\nVPFilter9=8,8\n");
  device.Configure(settings);
  EXPECT_THAT(device.VpFilters(), ElementsAre(VpFilter{1, 2}, VpFilter{3, 4}));
}

TEST_F(SdkDeviceTest, ConfigureReplacesAnEarlierFilterList) {
  SdkDevice device(sdk);
  framework::SettingsStore first = Settings(L"[DeviceModel]\nVPFilter1=1,2\n");
  framework::SettingsStore second = Settings(L"[DeviceModel]\nMaxOpenRetry=1\n");
  device.Configure(first);
  device.Configure(second);
  EXPECT_THAT(device.VpFilters(), IsEmpty());
}

struct NumberSettingCase {
  const wchar_t* text;
  std::int32_t max_open_retry;
  std::int32_t is_hid;
};

void PrintTo(const NumberSettingCase& c, std::ostream* os) {
  *os << ::testing::PrintToString(std::wstring(c.text));
}

class NumberSettingTest : public ::testing::TestWithParam<NumberSettingCase> {};

TEST_P(NumberSettingTest, ReadsMaxOpenRetryAndIsHidWithDefaults) {
  FakeDeviceSdk sdk;
  SdkDevice device(sdk);
  framework::SettingsStore settings = Settings(GetParam().text);
  device.Configure(settings);
  EXPECT_EQ(device.MaxOpenRetry(), GetParam().max_open_retry);
  EXPECT_EQ(device.IsHid(), GetParam().is_hid);
}

INSTANTIATE_TEST_SUITE_P(
    Values, NumberSettingTest,
    ::testing::Values(NumberSettingCase{L"", 3, 0},
                      NumberSettingCase{L"[DeviceModel]\nMaxOpenRetry=0\n", 0, 0},
                      NumberSettingCase{L"[DeviceModel]\nMaxOpenRetry=-1\n", -1, 0},
                      NumberSettingCase{L"[DeviceModel]\nMaxOpenRetry=-2\n", 3, 0},
                      NumberSettingCase{L"[DeviceModel]\nMaxOpenRetry=-100\n", 3, 0},
                      NumberSettingCase{L"[DeviceModel]\nMaxOpenRetry=abc\n", 3, 0},
                      NumberSettingCase{L"[DeviceModel]\nMaxOpenRetry=0x10\nIsHid=1\n", 16, 1},
                      NumberSettingCase{L"[DeviceModel]\nMaxOpenRetry=010\nIsHid=0x1\n", 8, 1},
                      NumberSettingCase{L"[Setting]\nMaxOpenRetry=7\nIsHid=1\n", 3, 0}));

// --- choosing the one drive ----------------------------------------------

TEST_F(SdkDeviceTest, OneDriveBecomesTheCurrentDeviceWithLowerCaseLetters) {
  sdk.AddDrive('E', 'F');
  SdkDevice device(sdk);
  ASSERT_TRUE(device.Open().IsSuccess());
  EXPECT_EQ(device.CurrentPair(), (DrivePair{'f', 'e'}));
  EXPECT_EQ(device.CurrentLetter(), 'f');
  char removable = 0;
  char cd = 0;
  EXPECT_TRUE(device.GetRemovableLetter(removable).IsSuccess());
  EXPECT_TRUE(device.GetCdLetter(cd).IsSuccess());
  EXPECT_EQ(removable, 'f');
  EXPECT_EQ(cd, 'e');
}

TEST_F(SdkDeviceTest, OpenCallsTheSdkInOrderWithTheTokenArrayPrepared) {
  sdk.AddDrive('e', 'f');
  SdkDevice device(sdk);
  framework::SettingsStore settings = Settings(L"[DeviceModel]\nIsHid=1\n");
  device.Configure(settings);
  ASSERT_TRUE(device.Open().IsSuccess());
  EXPECT_THAT(sdk.calls, ElementsAre("CloseApi", "CloseApi", "InitApi", "ForceHidMode(1)",
                                     "ListTokens", "GetDeviceInfo(f)"));
  EXPECT_FALSE(sdk.arrays_passed);
  EXPECT_EQ(sdk.pairs, 0u);
}

TEST_F(SdkDeviceTest, TheVpFiltersGoToTheListingInTheirOrder) {
  sdk.AddDrive('e', 'f');
  SdkDevice device(sdk);
  framework::SettingsStore settings =
      Settings(L"[DeviceModel]\nVPFilter1=0x0693,0x0203\nVPFilter2=0x056E,7\n");
  device.Configure(settings);
  ASSERT_TRUE(device.Open().IsSuccess());
  EXPECT_TRUE(sdk.arrays_passed);
  EXPECT_EQ(sdk.pairs, 2u);
  EXPECT_THAT(sdk.vendors, ElementsAre(0x0693u, 0x056Eu));
  EXPECT_THAT(sdk.products, ElementsAre(0x0203u, 7u));
}

TEST_F(SdkDeviceTest, TwoTokensOfTheSameDriveCountAsOne) {
  sdk.AddDrive('e', 'f');
  sdk.AddDrive('E', 'F');
  SdkDevice device(sdk);
  EXPECT_TRUE(device.Open().IsSuccess());
  EXPECT_EQ(device.CurrentPair(), (DrivePair{'f', 'e'}));
}

TEST_F(SdkDeviceTest, TwoDrivesGiveManyDeviceFoundAndLeaveNothingOpen) {
  sdk.AddDrive('g', 'h');
  sdk.AddDrive('e', 'f');
  SdkDevice device(sdk);
  const Result opened = device.Open();
  EXPECT_THAT(opened.Codes(), ElementsAre(framework::hi::ManyDeviceFound));
  EXPECT_EQ(device.CurrentPair(), DrivePair{});
  EXPECT_EQ(device.CurrentLetter(), 0);
  EXPECT_EQ(sdk.calls.back(), "CloseApi");
  EXPECT_FALSE(sdk.initialised);
}

TEST_F(SdkDeviceTest, ControllerMode7TakesTheCdLetterFromTheThirdRole) {
  sdk.tokens.push_back({'G', 'E', 'F'});
  sdk.infos['F'] = FakeDeviceSdk::Info{"0693", "01.02.08", 7};
  SdkDevice device(sdk);
  ASSERT_TRUE(device.Open().IsSuccess());
  EXPECT_EQ(device.CurrentPair(), (DrivePair{'f', 'g'}));
}

TEST_F(SdkDeviceTest, TheQueryLetterFallsBackFromSecondToFirstToThirdRole) {
  sdk.tokens.push_back({'g', 'e', 0});
  sdk.infos['E'] = {};
  SdkDevice device(sdk);
  ASSERT_TRUE(device.Open().IsSuccess());
  EXPECT_EQ(sdk.Count("GetDeviceInfo(e)"), 1);
  // No removable letter: the current letter is the CD-ROM letter.
  EXPECT_EQ(device.CurrentPair(), (DrivePair{0, 'e'}));
  EXPECT_EQ(device.CurrentLetter(), 'e');
}

TEST_F(SdkDeviceTest, UnusableTokensAreSkipped) {
  sdk.tokens.push_back({0, 0, 0});          // no letter at all
  sdk.AddDrive('g', 'h', {.failures = 4});  // its query fails four times
  sdk.AddDrive('e', 'f');
  SdkDevice device(sdk);
  ASSERT_TRUE(device.Open().IsSuccess());
  EXPECT_EQ(device.CurrentPair(), (DrivePair{'f', 'e'}));
  EXPECT_EQ(sdk.Count("GetDeviceInfo(h)"), 4);
  EXPECT_THAT(runtime.pauses, ElementsAre(100u, 100u, 100u));
}

TEST_F(SdkDeviceTest, NoUsableTokenGivesDeviceNotFoundAlone) {
  sdk.tokens.push_back({0, 0, 0});
  sdk.AddDrive('e', 'f', {.failures = 4});
  SdkDevice device(sdk);
  EXPECT_THAT(device.Open().Codes(), ElementsAre(framework::tq::DeviceNotFound));
  EXPECT_EQ(device.CurrentLetter(), 0);
}

TEST_F(SdkDeviceTest, ATokenWithOnlyAThirdRoleGivesAPairWithoutLettersAndNoDrive) {
  sdk.tokens.push_back({'g', 0, 0});
  sdk.infos['G'] = {};
  SdkDevice device(sdk);
  EXPECT_THAT(device.Open().Codes(), ElementsAre(framework::tq::DeviceNotFound));
  EXPECT_EQ(sdk.calls.back(), "CloseApi");
}

// --- listing retries -----------------------------------------------------

struct RetryCase {
  const wchar_t* max_open_retry;
  int listings;
  std::vector<ResultCode> codes;  // Enumerate's result
};

void PrintTo(const RetryCase& c, std::ostream* os) {
  *os << "MaxOpenRetry " << ::testing::PrintToString(std::wstring(c.max_open_retry));
}

class ListingRetryTest : public ::testing::TestWithParam<RetryCase> {};

TEST_P(ListingRetryTest, AFailingListingIsRepeatedMaxOpenRetryTimes) {
  testing::FakeRuntime runtime;
  FakeDeviceSdk sdk;
  sdk.list_codes = {19, 19, 19, 19, 19, 19};
  SdkDevice device(sdk);
  framework::SettingsStore settings =
      Settings(std::wstring(L"[DeviceModel]\nMaxOpenRetry=") + GetParam().max_open_retry + L"\n");
  device.Configure(settings);
  ASSERT_TRUE(device.CreateDeviceMutex().IsSuccess());
  std::vector<DrivePair> pairs;
  const Result enumerated = device.Enumerate(pairs);
  EXPECT_EQ(enumerated.Codes(), GetParam().codes);
  EXPECT_EQ(sdk.Count("ListTokens"), GetParam().listings);
  EXPECT_EQ(runtime.pauses,
            std::vector<std::uint32_t>(GetParam().listings > 0 ? GetParam().listings - 1 : 0, 300));
  EXPECT_THAT(pairs, IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Values, ListingRetryTest,
    ::testing::Values(
        RetryCase{L"3", 4, {LineCode(946), LineCode(912), kSdkNoDrive}},
        RetryCase{L"abc", 4, {LineCode(946), LineCode(912), kSdkNoDrive}},
        RetryCase{L"1", 2, {LineCode(946), LineCode(912), kSdkNoDrive}},
        RetryCase{L"0", 1, {LineCode(946), LineCode(912), kSdkNoDrive}},
        RetryCase{L"-1", 0, {LineCode(946), LineCode(915), framework::tq::DeviceNotFound}},
        // Below -1 the listing would be repeated practically without end:
        // such a value is read as 3.
        RetryCase{L"-2", 4, {LineCode(946), LineCode(912), kSdkNoDrive}}));

TEST_F(SdkDeviceTest, AListingThatSucceedsOnARetryEndsTheRetries) {
  sdk.list_codes = {19, 93};
  sdk.AddDrive('e', 'f');
  SdkDevice device(sdk);
  EXPECT_TRUE(device.Open().IsSuccess());
  EXPECT_EQ(sdk.Count("ListTokens"), 3);
  EXPECT_THAT(runtime.pauses, ElementsAre(300u, 300u));
}

TEST_F(SdkDeviceTest, AFilteredListingFailureCarriesSite944AndOpenAddsSite846) {
  sdk.list_codes = {34};
  SdkDevice device(sdk);
  framework::SettingsStore settings = Settings(L"[DeviceModel]\nVPFilter1=1,2\nMaxOpenRetry=0\n");
  device.Configure(settings);
  EXPECT_THAT(device.Open().Codes(),
              ElementsAre(LineCode(846), LineCode(944), LineCode(912), kSdkDevice));
}

TEST_F(SdkDeviceTest, AFailedInitialisationCarriesSite923AndNoListingRuns) {
  sdk.init_code = 1;
  SdkDevice device(sdk);
  EXPECT_THAT(device.Open().Codes(),
              ElementsAre(LineCode(846), LineCode(923), framework::CT47Base + 1));
  EXPECT_EQ(sdk.Count("ListTokens"), 0);
}

class TokenCountTest : public ::testing::TestWithParam<std::int64_t> {};

TEST_P(TokenCountTest, ACountOfZeroOrAbove32IsAnInvalidDevice) {
  FakeDeviceSdk sdk;
  sdk.AddDrive('e', 'f');
  sdk.reported_count = GetParam();
  SdkDevice device(sdk);
  EXPECT_THAT(device.Open().Codes(), ElementsAre(LineCode(846), LineCode(948), kInvalidDevice));
  EXPECT_EQ(sdk.Count("GetDeviceInfo(f)"), 0);
}

INSTANTIATE_TEST_SUITE_P(Values, TokenCountTest, ::testing::Values(0, 33));

// --- information queries -------------------------------------------------

TEST_F(SdkDeviceTest, WithoutACurrentDeviceTheQueryGivesDeviceNotFoundAlone) {
  SdkDevice device(sdk);
  ASSERT_TRUE(device.CreateDeviceMutex().IsSuccess());
  KatDeviceInfoRecord record{};
  EXPECT_THAT(device.GetDeviceInfo(record).Codes(), ElementsAre(framework::tq::DeviceNotFound));
  EXPECT_EQ(sdk.calls, std::vector<std::string>{});
}

TEST_F(SdkDeviceTest, AQueryIsRetriedThreeTimesAndLeavesTheRecordZeroWhenAllFail) {
  sdk.AddDrive('e', 'f');
  SdkDevice device(sdk);
  ASSERT_TRUE(device.Open().IsSuccess());
  runtime.pauses.clear();
  sdk.infos['F'].failures = 4;
  sdk.infos['F'].fail_code = 21;
  KatDeviceInfoRecord record;
  std::memset(&record, 0xAB, sizeof record);
  EXPECT_THAT(device.GetDeviceInfo(record).Codes(),
              ElementsAre(LineCode(1387), LineCode(1396), framework::CT47Base + 21));
  EXPECT_THAT(runtime.pauses, ElementsAre(100u, 100u, 100u));
  const KatDeviceInfoRecord zero{};
  EXPECT_EQ(std::memcmp(&record, &zero, sizeof record), 0);
}

TEST_F(SdkDeviceTest, AQueryThatSucceedsOnTheLastRetryIsASuccess) {
  sdk.AddDrive('e', 'f');
  SdkDevice device(sdk);
  ASSERT_TRUE(device.Open().IsSuccess());
  sdk.infos['F'].failures = 3;
  KatDeviceInfoRecord record{};
  ASSERT_TRUE(device.GetDeviceInfo(record).IsSuccess());
  EXPECT_EQ(record.size, 299u);
  EXPECT_STREQ(record.version_text, "01.02.08");
}

TEST_F(SdkDeviceTest, AFailedLetterQueryCarriesItsSiteAndLeavesTheLetterUntouched) {
  sdk.AddDrive('e', 'f');
  SdkDevice device(sdk);
  ASSERT_TRUE(device.Open().IsSuccess());
  sdk.infos['F'].failures = 8;
  char removable = '?';
  char cd = '?';
  EXPECT_THAT(device.GetRemovableLetter(removable).Codes(),
              ElementsAre(LineCode(993), LineCode(1387), LineCode(1396), kSdkDevice));
  EXPECT_THAT(device.GetCdLetter(cd).Codes(),
              ElementsAre(LineCode(1005), LineCode(1387), LineCode(1396), kSdkDevice));
  EXPECT_EQ(removable, '?');
  EXPECT_EQ(cd, '?');
}

// --- closing and the SDK's return codes --------------------------------------

struct CloseCase {
  std::int32_t close_code;
  bool initialised;
  std::vector<ResultCode> codes;
};

void PrintTo(const CloseCase& c, std::ostream* os) {
  *os << "close code " << c.close_code << (c.initialised ? ", initialised" : ", not initialised");
}

class CloseTest : public ::testing::TestWithParam<CloseCase> {};

TEST_P(CloseTest, AnSdkThatWasNotInitialisedCountsAsClosed) {
  FakeDeviceSdk sdk;
  sdk.close_code = GetParam().close_code;
  sdk.initialised = GetParam().initialised;
  SdkDevice device(sdk);
  EXPECT_EQ(device.Close().Codes(), GetParam().codes);
}

INSTANTIATE_TEST_SUITE_P(Values, CloseTest,
                         ::testing::Values(CloseCase{0, true, {}},
                                           CloseCase{0, false, {}},  // 77 from the fake
                                           CloseCase{77, true, {}},
                                           CloseCase{34, true, {kSdkDevice}}));

TEST_F(SdkDeviceTest, DestroyingTheDeviceClosesTheSdk) {
  sdk.AddDrive('e', 'f');
  {
    SdkDevice device(sdk);
    ASSERT_TRUE(device.Open().IsSuccess());
    ASSERT_TRUE(sdk.initialised);
  }
  EXPECT_FALSE(sdk.initialised);
  EXPECT_EQ(sdk.calls.back(), "CloseApi");
}

struct SdkCodeCase {
  std::int32_t sdk_code;
  std::vector<ResultCode> codes;
};

void PrintTo(const SdkCodeCase& c, std::ostream* os) {
  *os << "SDK code " << c.sdk_code;
}

class SdkResultTest : public ::testing::TestWithParam<SdkCodeCase> {};

TEST_P(SdkResultTest, SdkCodesGetTheirFacilityUnlessTheyCannot) {
  EXPECT_EQ(SdkResult(GetParam().sdk_code).Codes(), GetParam().codes);
}

INSTANTIATE_TEST_SUITE_P(Values, SdkResultTest,
                         ::testing::Values(SdkCodeCase{0, {}}, SdkCodeCase{19, {0x7F660013}},
                                           SdkCodeCase{0xFFFF, {0x7F66FFFF}},
                                           SdkCodeCase{0x10000, {0x10000}},
                                           SdkCodeCase{0x20000005, {0x20000005}},
                                           SdkCodeCase{-1, {0xFFFFFFFF}}));

// --- the device mutex ----------------------------------------------------

TEST_F(SdkDeviceTest, TheDeviceMutexIsOwnedOnlyDuringTheDeviceSteps) {
  sdk.AddDrive('e', 'f');
  sdk.probe_mutex = true;
  {
    SdkDevice device(sdk);
    ASSERT_TRUE(device.CreateDeviceMutex().IsSuccess());
    ASSERT_TRUE(device.Open().IsSuccess());
    char letter = 0;
    ASSERT_TRUE(device.GetCdLetter(letter).IsSuccess());
  }
  ASSERT_EQ(sdk.calls.size(), sdk.probes.size());
  for (std::size_t i = 0; i < sdk.calls.size(); ++i) {
    const bool inside = sdk.calls[i] != "CloseApi";
    EXPECT_EQ(sdk.probes[i], inside) << sdk.calls[i] << " (call " << i << ")";
  }
  EXPECT_FALSE(testing::DeviceMutexOwned(5000));
}

// A mutex port whose mutexes cannot be created or opened.
class RefusingMutexes final : public platform::MutexPort {
 public:
  std::uint32_t MakeOpenToAllSecurity(platform::MutexSecurity& security) override {
    security.open_to_all = true;
    return 0;
  }
  platform::HandleAnswer Create(const std::string&, const platform::MutexSecurity*, bool) override {
    return {platform::kNullHandle, 5};
  }
  platform::HandleAnswer Open(const std::string&, bool) override {
    return {platform::kNullHandle, 2};
  }
  std::uint32_t Release(platform::NativeHandle) override { return 6; }
};

TEST_F(SdkDeviceTest, ADeviceMutexThatCannotBeCreatedOrOpenedStopsTheStepBeforeTheSdk) {
  RefusingMutexes mutexes;
  platform::ScopedPortOverride<platform::MutexPort> refuse(platform::MutexSlot(), mutexes);
  sdk.AddDrive('e', 'f');
  SdkDevice device(sdk);
  EXPECT_FALSE(device.CreateDeviceMutex().IsSuccess());
  EXPECT_THAT(device.Open().Codes(), ElementsAre(LineCode(842), framework::tq::MutexError));
  EXPECT_THAT(sdk.calls, IsEmpty());

  std::vector<DrivePair> pairs;
  EXPECT_THAT(device.Enumerate(pairs).Codes(),
              ElementsAre(LineCode(921), framework::tq::MutexTimeout, LineCode(677), 2u));
  KatDeviceInfoRecord record{};
  EXPECT_THAT(device.GetDeviceInfo(record).Codes(),
              ElementsAre(LineCode(1384), framework::tq::MutexTimeout, LineCode(677), 2u));
  EXPECT_EQ(sdk.Count("InitApi"), 0);
  EXPECT_EQ(sdk.Count("GetDeviceInfo(f)"), 0);
}

}  // namespace
}  // namespace kelvane::frontend
