// The device mutex owned by another process: every device step gives up
// after its wait with MutexTimeout, and the search reports it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "frontend/device_search.h"
#include "frontend/sdk_device.h"
#include "platform/kernel_objects.h"
#include "platform/process.h"
#include "tests/frontend/dialog_fixture.h"

namespace kelvane::testing {
namespace {

namespace fs = std::filesystem;
using framework::LineCode;
using ::testing::ElementsAre;
using ::testing::EndsWith;

constexpr std::uint32_t kShortWaitMs = 150;

// Another process that owns the device mutex while the object lives.
class MutexHolder {
 public:
  explicit MutexHolder(const fs::path& folder)
      : held_(folder / "held"), release_(folder / "release") {
    const std::wstring command = L"\"" + fs::path(KELVANE_MUTEX_HOLDER).wstring() + L"\" \"" +
                                 held_.wstring() + L"\" \"" + release_.wstring() + L"\"";
    process_ = platform::Processes().Start(command, platform::StartupInfo{}).process;
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (process_ != platform::kNullHandle && !fs::exists(held_) &&
           std::chrono::steady_clock::now() < give_up) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }

  ~MutexHolder() {
    std::ofstream(release_) << "release\n";
    if (process_ != platform::kNullHandle) {
      platform::Handles().Wait(process_, 30000);
      platform::Handles().Close(process_);
    }
  }

  bool holding() const { return fs::exists(held_); }

 private:
  fs::path held_;
  fs::path release_;
  platform::NativeHandle process_ = platform::kNullHandle;
};

constexpr framework::ResultCode kTimedOut = 258;

TEST_F(DialogTest, EveryDeviceStepGivesUpWhenAnotherProcessOwnsTheMutex) {
  sdk.AddDrive('e', 'f');
  frontend::SdkDevice device(sdk, kShortWaitMs);
  ASSERT_TRUE(device.Open().IsSuccess());  // before the other process takes the mutex
  {
    MutexHolder holder(folder.path());
    ASSERT_TRUE(holder.holding());
    KatDeviceInfoRecord record{};
    EXPECT_THAT(device.GetDeviceInfo(record).Codes(),
                ElementsAre(LineCode(1384), framework::tq::MutexTimeout, LineCode(682), kTimedOut));
    char letter = 0;
    EXPECT_THAT(device.GetCdLetter(letter).Codes(),
                ElementsAre(LineCode(1005), LineCode(1384), framework::tq::MutexTimeout,
                            LineCode(682), kTimedOut));
    EXPECT_THAT(device.Open().Codes(),
                ElementsAre(LineCode(846), LineCode(921), framework::tq::MutexTimeout,
                            LineCode(682), kTimedOut));
    EXPECT_EQ(sdk.Count("ListTokens"), 1);
  }
  // Once the other process has let go, the device works again.
  EXPECT_TRUE(device.Open().IsSuccess());
}

TEST_F(DialogTest, TheSearchReportsTheMutexTimeout) {
  sdk.AddDrive('e', 'f');
  MutexHolder holder(folder.path());
  ASSERT_TRUE(holder.holding());
  frontend::UpdaterDialog dialog(view, frontend::DeviceAccess{sdk, kShortWaitMs, {}});
  const framework::Result search = frontend::SearchAndReport(dialog);
  EXPECT_THAT(search.Codes(), ElementsAre(LineCode(65), LineCode(846), LineCode(921),
                                          framework::tq::MutexTimeout, LineCode(682), kTimedOut));
  EXPECT_THAT(
      dialog.LogText(),
      EndsWith(
          "0x200002aa:Line(682),0x617a00ce:MutexTimeout,0x20000399:Line(921),0x2000034e:Line(846),"
          "0x20000041:Line(65),"));
  EXPECT_EQ(sdk.Count("InitApi"), 0);
}

}  // namespace
}  // namespace kelvane::testing
