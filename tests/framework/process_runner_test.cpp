#include "framework/process_runner.h"

#include <gtest/gtest.h>

#include "framework/text_conversion.h"
#include "platform/code_page.h"
#include "tests/framework/fake_kernel.h"
#include "tests/framework/test_files.h"

namespace kelvane::framework {
namespace {

using testing::CommandLine;
using testing::HelperProgram;

platform::StartupInfo HiddenWindow() {
  platform::StartupInfo startup;
  startup.size = platform::kStartupInfoSize;
  startup.flags = platform::kStartfUseShowWindow | platform::kStartfUseCountChars |
                  platform::kStartfUseFillAttribute;
  startup.show_window = platform::kShowHide;
  return startup;
}

std::wstring Helper() {
  return HelperProgram(L"framework_test_helper").wstring();
}

TEST(RunProcessAndWaitTest, ExitCodeZeroIsSuccess) {
  const Result result = RunProcessAndWait(HiddenWindow(), CommandLine({Helper(), L"exit", L"0"}));
  EXPECT_TRUE(result.IsSuccess()) << WideToNarrow(result.ToText());
}

TEST(RunProcessAndWaitTest, OtherExitCodesAreTheOnlyRawCode) {
  const Result three = RunProcessAndWait(HiddenWindow(), CommandLine({Helper(), L"exit", L"3"}));
  EXPECT_EQ(three.Codes(), std::vector<ResultCode>{3});
  const std::wstring text = three.ToText();
  EXPECT_EQ(text.substr(0, 4), L"0x3:");
  EXPECT_EQ(text.substr(text.size() - 3), L"\r\n,") << "the system text for error 3";

  const Result high = RunProcessAndWait(HiddenWindow(), CommandLine({Helper(), L"exit", L"255"}));
  EXPECT_EQ(high.Codes(), std::vector<ResultCode>{255});
}

TEST(RunProcessAndWaitTest, ChildEndedBySignalReportsAtLeastSix) {
  const Result result =
      RunProcessAndWait(HiddenWindow(), CommandLine({Helper(), L"signal", L"15"}));
  EXPECT_EQ(result.Codes(), std::vector<ResultCode>{128 + 15});
}

TEST(RunProcessAndWaitTest, MissingProgramIsSite1586WithError2) {
  testing::ScratchFolder scratch;
  const std::wstring missing = (scratch / "no-such-program").wstring();
  const Result result = RunProcessAndWait(HiddenWindow(), missing + L" /c x");
  EXPECT_EQ(result.Codes(), (std::vector<ResultCode>{0x20000632, 2}));
  const Result searched = RunProcessAndWait(HiddenWindow(), L"kelvane-no-such-program-anywhere");
  EXPECT_EQ(searched.Codes(), (std::vector<ResultCode>{LineCode(1586), 2}));
  EXPECT_EQ(RunProcessAndWait(HiddenWindow(), L"").Codes(),
            (std::vector<ResultCode>{LineCode(1586), 87}));
}

TEST(RunProcessAndWaitTest, CommandLineWordsReachTheChildAsArguments) {
  testing::ScratchFolder scratch;
  const std::wstring out = (scratch / "arguments.txt").wstring();
  const std::wstring line = L"\"" + Helper() + L"\" echo-arguments \"" + out +
                            L"\" plain \"two words\" back\\\\slash \"quote\\\"d\" ドライブ";
  ASSERT_TRUE(RunProcessAndWait(HiddenWindow(), line).IsSuccess());
  EXPECT_EQ(testing::ReadText(out), "plain\ntwo words\nback\\\\slash\nquote\"d\nドライブ\n");
}

TEST(RunProcessAndWaitTest, ExitCodeFailureIsSite1589AndHandlesCloseThreadFirst) {
  testing::FakeKernel kernel;
  platform::ScopedPortOverride<platform::ProcessPort> processes(platform::ProcessSlot(), kernel);
  platform::ScopedPortOverride<platform::HandlePort> handles(platform::HandleSlot(), kernel);
  kernel.exit_code_answer = {0, 6};
  const Result result = RunProcessAndWait(HiddenWindow(), L"tolvak.exe");
  EXPECT_EQ(result.Codes(), (std::vector<ResultCode>{0x20000635, 6}));
  EXPECT_EQ(kernel.calls, (std::vector<std::string>{"start tolvak.exe", "wait 100 4294967295",
                                                    "exit-code 100", "close 104", "close 100"}));
  EXPECT_TRUE(kernel.open_handles.empty());
}

TEST(RunProcessAndWaitTest, FailedStartClosesNothingAndZeroErrorIsSuccess) {
  testing::FakeKernel kernel;
  platform::ScopedPortOverride<platform::ProcessPort> processes(platform::ProcessSlot(), kernel);
  platform::ScopedPortOverride<platform::HandlePort> handles(platform::HandleSlot(), kernel);
  kernel.start_answer = {platform::kNullHandle, platform::kNullHandle, 5};
  EXPECT_EQ(RunProcessAndWait(HiddenWindow(), L"x").Codes(),
            (std::vector<ResultCode>{LineCode(1586), 5}));
  kernel.start_answer = {platform::kNullHandle, platform::kNullHandle, 0};
  EXPECT_TRUE(RunProcessAndWait(HiddenWindow(), L"x").IsSuccess());
  EXPECT_EQ(kernel.calls, (std::vector<std::string>{"start x", "start x"}));
}

}  // namespace
}  // namespace kelvane::framework
