// The device search and its report in the log box, at start-up and on the
// search button.
#include "frontend/device_search.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "frontend/dialog_template.h"
#include "tests/frontend/dialog_fixture.h"

namespace kelvane::testing {
namespace {

using framework::LineCode;
using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::HasSubstr;

const std::string kNotFoundHead =
    "\r\nデバイスが見つかりません。\r\nセキュリティUSBを接続してからデバイス検索をしてください。\r"
    "\n";

class SearchTest : public DialogTest {
 protected:
  // Runs the dialog, whose start-up search is the one under test; returns
  // the log box text of the opened dialog.
  std::string SearchReport() {
    Run();
    return view.log_at_init;
  }
};

TEST_F(SearchTest, TheDialogOpensWithTheFoundDeviceReport) {
  sdk.AddDrive('E', 'F');
  Run();
  EXPECT_EQ(view.log_at_init, kFoundReport);
  EXPECT_EQ(view.icons_set, 1);
  // The start-up search is not an operation of the busy state.
  EXPECT_EQ(view.pumps, 0);
  EXPECT_TRUE(view.enable_calls.empty());
  EXPECT_TRUE(view.message_boxes.empty());
}

TEST_F(SearchTest, TheSearchButtonSearchesAgainAndReplacesTheReport) {
  sdk.AddDrive('e', 'f');
  Run([this](FakeView& v) {
    v.log_box = "typed by the user";
    sdk.tokens.clear();
    sdk.list_codes = {19, 19, 19, 19};
    v.Click(frontend::kSearchButtonId);
  });
  EXPECT_EQ(view.log_box,
            kNotFoundHead +
                "0x7f660013:UDVErrorcDriveLetterNotFound,0x20000390:Line(912),0x200003b2:Line(946),"
                "0x2000034e:Line(846),0x20000041:Line(65),");
  EXPECT_EQ(sdk.Count("ListTokens"), 1 + 4);
  EXPECT_TRUE(view.message_boxes.empty());
}

TEST_F(SearchTest, SeveralDrivesGiveTheManyDevicesTextWithoutAFinalLineBreak) {
  sdk.AddDrive('e', 'f');
  sdk.AddDrive('g', 'h');
  EXPECT_EQ(SearchReport(),
            "\r\n複数のデバイスが接続されています。\r\nセキュリティUSBを一台のみ接続してもう一度デ"
            "バイス検索をしてください。");
}

TEST_F(SearchTest, AMissingWriterIsReportedWithoutTouchingAnyDrive) {
  sdk.AddDrive('e', 'f');
  folder.RemoveWriter();
  EXPECT_EQ(SearchReport(), "\r\ntolvak.exeが見つかりません。\r\n");
  EXPECT_EQ(sdk.Count("InitApi"), 0);
  EXPECT_EQ(sdk.Count("ListTokens"), 0);
}

TEST_F(SearchTest, AFolderOfTheWritersNameCountsAsPresent) {
  sdk.AddDrive('e', 'f');
  folder.PlaceWriterFolder();
  EXPECT_EQ(SearchReport(), kFoundReport);
}

TEST_F(SearchTest, TokensWithoutAUsableDriveGiveDeviceNotFound) {
  sdk.tokens.push_back({0, 0, 0});
  EXPECT_EQ(SearchReport(), kNotFoundHead + "0x617a004a:DeviceNotFound,0x20000041:Line(65),");
}

TEST_F(SearchTest, AFailedInformationQueryAfterTheChoiceCarriesSite68) {
  sdk.AddDrive('e', 'f', {.answers = 1, .failures = 4, .fail_code = 21});
  EXPECT_EQ(SearchReport(),
            kNotFoundHead +
                "0x7f660015:UDVErrorGetDeviceInfo,0x20000574:Line(1396),0x2000056b:Line(1387),"
                "0x20000044:Line(68),");
}

struct VendorCase {
  const char* vendor_text;
  bool accepted;
};

void PrintTo(const VendorCase& c, std::ostream* os) {
  *os << "vendor text \"" << c.vendor_text << "\"";
}

class VendorTest : public SearchTest, public ::testing::WithParamInterface<VendorCase> {};

TEST_P(VendorTest, OnlyTheTwoSupportedVendorsPass) {
  sdk.AddDrive('e', 'f', {.vendor_text = GetParam().vendor_text});
  const std::string report = SearchReport();
  if (GetParam().accepted) {
    EXPECT_EQ(report, kFoundReport);
  } else {
    EXPECT_EQ(report, kNotFoundHead + "0x33f50002:InvalidVendorID,0x20000048:Line(72),");
  }
}

INSTANTIATE_TEST_SUITE_P(Values, VendorTest,
                         ::testing::Values(VendorCase{"0693", true}, VendorCase{"056E", true},
                                           VendorCase{"693", true}, VendorCase{"056e", true},
                                           VendorCase{"56E", true}, VendorCase{" 693", true},
                                           VendorCase{"0693X", true}, VendorCase{"1234", false},
                                           VendorCase{"", false}, VendorCase{"XYZ", false},
                                           VendorCase{"10693", false}));

struct VersionCase {
  const char* version_text;
  bool needs_update;
};

void PrintTo(const VersionCase& c, std::ostream* os) {
  *os << "version text \"" << c.version_text << "\"";
}

class VersionTest : public SearchTest, public ::testing::WithParamInterface<VersionCase> {};

TEST_P(VersionTest, OnlyTheTargetVersionCountsAsUpdated) {
  sdk.AddDrive('e', 'f', {.version_text = GetParam().version_text});
  const std::string report = SearchReport();
  EXPECT_EQ(report, GetParam().needs_update ? kFoundReport
                                            : "\r\nアップデート済みのデバイスが見つかりました\r\n");
}

INSTANTIATE_TEST_SUITE_P(Values, VersionTest,
                         ::testing::Values(VersionCase{"01.03.10", false},
                                           VersionCase{"01.03.09", true},
                                           VersionCase{"01.03.11", true},
                                           VersionCase{"01.04.00", true},
                                           VersionCase{"01.03.1", true}, VersionCase{"", true}));

struct LetterCase {
  const char* name;
  FakeDeviceSdk::Info info;
  FakeDeviceSdk::Token token;
  std::string report;
};

void PrintTo(const LetterCase& c, std::ostream* os) {
  *os << c.name;
}

class LetterTest : public SearchTest, public ::testing::WithParamInterface<LetterCase> {};

// The report's letter lines stop where a letter is missing.
TEST_P(LetterTest, AMissingLetterCutsTheReport) {
  sdk.tokens.push_back(GetParam().token);
  sdk.infos['F'] = GetParam().info;
  EXPECT_EQ(SearchReport(), GetParam().report);
}

const std::string kFoundLine = "\r\nアップデート対象のデバイスが見つかりました\r\n";

INSTANTIATE_TEST_SUITE_P(
    Values, LetterTest,
    ::testing::Values(
        // Queries: listing, gate, removable letter, CD-ROM letter.
        LetterCase{
            "CdQueryFails", {.answers = 3, .failures = 4}, {0, 'e', 'f'}, kFoundLine + "CD\t\t: "},
        LetterCase{"RemovableQueryFails",
                   {.answers = 2, .failures = 4},
                   {0, 'e', 'f'},
                   kFoundLine + "CD\t\t: e ドライブ\r\nリムーバブル\t: "},
        LetterCase{"NoCdLetter", {}, {0, 0, 'f'}, kFoundLine + "CD\t\t: "},
        LetterCase{"UpperCaseLetters", {}, {0, 'E', 'F'}, kFoundReport}),
    [](const ::testing::TestParamInfo<LetterCase>& param_info) {
      return std::string(param_info.param.name);
    });

TEST_F(SearchTest, NothingOfTheDeviceStaysOpenAfterASearch) {
  sdk.AddDrive('e', 'f');
  sdk.probe_mutex = true;
  SearchReport();
  EXPECT_FALSE(sdk.initialised);
  EXPECT_EQ(sdk.calls.back(), "CloseApi");
  EXPECT_FALSE(DeviceMutexOwned(5000));
}

TEST_F(SearchTest, SearchAndReportReturnsTheSearchResult) {
  sdk.AddDrive('e', 'f', {.version_text = "01.03.10"});
  frontend::UpdaterDialog dialog(view, Access());
  const framework::Result search = frontend::SearchAndReport(dialog);
  EXPECT_THAT(search.Codes(),
              ElementsAre(LineCode(75), framework::kelvane_code::FoundLastestVersion));
  EXPECT_EQ(dialog.LogText(), "\r\nアップデート済みのデバイスが見つかりました\r\n");
}

TEST_F(SearchTest, TheSearchReadsTheDeviceSettingsOfEachSearch) {
  sdk.list_codes = {19, 19, 19, 19, 19, 19, 19, 19};
  int loads = 0;
  frontend::DeviceAccess access{
      sdk, 2000, [&loads] {
        ++loads;
        framework::SettingsStore settings;
        settings.Parse(L"[DeviceModel]\nMaxOpenRetry=0\nVPFilter1=0x0693,0x0203\n");
        return settings;
      }};
  frontend::UpdaterDialog dialog(view, access);
  frontend::SearchAndReport(dialog);
  frontend::SearchAndReport(dialog);
  EXPECT_EQ(loads, 2);
  EXPECT_EQ(sdk.Count("ListTokens"), 2);  // no retries
  EXPECT_THAT(dialog.LogText(),
              EndsWith("0x200003b0:Line(944),0x2000034e:Line(846),0x20000041:Line(65),"));
}

TEST_F(SearchTest, MaxOpenRetryMinusOneSkipsTheListing) {
  frontend::DeviceAccess access{sdk, 2000, [] {
                                  framework::SettingsStore settings;
                                  settings.Parse(L"[DeviceModel]\nMaxOpenRetry=-1\n");
                                  return settings;
                                }};
  sdk.AddDrive('e', 'f');
  frontend::UpdaterDialog dialog(view, access);
  frontend::SearchAndReport(dialog);
  EXPECT_EQ(sdk.Count("ListTokens"), 0);
  EXPECT_THAT(dialog.LogText(),
              HasSubstr("0x617a004a:DeviceNotFound,0x20000393:Line(915),0x200003b2:Line(946),"));
}

}  // namespace
}  // namespace kelvane::testing
