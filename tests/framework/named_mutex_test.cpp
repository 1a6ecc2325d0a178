#include "framework/named_mutex.h"

#include <gtest/gtest.h>

#include <cstring>
#include <future>
#include <thread>

#include "framework/process_runner.h"
#include "tests/framework/fake_kernel.h"
#include "tests/framework/test_files.h"

namespace kelvane::framework {
namespace {

using testing::FakeKernel;

std::string UniqueName(const std::string& scope) {
  return scope + "kelvane-test-" + testing::UniqueSuffix();
}

// ---- The mutex logic over a scripted kernel ----

class NamedMutexLogicTest : public ::testing::Test {
 protected:
  FakeKernel kernel_;
  platform::ScopedPortOverride<platform::HandlePort> handles_{platform::HandleSlot(), kernel_};
  platform::ScopedPortOverride<platform::MutexPort> mutexes_{platform::MutexSlot(), kernel_};
};

TEST_F(NamedMutexLogicTest, EmptyNameIsInvalidArgumentAndCallsNothing) {
  NamedMutex mutex;
  EXPECT_EQ(mutex.Create("", nullptr, false).Codes(), std::vector<ResultCode>{tq::InvalidArgument});
  EXPECT_EQ(mutex.CreateOpenToAll("", false).Codes(),
            (std::vector<ResultCode>{LineCode(636), tq::InvalidArgument}));
  EXPECT_EQ(mutex.OpenAndLock("", 0, false).Codes(), std::vector<ResultCode>{tq::InvalidArgument});
  EXPECT_TRUE(kernel_.calls.empty());
}

TEST_F(NamedMutexLogicTest, CloseWithoutHandleSucceedsAndCallsNothing) {
  NamedMutex mutex;
  EXPECT_TRUE(mutex.Close().IsSuccess());
  EXPECT_TRUE(kernel_.calls.empty());
}

TEST_F(NamedMutexLogicTest, CreateFailureIsSite646WithTheErrorOr6) {
  NamedMutex mutex;
  kernel_.create_answers = {{platform::kNullHandle, 5}, {platform::kNullHandle, 0}};
  EXPECT_EQ(mutex.Create("m", nullptr, false).Codes(), (std::vector<ResultCode>{LineCode(646), 5}));
  EXPECT_EQ(mutex.CreateOpenToAll("m", false).Codes(),
            (std::vector<ResultCode>{LineCode(636), LineCode(646), 6}));
  EXPECT_FALSE(mutex.IsHeld());
}

TEST_F(NamedMutexLogicTest, CreatedFlagIsFalseOnlyForAnExistingMutex) {
  NamedMutex mutex;
  bool created = false;
  kernel_.create_answers = {{40, 0}, {44, 183}};
  EXPECT_TRUE(mutex.CreateOpenToAll("m", false, &created).IsSuccess());
  EXPECT_TRUE(created);
  EXPECT_TRUE(mutex.CreateOpenToAll("m", false, &created).IsSuccess());
  EXPECT_FALSE(created);
  EXPECT_EQ(kernel_.calls, (std::vector<std::string>{"create m 1", "close 40", "create m 1"}));
}

TEST_F(NamedMutexLogicTest, TryLockWaitsWithTimeOutZeroAndIgnoresTheOutcome) {
  NamedMutex mutex;
  kernel_.create_answers = {{40, 0}};
  kernel_.wait_answers = {{platform::kWaitTimeout, 0}};
  EXPECT_TRUE(mutex.Create("m", nullptr, true).IsSuccess());
  EXPECT_FALSE(mutex.IsOwned());
  EXPECT_EQ(kernel_.calls, (std::vector<std::string>{"create m 0", "wait 40 0"}));
}

TEST_F(NamedMutexLogicTest, OpenAndLockFailuresCloseTheHandle) {
  NamedMutex mutex;
  kernel_.open_answers = {{platform::kNullHandle, 2}, {48, 0}, {52, 0}};
  kernel_.wait_answers = {{platform::kWaitTimeout, 0}, {platform::kWaitFailed, 1}};
  EXPECT_EQ(mutex.OpenAndLock("m", 40000, false).Codes(),
            (std::vector<ResultCode>{LineCode(677), 2}));
  EXPECT_EQ(mutex.OpenAndLock("m", 40000, false).Codes(),
            (std::vector<ResultCode>{LineCode(682), 258}));
  EXPECT_FALSE(mutex.IsHeld());
  EXPECT_EQ(mutex.OpenAndLock("m", 10, false).Codes(), std::vector<ResultCode>{1});
  EXPECT_FALSE(mutex.IsHeld());
  EXPECT_TRUE(kernel_.open_handles.empty());
}

TEST_F(NamedMutexLogicTest, LockKeepsTheHandleInEveryCase) {
  NamedMutex mutex;
  EXPECT_EQ(mutex.Lock(0).Codes(), (std::vector<ResultCode>{LineCode(689), tq::HandleNotEnabled}));
  kernel_.create_answers = {{40, 0}};
  ASSERT_TRUE(mutex.Create("m", nullptr, false).IsSuccess());
  kernel_.wait_answers = {
      {platform::kWaitTimeout, 0}, {platform::kWaitFailed, 6}, {platform::kWaitAbandoned, 0}};
  EXPECT_EQ(mutex.Lock(0).Codes(), (std::vector<ResultCode>{LineCode(692), 258}));
  EXPECT_EQ(mutex.Lock(0).Codes(), std::vector<ResultCode>{6});
  EXPECT_TRUE(mutex.IsHeld());
  EXPECT_FALSE(mutex.IsOwned());
  EXPECT_TRUE(mutex.Lock(0).IsSuccess()) << "abandoned counts as acquired";
  EXPECT_TRUE(mutex.IsOwned());
}

TEST_F(NamedMutexLogicTest, CloseReleasesOnceThenClosesAndReportsCloseFailure) {
  NamedMutex mutex;
  kernel_.open_answers = {{48, 0}};
  ASSERT_TRUE(mutex.OpenAndLock("m", 40000, false).IsSuccess());
  kernel_.close_errors = {6};
  EXPECT_EQ(mutex.Close().Codes(), (std::vector<ResultCode>{LineCode(715), 6}));
  EXPECT_TRUE(mutex.IsHeld()) << "a failed close keeps the handle";
  EXPECT_FALSE(mutex.IsOwned());
  EXPECT_TRUE(mutex.Close().IsSuccess());
  EXPECT_EQ(kernel_.calls, (std::vector<std::string>{"open m", "wait 48 40000", "release 48",
                                                     "close 48", "close 48"}));
}

TEST_F(NamedMutexLogicTest, DestructorReleasesAndCloses) {
  {
    NamedMutex mutex;
    kernel_.open_answers = {{48, 0}};
    ASSERT_TRUE(mutex.OpenAndLock("m", 5, false).IsSuccess());
  }
  EXPECT_EQ(kernel_.calls.back(), "close 48");
  EXPECT_TRUE(kernel_.open_handles.empty());
}

TEST(KernelHandleTest, AdoptTakesOverOrReportsTheError) {
  FakeKernel kernel;
  platform::ScopedPortOverride<platform::HandlePort> handles(platform::HandleSlot(), kernel);
  KernelHandle file(platform::kInvalidHandleValue);
  EXPECT_EQ(file.CheckValid().Codes(), std::vector<ResultCode>{tq::HandleNotEnabled});
  EXPECT_TRUE(file.Adopt(20, 0).IsSuccess());
  EXPECT_TRUE(file.CheckValid().IsSuccess());
  EXPECT_TRUE(file.Adopt(24, 0).IsSuccess());
  EXPECT_EQ(kernel.calls, std::vector<std::string>{"close 20"});
  EXPECT_EQ(file.Adopt(platform::kInvalidHandleValue, 32).Codes(), std::vector<ResultCode>{32});
  EXPECT_EQ(file.Adopt(platform::kInvalidHandleValue, 0).Codes(), std::vector<ResultCode>{6});
  EXPECT_EQ(kernel.calls, (std::vector<std::string>{"close 20", "close 24"}));
  EXPECT_FALSE(file.IsHeld());
}

// ---- The real mutex of this system ----

TEST(NamedMutexTest, OpenBeforeAnyoneCreatedIsSite677WithError2) {
  NamedMutex mutex;
  EXPECT_EQ(mutex.OpenAndLock(UniqueName("Global\\"), 0, false).Codes(),
            (std::vector<ResultCode>{LineCode(677), 2}));
  EXPECT_FALSE(mutex.IsHeld());
}

TEST(NamedMutexTest, SecondCreateOfExistingNameReportsNotCreated) {
  const std::string name = UniqueName("Global\\");
  NamedMutex first;
  NamedMutex second;
  bool created = false;
  ASSERT_TRUE(first.CreateOpenToAll(name, false, &created).IsSuccess());
  EXPECT_TRUE(created);
  ASSERT_TRUE(second.CreateOpenToAll(name, false, &created).IsSuccess());
  EXPECT_FALSE(created);
}

TEST(NamedMutexTest, MutexLivesWhileAHandleIsHeld) {
  const std::string name = UniqueName("");
  {
    NamedMutex creator;
    ASSERT_TRUE(creator.CreateOpenToAll(name, false).IsSuccess());
    NamedMutex user;
    EXPECT_TRUE(user.OpenAndLock(name, 0, false).IsSuccess());
  }
  NamedMutex late;
  EXPECT_EQ(late.OpenAndLock(name, 0, false).Codes(), (std::vector<ResultCode>{LineCode(677), 2}));
}

TEST(NamedMutexTest, OwningThreadMayWaitAgainOtherThreadsTimeOut) {
  const std::string name = UniqueName("Global\\");
  NamedMutex owner;
  ASSERT_TRUE(owner.CreateOpenToAll(name, false).IsSuccess());
  ASSERT_TRUE(owner.Lock(0).IsSuccess());
  EXPECT_TRUE(owner.Lock(0).IsSuccess()) << "recursion for the owning thread";
  NamedMutex same_thread;
  EXPECT_TRUE(same_thread.OpenAndLock(name, 0, false).IsSuccess());
  ASSERT_TRUE(same_thread.Close().IsSuccess());

  auto other = std::async(std::launch::async, [&name] {
    NamedMutex mutex;
    const Result timed_out = mutex.OpenAndLock(name, 50, false);
    const bool handle_closed = !mutex.IsHeld();
    return std::make_pair(timed_out, handle_closed);
  });
  const auto [timed_out, handle_closed] = other.get();
  EXPECT_EQ(timed_out.Codes(), (std::vector<ResultCode>{LineCode(682), 258}));
  EXPECT_TRUE(handle_closed);

  // Two waits need two releases: Close releases one, the second stays with
  // this thread, so another thread still times out.
  NamedMutex keeper;
  ASSERT_TRUE(keeper.CreateOpenToAll(name, false).IsSuccess());
  owner.Close();
  auto still_owned = std::async(std::launch::async, [&name] {
    NamedMutex mutex;
    return mutex.OpenAndLock(name, 0, false);
  });
  EXPECT_EQ(still_owned.get().Codes(), (std::vector<ResultCode>{LineCode(682), 258}));
}

TEST(NamedMutexTest, AMutexOwnedByAnEndedThreadIsAcquiredAsAbandoned) {
  const std::string name = UniqueName("");
  NamedMutex keeper;
  ASSERT_TRUE(keeper.CreateOpenToAll(name, false).IsSuccess());
  std::thread([&name] {
    NamedMutex mutex;
    ASSERT_TRUE(mutex.OpenAndLock(name, 0, false).IsSuccess());
    // The thread ends while owning it: closing the handle alone never
    // releases ownership.
    KernelHandle& handle = mutex;
    handle.Close();
  }).join();
  EXPECT_TRUE(keeper.Lock(2000).IsSuccess());
  EXPECT_TRUE(keeper.IsOwned());
}

// ---- Two processes ----

class TwoProcessMutexTest : public ::testing::Test {
 protected:
  // Starts the helper holding `name_`; returns once it owns the mutex.
  void StartHolder(const char* mode) {
    const std::wstring helper = testing::HelperProgram(L"framework_test_helper").wstring();
    const std::wstring line = testing::CommandLine(
        {helper, L"hold-mutex", std::wstring(name_.begin(), name_.end()), ready_.wstring(),
         go_.wstring(), std::wstring(mode, mode + std::strlen(mode))});
    holder_ = std::async(std::launch::async, [line] { return RunProcessAndWait({}, line); });
    ASSERT_TRUE(testing::WaitForFile(ready_)) << "the holder did not start";
  }
  Result LetHolderGo() {
    testing::WriteBytes(go_, {});
    return holder_.get();
  }
  void TearDown() override {
    if (holder_.valid()) {
      LetHolderGo();
    }
  }

  std::string name_ = UniqueName("Global\\");
  testing::ScratchFolder scratch_;
  std::filesystem::path ready_ = scratch_ / "ready";
  std::filesystem::path go_ = scratch_ / "go";
  std::future<Result> holder_;
};

TEST_F(TwoProcessMutexTest, ContendersTimeOutWhileAnotherProcessOwnsIt) {
  StartHolder("release");
  NamedMutex opener;
  EXPECT_EQ(opener.OpenAndLock(name_, 0, false).Codes(),
            (std::vector<ResultCode>{LineCode(682), 258}));
  EXPECT_FALSE(opener.IsHeld()) << "open-and-lock closes the handle after a time-out";
  EXPECT_EQ(opener.OpenAndLock(name_, 100, false).Codes(),
            (std::vector<ResultCode>{LineCode(682), 258}));

  NamedMutex creator;
  bool created = true;
  ASSERT_TRUE(creator.CreateOpenToAll(name_, false, &created).IsSuccess());
  EXPECT_FALSE(created);
  EXPECT_EQ(creator.Lock(0).Codes(), (std::vector<ResultCode>{LineCode(692), 258}));
  EXPECT_TRUE(creator.IsHeld()) << "lock keeps the handle after a time-out";

  EXPECT_TRUE(LetHolderGo().IsSuccess());
  EXPECT_TRUE(creator.Lock(5000).IsSuccess());
  EXPECT_TRUE(creator.IsOwned());
}

TEST_F(TwoProcessMutexTest, AKilledOwnerLeavesItAbandonedWhichCountsAsAcquired) {
  NamedMutex keeper;  // keeps the mutex alive across the owner's death
  ASSERT_TRUE(keeper.CreateOpenToAll(name_, false).IsSuccess());
  StartHolder("abandon");
  EXPECT_EQ(keeper.Lock(0).Codes(), (std::vector<ResultCode>{LineCode(692), 258}));
  EXPECT_EQ(LetHolderGo().Codes(), std::vector<ResultCode>{128 + 9}) << "the owner was killed";
  NamedMutex waiter;
  EXPECT_TRUE(waiter.OpenAndLock(name_, 5000, false).IsSuccess());
  EXPECT_TRUE(waiter.IsOwned());
}

}  // namespace
}  // namespace kelvane::framework
