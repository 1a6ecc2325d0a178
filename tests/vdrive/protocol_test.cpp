// The virtual drive protocol: the core operations and their answers to
// malformed requests, and the test control.
#include <gtest/gtest.h>

#include "tests/support/virtual_drive_fixture.h"
#include "vdrive/protocol.h"

namespace kelvane::vdrive {
namespace {

using nlohmann::json;

class ProtocolTest : public ::testing::Test {
 protected:
  json Line(const std::string& line) { return json::parse(handler_.HandleLine(line)); }
  json Call(const json& request) { return handler_.Handle(request); }

  VirtualPc pc_;
  ProtocolHandler handler_{pc_};
};

TEST_F(ProtocolTest, HelloAndDrivesOfTheDefaultPc) {
  EXPECT_EQ(Line(R"({"op":"hello","version":1})"), json::parse(R"({"ok":true,"version":1})"));
  EXPECT_EQ(Line(R"({"op":"drives"})"),
            json::parse(R"({"ok":true,"drives":[{"letter":"C","type":3},{"letter":"E","type":5},)"
                        R"({"letter":"F","type":2}]})"));
}

TEST_F(ProtocolTest, MalformedRequestsGetInvalidParameter) {
  const char* lines[] = {
      "not json",
      "[1,2]",
      R"({"version":1})",
      R"({"op":7})",
      R"({"op":"scsi","letter":5,"cdb":"120000002c0000000000000000","dir":"in","length":44})",
      R"({"op":"scsi","letter":"EF","cdb":"120000002c00000000000000","dir":"in","length":44})",
      R"({"op":"scsi","letter":"E","cdb":"12000","dir":"in","length":44})",
      R"({"op":"scsi","letter":"E","cdb":"1200","dir":"in","length":44})",
      R"({"op":"scsi","letter":"E","cdb":"120000002c00000000000000","dir":"sideways","length":44})",
      R"({"op":"scsi","letter":"E","cdb":"120000002c00000000000000","dir":"in","length":-1})",
      R"({"op":"scsi","letter":"E","cdb":"120000002c00000000000000","dir":"out","length":2,"data":"00"})",
      R"({"op":"scsi","letter":"E","cdb":"000000000000000000000000","dir":"none","length":4})",
      R"({"op":"scsi","letter":"E","cdb":"120000002c00000000000000","dir":"in"})",
      R"({"op":"inject_fault","kind":"meteor"})",
      R"({"op":"load_profile","profile":{"drives":[{"units":"E"}]}})",
  };
  for (const char* line : lines) {
    const json answer = Line(line);
    EXPECT_EQ(answer["ok"], false) << line;
    EXPECT_EQ(answer["error"], 87) << line;
  }
  EXPECT_EQ(Line(R"({"op":"hello"})")["ok"], true) << "the handler keeps serving";
}

TEST_F(ProtocolTest, UnknownOperationIsNotSupported) {
  EXPECT_EQ(Line(R"({"op":"hid_interfaces"})"), json::parse(R"({"ok":false,"error":50})"));
}

TEST_F(ProtocolTest, ScsiAnswers) {
  const json inquiry = Call({{"op", "scsi"}, {"letter", "e"}, {"cdb", "120000002c00000000000000"},
                             {"dir", "in"}, {"length", 44}, {"timeout", 10}, {"data", ""}});
  EXPECT_EQ(inquiry["ok"], true);
  EXPECT_EQ(inquiry["scsi_status"], 0);
  EXPECT_EQ(inquiry["data"].get<std::string>().size(), 88u);
  EXPECT_EQ(inquiry["sense"], "");

  const json unknown = Call({{"op", "scsi"}, {"letter", "E"}, {"cdb", "c70000000000000000000000"},
                             {"dir", "none"}, {"length", 0}, {"timeout", 10}, {"data", ""}});
  EXPECT_EQ(unknown["scsi_status"], 2);
  EXPECT_EQ(unknown["sense"].get<std::string>().substr(0, 6), "700005") << "ILLEGAL REQUEST";

  const json missing = Call({{"op", "scsi"}, {"letter", "Q"}, {"cdb", "000000000000000000000000"},
                             {"dir", "none"}, {"length", 0}, {"timeout", 10}, {"data", ""}});
  EXPECT_EQ(missing, json::parse(R"({"ok":false,"stage":"open","error":2})"));

  const json fixed = Call({{"op", "scsi"}, {"letter", "C"}, {"cdb", "060500000000000000000000"},
                           {"dir", "in"}, {"length", 528}, {"timeout", 10}, {"data", ""}});
  EXPECT_EQ(fixed["scsi_status"], 2) << "a fixed disk answers no vendor command";
}

TEST_F(ProtocolTest, FaultsFireOnTheNthMatchingCommand) {
  ASSERT_EQ(Call({{"op", "inject_fault"}, {"kind", "io_error"}, {"error", 121}, {"prefix", "0605"},
                  {"letter", "F"}, {"nth", 2}})["ok"],
            true);
  const json read = {{"op", "scsi"}, {"letter", "F"}, {"cdb", "060500000000000000000000"},
                     {"dir", "in"}, {"length", 528}, {"timeout", 10}, {"data", ""}};
  json on_e = read;
  on_e["letter"] = "E";
  EXPECT_EQ(Call(read)["ok"], true);
  EXPECT_EQ(Call(on_e)["ok"], true) << "another letter is not counted";
  EXPECT_EQ(Call(read), json::parse(R"({"ok":false,"stage":"io","error":121})"));
  EXPECT_EQ(Call(read)["ok"], true);

  Call({{"op", "inject_fault"}, {"kind", "short_transfer"}, {"length", 100}, {"prefix", "0605"}});
  EXPECT_EQ(Call(read)["data"].get<std::string>().size(), 200u);

  Call({{"op", "inject_fault"}, {"kind", "vanish"}, {"prefix", "0605"}});
  EXPECT_EQ(Call(read), json::parse(R"({"ok":false,"stage":"io","error":1167})"));
  EXPECT_EQ(Call(read), json::parse(R"({"ok":false,"stage":"open","error":2})"));
  EXPECT_EQ(Call({{"op", "drives"}})["drives"].size(), 1u) << "only C: is left";

  Call({{"op", "reset"}});
  EXPECT_EQ(Call({{"op", "drives"}})["drives"].size(), 3u);
}

TEST_F(ProtocolTest, LogRecordsEveryRequest) {
  Call({{"op", "scsi"}, {"letter", "F"}, {"cdb", "0a0000000000000000000000"}, {"dir", "out"},
        {"length", 3}, {"timeout", 10}, {"data", "616263"}});
  Call({{"op", "scsi"}, {"letter", "Z"}, {"cdb", "000000000000000000000000"}, {"dir", "none"},
        {"length", 0}, {"timeout", 10}, {"data", ""}});
  const json log = Call({{"op", "log"}, {"data", true}})["log"];
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0]["letter"], "F");
  EXPECT_EQ(log[0]["dir"], "out");
  EXPECT_EQ(log[0]["data"], "616263");
  EXPECT_EQ(log[0]["data_sha256"], "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  EXPECT_EQ(log[0]["scsi_status"], 2);
  EXPECT_TRUE(log[0].contains("handling_ns"));
  EXPECT_EQ(log[1]["stage"], "open");
  EXPECT_FALSE(Call({{"op", "log"}})["log"][0].contains("data")) << "data only on request";
  Call({{"op", "clear_log"}});
  EXPECT_TRUE(Call({{"op", "log"}})["log"].empty());
}

TEST_F(ProtocolTest, ProfilesAreValidated) {
  const json bad_profiles[] = {
      {{"drives", {{{"units", {{{"letter", "E"}}, {{"letter", "e"}}}}}}}},
      {{"fixed_disks", {"C"}}, {"drives", {{{"units", {{{"letter", "C"}}}}}}}},
      {{"drives", {{{"units", json::array()}, {"version", "1.2"}}}}},
      {{"drives", {{{"units", json::array()}, {"vendor_id", 70000}}}}},
      {{"drives", {{{"units", json::array()}, {"serial", "0123456789012345678901234"}}}}},
      {{"drives", {{{"units", json::array()}, {"patches", {{"info", {{"527", "0000"}}}}}}}}},
  };
  for (const json& profile : bad_profiles) {
    const json answer = Call({{"op", "load_profile"}, {"profile", profile}});
    EXPECT_EQ(answer["error"], 87) << profile.dump();
    EXPECT_TRUE(answer.contains("detail"));
  }
  EXPECT_EQ(Call({{"op", "drives"}})["drives"].size(), 3u) << "a refused profile changes nothing";
}

TEST_F(ProtocolTest, DriveStateShowsVersionAndAreas) {
  const json state = Call({{"op", "drive_state"}, {"drive", 0}});
  EXPECT_EQ(state["state"]["firmware_version"], "01.02.08");
  EXPECT_EQ(state["state"]["area_states"], 0);
  EXPECT_EQ(Call({{"op", "drive_state"}, {"drive", 3}})["error"], 87);
}

}  // namespace
}  // namespace kelvane::vdrive
