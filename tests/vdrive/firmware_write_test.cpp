// The drive takes a firmware image only from a host whose login opened
// area 1 and has not been locked since.
#include <gtest/gtest.h>

#include "platform/virtual/hex.h"
#include "tests/support/virtual_drive_fixture.h"

namespace kelvane::vdrive {
namespace {

using nlohmann::json;

json WriteRequest(std::size_t length, const char* cdb = "061f0000000000000000b180") {
  return {{"op", "scsi"}, {"letter", "F"}, {"cdb", cdb}, {"dir", "out"}, {"length", length},
          {"timeout", 10}, {"data", platform::ToHex(std::vector<std::uint8_t>(length, 0x5A))}};
}

TEST(FirmwareWriteTest, RefusedWithoutALoginAndKeepsTheOldFirmware) {
  testing::InProcessVdrive vdrive;
  // Area 1 open without a login (both bits set) is not enough either.
  json drive = testing::DefaultDriveJson();
  for (int states : {0x00, 0x0C}) {
    drive["area_states"] = states;
    vdrive.Load(testing::ProfileJson({drive}));
    const json answer = vdrive.Call(WriteRequest(64512));
    EXPECT_EQ(answer["scsi_status"], 2) << states;
    EXPECT_EQ(answer["sense"].get<std::string>().substr(4, 2), "07") << "DATA PROTECT";
    const json state = vdrive.Call({{"op", "drive_state"}})["state"];
    EXPECT_EQ(state["firmware_version"], "01.02.08");
    EXPECT_EQ(state["firmware"]["writes_refused"], 1);
    EXPECT_EQ(state["firmware"]["image_length"], 0);
  }
}

TEST(FirmwareWriteTest, MalformedWritesAreInvalidFields) {
  testing::InProcessVdrive vdrive;
  for (const json& request : {WriteRequest(512), WriteRequest(64512, "061f0000000000000000b100")}) {
    const json answer = vdrive.Call(request);
    EXPECT_EQ(answer["scsi_status"], 2);
    EXPECT_EQ(answer["sense"].get<std::string>().substr(24, 2), "24") << "INVALID FIELD IN CDB";
  }
}

}  // namespace
}  // namespace kelvane::vdrive
