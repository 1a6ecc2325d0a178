// The dialog's busy state, its one-shot pump, the log box and the command
// routing.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "frontend/control_disabler.h"
#include "frontend/dialog_template.h"
#include "frontend/updater_dialog.h"
#include "tests/frontend/dialog_fixture.h"

namespace kelvane::testing {
namespace {

using frontend::kLogBoxId;
using frontend::kSearchButtonId;
using frontend::kUpdateButtonId;
using ::testing::ElementsAre;
using ::testing::Pair;

constexpr int kDisabledExtra = 1003;

TEST(ControlDisablerTest, DisablesTheEnabledControlsAndReenablesExactlyThoseOnce) {
  FakeView view;
  {
    frontend::ControlDisabler busy(view);
    EXPECT_THAT(view.EnabledStates(), ElementsAre(false, false, false, false));
    EXPECT_EQ(busy.Disabled().size(), 3u);
    busy.Release();
    EXPECT_THAT(view.EnabledStates(), ElementsAre(true, true, true, false));
    view.EnableControl(0, false);  // disabled by someone else after the release
    busy.Release();
  }  // destruction after a release does nothing more
  EXPECT_THAT(
      view.enable_calls,
      ElementsAre(Pair(kSearchButtonId, false), Pair(kLogBoxId, false),
                  Pair(kUpdateButtonId, false), Pair(kSearchButtonId, true), Pair(kLogBoxId, true),
                  Pair(kUpdateButtonId, true), Pair(kSearchButtonId, false)));
}

TEST(ControlDisablerTest, DestructionWithoutAReleaseReleases) {
  FakeView view;
  view.controls[1].enabled = false;
  { frontend::ControlDisabler busy(view); }
  EXPECT_THAT(view.EnabledStates(), ElementsAre(true, false, true, false));
  EXPECT_EQ(view.enable_calls.size(), 4u);
}

TEST_F(DialogTest, TheSearchRunsWithEveryControlDisabledAfterOnePump) {
  sdk.AddDrive('e', 'f');
  std::vector<std::vector<bool>> states_at_listing;
  std::vector<int> pumps_at_listing;
  Run([&](FakeView& v) {
    sdk.on_call = [&](const std::string& call) {
      if (call == "ListTokens") {
        states_at_listing.push_back(v.EnabledStates());
        pumps_at_listing.push_back(v.pumps);
      }
    };
    v.Click(kSearchButtonId);
  });
  EXPECT_THAT(states_at_listing, ElementsAre(ElementsAre(false, false, false, false)));
  EXPECT_THAT(pumps_at_listing, ElementsAre(1));
  EXPECT_EQ(view.pumps, 1);
  // The control that was disabled before stays disabled; the others are back.
  EXPECT_THAT(view.EnabledStates(), ElementsAre(true, true, true, false));
  EXPECT_EQ(view.log_box, kFoundReport);
}

TEST_F(DialogTest, ADisabledControlStaysDisabledAfterAnUpdate) {
  sdk.AddDrive('e', 'f');
  Run([](FakeView& v) {
    v.controls[0].enabled = false;  // the search button, disabled before the operation
    v.Click(kUpdateButtonId);
  });
  EXPECT_THAT(view.EnabledStates(), ElementsAre(false, true, true, false));
  EXPECT_THAT(view.message_boxes, ElementsAre("アップデートしました"));
}

struct LostClickCase {
  int pressed;
  int queued;
};

void PrintTo(const LostClickCase& c, std::ostream* os) {
  *os << "pressed " << c.pressed << ", queued " << c.queued;
}

class LostClickTest : public DialogTest, public ::testing::WithParamInterface<LostClickCase> {};

TEST_P(LostClickTest, ClicksWaitingWhenAnOperationStartsAreLost) {
  sdk.AddDrive('e', 'f');
  Run([](FakeView& v) {
    v.QueueClick(GetParam().queued);
    v.QueueClick(GetParam().queued);
    v.Click(GetParam().pressed);
  });
  EXPECT_EQ(view.pumps, 1);
  EXPECT_TRUE(view.queued_clicks.empty());
  // One search at start-up and one for the pressed button, nothing more.
  EXPECT_EQ(sdk.Count("ListTokens"), 2);
  EXPECT_EQ(folder.WriterRuns(), GetParam().pressed == kUpdateButtonId ? 1 : 0);
  EXPECT_EQ(view.message_boxes.size(), GetParam().pressed == kUpdateButtonId ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Values, LostClickTest,
                         ::testing::Values(LostClickCase{kSearchButtonId, kUpdateButtonId},
                                           LostClickCase{kSearchButtonId, kSearchButtonId},
                                           LostClickCase{kUpdateButtonId, kSearchButtonId},
                                           LostClickCase{kUpdateButtonId, kUpdateButtonId}));

TEST_F(DialogTest, AQuitMetByThePumpIsPostedAgainAndTheOperationStillRuns) {
  sdk.AddDrive('e', 'f');
  Run([](FakeView& v) {
    v.quit_pending = true;
    v.Click(kUpdateButtonId);
  });
  EXPECT_THAT(view.posted_quits, ElementsAre(0));
  EXPECT_EQ(folder.WriterRuns(), 1);
  EXPECT_THAT(view.message_boxes, ElementsAre("アップデートしました"));
}

TEST_F(DialogTest, OtherCommandsAreNotHandled) {
  sdk.AddDrive('e', 'f');
  Run([](FakeView& v) {
    v.Click(kLogBoxId);
    v.Click(2);
  });
  EXPECT_EQ(view.pumps, 0);
  EXPECT_EQ(sdk.Count("ListTokens"), 1);
}

struct LogTextCase {
  std::string text;
  std::string shown;
};

void PrintTo(const LogTextCase& c, std::ostream* os) {
  *os << ::testing::PrintToString(c.text);
}

class LogTextTest : public ::testing::TestWithParam<LogTextCase> {};

TEST_P(LogTextTest, LineFeedsBecomeCrLfAndReplaceWhatWasTyped) {
  FakeDeviceSdk sdk;
  FakeView view;
  frontend::UpdaterDialog dialog(view, frontend::DeviceAccess{sdk, 2000, {}});
  view.log_box = "typed by the user";
  dialog.SetLogText(GetParam().text);
  EXPECT_EQ(view.log_box, GetParam().shown);
  EXPECT_EQ(dialog.LogText(), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Values, LogTextTest,
                         ::testing::Values(LogTextCase{"", ""}, LogTextCase{"a\nb\n", "a\r\nb\r\n"},
                                           LogTextCase{"\n\n", "\r\n\r\n"},
                                           LogTextCase{"a\r\nb", "a\r\r\nb"},
                                           LogTextCase{"日本語\n", "日本語\r\n"}));

TEST(DialogDataExchangeTest, ExchangesTheLogTextBothWays) {
  FakeDeviceSdk sdk;
  FakeView view;
  frontend::UpdaterDialog dialog(view, frontend::DeviceAccess{sdk, 2000, {}});
  view.log_box = "from the control";
  dialog.DoDataExchange(true);
  EXPECT_EQ(dialog.LogText(), "from the control");
  view.log_box.clear();
  dialog.DoDataExchange(false);
  EXPECT_EQ(view.log_box, "from the control");
}

}  // namespace
}  // namespace kelvane::testing
