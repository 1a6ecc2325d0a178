// The real tolvak program against a kelvane-vdrive server: exact standard
// output, exit code, and what reached which drive (the server's log).
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>

#include "platform/virtual/hex.h"
#include "platform/virtual/socket_channel.h"
#include "platform/virtual/virtual_drives.h"
#include "tests/support/run_program.h"
#include "tests/support/server_process.h"
#include "tests/support/virtual_drive_fixture.h"

namespace kelvane::testing {
namespace {

using nlohmann::json;

constexpr char kSuccessText[] = "Ok!\n\n\nSuccess!\n\n Update Firmware Finish!";
constexpr char kUpToDateText[] =
    "\nThe device is the latest firmware version. No update required.\n"
    "Fail - 2 The device is the latest firmware version. No update required.";
constexpr char kNotTargetText[] =
    "\nIdentifying the USB device failed\nFail - 1 Identifying the USB device failed";

class TolvakTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server_.ready()) << "kelvane-vdrive did not start";
  }

  void Load(const json& profile) {
    const json answer = control_.Call({{"op", "load_profile"}, {"profile", profile}});
    ASSERT_EQ(answer["ok"], true) << answer.dump();
  }

  ProgramRun RunTolvak() {
    return RunProgram(BinDir() + "/tolvak", {}, {{"KELVANE_VDRIVE", server_.socket_path()}});
  }

  json Log(bool with_data = false) { return control_.Call({{"op", "log"}, {"data", with_data}})["log"]; }
  json State(int drive = 0) { return control_.Call({{"op", "drive_state"}, {"drive", drive}})["state"]; }

  // The CDB prefixes (as hex) of every logged command.
  std::multiset<std::string> Commands(const std::string& letter = "") {
    std::multiset<std::string> commands;
    for (const json& entry : Log()) {
      if (letter.empty() || entry["letter"] == letter) commands.insert(entry["cdb"].get<std::string>());
    }
    return commands;
  }

  bool Sent(const std::string& prefix) {
    for (const std::string& cdb : Commands()) {
      if (cdb.rfind(prefix, 0) == 0) return true;
    }
    return false;
  }

  ServerProcess server_;
  platform::SocketChannel channel_{server_.socket_path()};
  platform::VirtualDrives control_{channel_};
};

std::vector<std::uint8_t> ImageFile() {
  std::ifstream file(std::string(KELVANE_SOURCE_DIR) + "/writer/images/firmware_image.bin", std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file), {});
}

json DriveWithVersion(const std::string& version) {
  json drive = DefaultDriveJson();
  drive["version"] = version;
  return drive;
}

TEST_F(TolvakTest, UpdatesTheDriveThenFindsItUpToDate) {
  const ProgramRun run = RunTolvak();
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.standard_output, kSuccessText);

  const json log = Log(true);
  std::vector<json> writes;
  for (const json& entry : log) {
    if (entry["cdb"].get<std::string>().rfind("061f", 0) == 0) writes.push_back(entry);
  }
  ASSERT_EQ(writes.size(), 1u) << "the image goes in one command";
  EXPECT_EQ(writes[0]["cdb"], "061f0000000000000000b180");
  EXPECT_EQ(writes[0]["length"], 64512);
  EXPECT_EQ(writes[0]["data"], platform::ToHex(ImageFile())) << "byte for byte the image file";
  EXPECT_EQ(writes[0]["scsi_status"], 0);

  const json state = State();
  EXPECT_EQ(state["firmware_version"], "01.03.10");
  EXPECT_EQ(state["firmware"]["writes_accepted"], 1);
  EXPECT_EQ(state["area_states"].get<int>() & 0x0C, 0) << "area 1 is locked again";
  EXPECT_EQ(state["area_states"].get<int>() & 0x03, 0x01) << "area 0 stays open";

  control_.Call({{"op", "clear_log"}});
  const ProgramRun again = RunTolvak();
  EXPECT_EQ(again.exit_code, 2);
  EXPECT_EQ(again.standard_output, kUpToDateText);
  EXPECT_FALSE(Sent("ff8")) << "an up-to-date drive gets no secure-mechanism command";
}

TEST_F(TolvakTest, NoDriveExitsThreeSilently) {
  Load(ProfileJson({}));
  const ProgramRun run = RunTolvak();
  EXPECT_EQ(run.exit_code, 3);
  EXPECT_EQ(run.standard_output, "");
}

TEST_F(TolvakTest, TwoDrivesExitFourAndOnlyEnumerationReachesThem) {
  json second = DefaultDriveJson();
  second["name"] = "second";
  second["serial"] = "KV9999";
  second["units"] = {{{"letter", "G"}, {"type", 5}}, {{"letter", "H"}, {"type", 2}}};
  Load(ProfileJson({DefaultDriveJson(), second}));
  const ProgramRun run = RunTolvak();
  EXPECT_EQ(run.exit_code, 4);
  EXPECT_EQ(run.standard_output, "");
  for (const std::string& cdb : Commands()) {
    const bool enumeration = cdb.rfind("12", 0) == 0 || cdb.rfind("0605", 0) == 0;
    EXPECT_TRUE(enumeration) << "unexpected command " << cdb;
  }
}

TEST_F(TolvakTest, TokenWithoutUnitFailsIdentification) {
  // Mode 30 has one unit; the drive's only letter sits at unit 1, so unit
  // byte 0 of the token is empty.
  json drive = DefaultDriveJson();
  drive["mode"] = 30;
  drive["units"] = {{{"letter", nullptr}, {"type", 2}}, {{"letter", "F"}, {"type", 2}}};
  Load(ProfileJson({drive}));
  const ProgramRun run = RunTolvak();
  EXPECT_EQ(run.exit_code, 34);
  EXPECT_EQ(run.standard_output, "Fail - 34");
}

struct GateCase {
  const char* name;
  json change;
  int exit_code;
  const char* output;
};

class TolvakGateTest : public TolvakTest, public ::testing::WithParamInterface<GateCase> {};

TEST_P(TolvakGateTest, GatesBeforeTheSecureMechanism) {
  json drive = DefaultDriveJson();
  drive.merge_patch(GetParam().change);
  Load(ProfileJson({drive}));
  const ProgramRun run = RunTolvak();
  EXPECT_EQ(run.exit_code, GetParam().exit_code);
  EXPECT_EQ(run.standard_output, GetParam().output);
  EXPECT_FALSE(Sent("ff8")) << "no secure-mechanism command";
  EXPECT_FALSE(Sent("061f")) << "no write";
}

INSTANTIATE_TEST_SUITE_P(
    Gates, TolvakGateTest,
    ::testing::Values(
        GateCase{"NoVrMark", {{"patches", {{"identification", {{"378", "5852"}}}}}}, 1, kNotTargetText},
        GateCase{"OtherController", {{"chip_code", "0x7049"}}, 1, kNotTargetText},
        GateCase{"NoIspMark", {{"patches", {{"identification", {{"394", "00"}}}}}}, 1, kNotTargetText},
        GateCase{"FirmwareCodeFF04", {{"firmware_code", "0xFF04"}}, 1, kNotTargetText},
        GateCase{"FirmwareCodeFF0D", {{"firmware_code", "0xFF0D"}}, 1, kNotTargetText},
        GateCase{"Version0103", {{"version", "01.03.00"}}, 2, kUpToDateText},
        GateCase{"Version0104", {{"version", "01.04.00"}}, 2, kUpToDateText},
        GateCase{"Version0200", {{"version", "02.00.00"}}, 2, kUpToDateText}),
    [](const ::testing::TestParamInfo<GateCase>& p) { return std::string(p.param.name); });

TEST_F(TolvakTest, OlderVersionsGoAhead) {
  for (const char* version : {"01.02.08", "00.09.00"}) {
    Load(ProfileJson({DriveWithVersion(version)}));
    const ProgramRun run = RunTolvak();
    EXPECT_EQ(run.exit_code, 0) << version;
    EXPECT_EQ(run.standard_output, kSuccessText) << version;
  }
}

TEST_F(TolvakTest, AreaZeroRefusedGivesOneAndLeavesItAlone) {
  json drive = DefaultDriveJson();
  drive["secure_mechanism"] = {{"passwords", {"0badc0de", nullptr}}};
  Load(ProfileJson({drive}));
  const ProgramRun run = RunTolvak();
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.standard_output, "Fail - 1 Identifying the USB device failed");
  EXPECT_FALSE(Sent("ff8f000300")) << "area 0 is not closed";
  EXPECT_FALSE(Sent("ff8f000201")) << "area 1 is never tried";
  EXPECT_FALSE(Sent("061f"));
}

TEST_F(TolvakTest, AreaOneRefusingThePasswordGivesSeventyThree) {
  json drive = DefaultDriveJson();
  drive["secure_mechanism"] = {{"passwords", {nullptr, "0badc0de"}}};
  drive["area_states"] = 0x03;  // area 0 open without a login
  Load(ProfileJson({drive}));
  const ProgramRun run = RunTolvak();
  EXPECT_EQ(run.exit_code, 73);
  EXPECT_EQ(run.standard_output, "Fail - 73");
  EXPECT_FALSE(Sent("061f")) << "nothing is written";
  EXPECT_EQ(State()["area_states"].get<int>() & 0x0C, 0) << "area 1 is still closed";
  EXPECT_EQ(State()["firmware_version"], "01.02.08");
}

TEST_F(TolvakTest, WriteFailureGivesFortySevenAndClosesAreaOne) {
  control_.Call({{"op", "inject_fault"}, {"kind", "io_error"}, {"error", 1167}, {"prefix", "061f"}});
  const ProgramRun run = RunTolvak();
  EXPECT_EQ(run.exit_code, 47);
  EXPECT_EQ(run.standard_output, "Fail - 47");
  EXPECT_TRUE(Sent("ff8f000301")) << "area 1 is closed";
  const json state = State();
  EXPECT_EQ(state["area_states"].get<int>() & 0x0C, 0);
  EXPECT_EQ(state["firmware_version"], "01.02.08") << "the old firmware stays";
  EXPECT_EQ(state["firmware"]["writes_accepted"], 0);
}

}  // namespace
}  // namespace kelvane::testing
