// The device search over the front end's build of the SDK and the virtual
// drive: what the report says for the drives a PC has attached.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "frontend/device_search.h"
#include "frontend/kat_device_sdk.h"
#include "tests/frontend/dialog_fixture.h"
#include "tests/support/virtual_drive_fixture.h"

namespace kelvane::testing {
namespace {

using ::testing::ElementsAre;

struct PcCase {
  const char* name;
  std::function<nlohmann::json()> profile;
  std::string report;
};

void PrintTo(const PcCase& c, std::ostream* os) {
  *os << c.name;
}

nlohmann::json Drive(std::function<void(nlohmann::json&)> change = {}) {
  nlohmann::json drive = DefaultDriveJson();
  if (change) {
    change(drive);
  }
  return drive;
}

const std::string kNotFoundHead =
    "\r\nデバイスが見つかりません。\r\nセキュリティUSBを接続してからデバイス検索をしてください。\r"
    "\n";

class VdriveSearchTest : public ::testing::TestWithParam<PcCase> {};

TEST_P(VdriveSearchTest, TheReportDescribesTheAttachedDrives) {
  FakeRuntime runtime;
  ProgramFolder folder;
  folder.PlaceWriter("exit 0");
  InProcessVdrive pc;
  pc.Load(GetParam().profile());
  FakeView view;
  frontend::UpdaterDialog dialog(view,
                                 frontend::DeviceAccess{frontend::LinkedDeviceSdk(), 5000, {}});
  dialog.DoModal();
  EXPECT_EQ(view.log_at_init, GetParam().report);
}

INSTANTIATE_TEST_SUITE_P(
    Profiles, VdriveSearchTest,
    ::testing::Values(
        PcCase{"OneTargetDrive", [] { return ProfileJson({Drive()}); }, kFoundReport},
        PcCase{"SecondVendor",
               [] {
                 return ProfileJson({Drive([](nlohmann::json& d) { d["vendor_id"] = "0x056E"; })});
               },
               kFoundReport},
        PcCase{
            "TwoDrives",
            [] {
              return ProfileJson(
                  {Drive(), Drive([](nlohmann::json& d) {
                     d["name"] = "second";
                     d["serial"] = "KV9876543210";
                     d["units"] = {{{"letter", "G"}, {"type", 5}}, {{"letter", "H"}, {"type", 2}}};
                   })});
            },
            "\r\n複数のデバイスが接続されています。\r\nセキュリティUSBを一台のみ接続してもう一度デ"
            "バイス検索をしてください。"},
        PcCase{"AlreadyUpdated",
               [] {
                 return ProfileJson({Drive([](nlohmann::json& d) { d["version"] = "01.03.10"; })});
               },
               "\r\nアップデート済みのデバイスが見つかりました\r\n"},
        PcCase{"NewerFirmwareStillNeedsTheUpdate",
               [] {
                 return ProfileJson({Drive([](nlohmann::json& d) { d["version"] = "01.04.00"; })});
               },
               kFoundReport},
        PcCase{"ForeignVendor",
               [] {
                 return ProfileJson({Drive([](nlohmann::json& d) { d["vendor_id"] = "0x1234"; })});
               },
               kNotFoundHead + "0x33f50002:InvalidVendorID,0x20000048:Line(72),"},
        PcCase{
            "NoDrive", [] { return ProfileJson({}); },
            kNotFoundHead +
                "0x7f660013:UDVErrorcDriveLetterNotFound,0x20000390:Line(912),0x200003b2:Line(946),"
                "0x2000034e:Line(846),0x20000041:Line(65),"}),
    [](const ::testing::TestParamInfo<PcCase>& param_info) {
      return std::string(param_info.param.name);
    });

TEST(VdriveSearchRetryTest, NoDriveListsFourTimesWithThreePauses) {
  FakeRuntime runtime;
  ProgramFolder folder;
  folder.PlaceWriter("exit 0");
  InProcessVdrive pc;
  pc.Load(ProfileJson({}));
  FakeView view;
  frontend::UpdaterDialog dialog(view,
                                 frontend::DeviceAccess{frontend::LinkedDeviceSdk(), 5000, {}});
  const framework::Result search = frontend::SearchAndReport(dialog);
  EXPECT_EQ(search.LastCode(), framework::CT47Base + 19);
  EXPECT_EQ(std::count(runtime.pauses.begin(), runtime.pauses.end(), 300u), 3);
}

TEST(VdriveSearchWriterTest, AMissingWriterSendsNothingToTheDrive) {
  FakeRuntime runtime;
  ProgramFolder folder;
  InProcessVdrive pc;
  FakeView view;
  frontend::UpdaterDialog dialog(view,
                                 frontend::DeviceAccess{frontend::LinkedDeviceSdk(), 5000, {}});
  dialog.DoModal();
  EXPECT_EQ(view.log_at_init, "\r\ntolvak.exeが見つかりません。\r\n");
  EXPECT_TRUE(pc.Log().empty());
}

}  // namespace
}  // namespace kelvane::testing
