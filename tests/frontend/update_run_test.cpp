// The update run: the gate search, the writer's run and the report of its
// outcome, with stand-in writers that end as a test chooses.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "frontend/dialog_template.h"
#include "frontend/writer_messages.h"
#include "frontend/writer_run.h"
#include "tests/frontend/dialog_fixture.h"

namespace kelvane::testing {
namespace {

using framework::LineCode;
using frontend::kUpdateButtonId;
using ::testing::ElementsAre;

constexpr char kGateFailed[] =
    "失敗しました。\nアップデートを行うデバイスを1本のみ接続してから実行してください";

class UpdateTest : public DialogTest {
 protected:
  void PressUpdate() {
    Run([](FakeView& v) { v.Click(kUpdateButtonId); });
  }
};

struct WriterCase {
  const char* name;
  std::string body;    // the stand-in writer's shell commands
  std::string report;  // what the log box and the message box show
};

void PrintTo(const WriterCase& c, std::ostream* os) {
  *os << c.name;
}

class WriterOutcomeTest : public UpdateTest, public ::testing::WithParamInterface<WriterCase> {};

TEST_P(WriterOutcomeTest, TheWritersOutcomeIsShownInTheLogBoxAndAMessageBox) {
  sdk.AddDrive('e', 'f');
  folder.PlaceWriter(GetParam().body);
  PressUpdate();
  EXPECT_EQ(folder.WriterRuns(), 1);
  EXPECT_EQ(view.log_box, GetParam().report);
  EXPECT_THAT(view.message_boxes, ElementsAre(GetParam().report));
  // Shown while the dialog is still busy; every control is back afterwards,
  // apart from the one that was disabled from the start.
  EXPECT_THAT(view.states_at_message_box, ElementsAre(ElementsAre(false, false, false, false)));
  EXPECT_THAT(view.EnabledStates(), ElementsAre(true, true, true, false));
}

std::string Failed(const std::string& code, const std::string& entry) {
  return "失敗しました\r\n0x" + code + ":InvalidEnumValue,0x20000092:Line(146),\r\n" + entry + ",";
}

INSTANTIATE_TEST_SUITE_P(
    Values, WriterOutcomeTest,
    ::testing::Values(
        WriterCase{"Success", "exit 0", "アップデートしました"},
        WriterCase{"NotSupported", "exit 1", Failed("7fcc0001", "このデバイスは対応していません")},
        WriterCase{"AlreadyCurrent", "exit 2",
                   Failed("7fcc0002", "既に最新のバージョンにアップデートされています")},
        WriterCase{"NoToken", "exit 3", Failed("7fcc0003", "デバイスが見つかりません")},
        WriterCase{
            "ManyTokens", "exit 4",
            Failed("7fcc0004", "複数のデバイスが接続されています。\r\n一本のみ接続してください。")},
        WriterCase{"Five", "exit 5", Failed("7fcc0005", "tolvak.exeが見つかりません")},
        WriterCase{"Six", "exit 6", Failed("7fcc0006", "不明なエラーです")},
        WriterCase{"SdkCode47", "exit 47", Failed("7fcc002f", "不明なエラーです")},
        // A crash: the process runner reports 128 plus the signal number.
        WriterCase{"Segfault", "kill -SEGV $$", Failed("7fcc008b", "不明なエラーです")},
        WriterCase{"Killed", "kill -KILL $$", Failed("7fcc0089", "不明なエラーです")}),
    [](const ::testing::TestParamInfo<WriterCase>& param_info) {
      return std::string(param_info.param.name);
    });

TEST_F(UpdateTest, TheMessageBoxTextHasNoBareLineFeed) {
  sdk.AddDrive('e', 'f');
  folder.PlaceWriter("exit 4");
  PressUpdate();
  ASSERT_EQ(view.message_boxes.size(), 1u);
  const std::string& text = view.message_boxes[0];
  for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1)) {
    ASSERT_GT(at, 0u);
    EXPECT_EQ(text[at - 1], '\r') << "bare line feed at " << at;
  }
}

TEST_F(UpdateTest, AWriterThatCannotBeStartedIsClassifiedByTheSystemError) {
  sdk.AddDrive('e', 'f');
  folder.PlaceWriter("exit 0", false);  // not executable: access denied, 5
  PressUpdate();
  EXPECT_EQ(folder.WriterRuns(), 0);
  EXPECT_THAT(view.message_boxes, ElementsAre(Failed("7fcc0005", "tolvak.exeが見つかりません")));
}

// The path of a program folder with blanks reaches the process start whole.
TEST(WriterPathTest, AProgramFolderWithBlanksRunsTheWriter) {
  FakeRuntime runtime;
  FakeDeviceSdk sdk;
  ProgramFolder folder("program files (x86)");
  folder.PlaceWriter("exit 3");
  sdk.AddDrive('e', 'f');
  FakeView view;
  view.script = [](FakeView& v) { v.Click(kUpdateButtonId); };
  frontend::UpdaterDialog dialog(view, frontend::DeviceAccess{sdk, 2000, {}});
  dialog.DoModal();
  EXPECT_EQ(folder.WriterRuns(), 1);
  EXPECT_THAT(view.message_boxes, ElementsAre(Failed("7fcc0003", "デバイスが見つかりません")));
}

struct GateCase {
  const char* name;
  std::function<void(FakeDeviceSdk&, ProgramFolder&)> arrange;
};

void PrintTo(const GateCase& c, std::ostream* os) {
  *os << c.name;
}

class GateTest : public UpdateTest, public ::testing::WithParamInterface<GateCase> {};

TEST_P(GateTest, AFailedGateSearchStopsBeforeTheWriterWithOneText) {
  GetParam().arrange(sdk, folder);
  PressUpdate();
  EXPECT_EQ(folder.WriterRuns(), 0);
  EXPECT_THAT(view.message_boxes, ElementsAre(kGateFailed));
  EXPECT_THAT(view.states_at_message_box, ElementsAre(ElementsAre(false, false, false, false)));
  EXPECT_THAT(view.EnabledStates(), ElementsAre(true, true, true, false));
  // The log box keeps the gate search's report.
  EXPECT_EQ(view.log_box, view.log_at_init);
}

INSTANTIATE_TEST_SUITE_P(
    Values, GateTest,
    ::testing::Values(GateCase{"NoDrive", [](FakeDeviceSdk& sdk,
                                             ProgramFolder&) { sdk.list_codes.assign(8, 19); }},
                      GateCase{"TwoDrives",
                               [](FakeDeviceSdk& sdk, ProgramFolder&) {
                                 sdk.AddDrive('e', 'f');
                                 sdk.AddDrive('g', 'h');
                               }},
                      GateCase{"Updated",
                               [](FakeDeviceSdk& sdk, ProgramFolder&) {
                                 sdk.AddDrive('e', 'f', {.version_text = "01.03.10"});
                               }},
                      GateCase{"ForeignVendor",
                               [](FakeDeviceSdk& sdk, ProgramFolder&) {
                                 sdk.AddDrive('e', 'f', {.vendor_text = "1234"});
                               }},
                      GateCase{"WriterMissing",
                               [](FakeDeviceSdk& sdk, ProgramFolder& folder) {
                                 sdk.AddDrive('e', 'f');
                                 folder.RemoveWriter();
                               }}),
    [](const ::testing::TestParamInfo<GateCase>& param_info) {
      return std::string(param_info.param.name);
    });

TEST(RunWriterTest, AMissingWriterGivesSite132AndTableEntry5) {
  ProgramFolder folder;
  const framework::Result run = frontend::RunWriter();
  EXPECT_THAT(run.Codes(), ElementsAre(LineCode(132), framework::TolvakBase + 5));
  EXPECT_THAT(run.Texts(), ElementsAre(L"\ntolvak.exeが見つかりません"));
  EXPECT_EQ(run.ToNarrowText(),
            "0x7fcc0005:InvalidEnumValue,0x20000084:Line(132),\ntolvak.exeが見つかりません,");
}

TEST(RunWriterTest, ASuccessfulWriterGivesSuccess) {
  ProgramFolder folder;
  folder.PlaceWriter("exit 0");
  EXPECT_TRUE(frontend::RunWriter().IsSuccess());
  EXPECT_EQ(folder.WriterRuns(), 1);
}

TEST(WriterCommandLineTest, ThePathIsQuotedForTheInterpreterAndForADirectStart) {
  EXPECT_EQ(
      frontend::InterpreterCommandLine(L"C:\\Windows\\system32\\cmd.exe",
                                       L"C:\\Program Files (x86)\\Kelvane\\tolvak.exe"),
      L"C:\\Windows\\system32\\cmd.exe /c \"\"C:\\Program Files (x86)\\Kelvane\\tolvak.exe\"\"");
  EXPECT_EQ(frontend::InterpreterCommandLine(L"", L"C:\\k\\tolvak.exe"),
            L" /c \"\"C:\\k\\tolvak.exe\"\"");
  EXPECT_EQ(frontend::DirectCommandLine(L"/opt/kelvane tools/tolvak"),
            L"\"/opt/kelvane tools/tolvak\"");
#if !defined(_WIN32)
  EXPECT_EQ(frontend::WriterCommandLine(L"/opt/k/tolvak"), L"\"/opt/k/tolvak\"");
#endif
}

struct OutcomeCase {
  framework::ResultCode outcome;
  std::vector<framework::ResultCode> codes;
  std::wstring entry;
};

void PrintTo(const OutcomeCase& c, std::ostream* os) {
  *os << "outcome 0x" << std::hex << c.outcome;
}

class WriterOutcomeCodeTest : public ::testing::TestWithParam<OutcomeCase> {};

TEST_P(WriterOutcomeCodeTest, SmallRawOutcomesGetTheWritersFacility) {
  const framework::Result result = frontend::WriterOutcome(GetParam().outcome);
  EXPECT_EQ(result.Codes(), GetParam().codes);
  if (GetParam().codes.empty()) {
    EXPECT_TRUE(result.Texts().empty());
  } else {
    EXPECT_THAT(result.Texts(), ElementsAre(L"\n" + GetParam().entry));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Values, WriterOutcomeCodeTest,
    ::testing::Values(OutcomeCase{0, {}, L""},
                      OutcomeCase{2,
                                  {LineCode(146), 0x7FCC0002},
                                  L"既に最新のバージョンにアップデートされています"},
                      OutcomeCase{0xFFFF, {LineCode(146), 0x7FCCFFFF}, L"不明なエラーです"},
                      OutcomeCase{0x10000, {LineCode(146), 0x10000}, L"不明なエラーです"},
                      OutcomeCase{0xC0000005, {LineCode(146), 0xC0000005}, L"不明なエラーです"},
                      OutcomeCase{framework::tq::InvalidArgument,
                                  {LineCode(146), framework::tq::InvalidArgument},
                                  L"不明なエラーです"}));

TEST(WriterMessagesTest, EveryOutcomeAboveSixSharesTheLastEntry) {
  EXPECT_EQ(frontend::WriterMessageIndex(0), 0u);
  EXPECT_EQ(frontend::WriterMessageIndex(6), 6u);
  EXPECT_EQ(frontend::WriterMessageIndex(7), 6u);
  EXPECT_EQ(frontend::WriterMessageIndex(0xC0000005u), 6u);
}

}  // namespace
}  // namespace kelvane::testing
