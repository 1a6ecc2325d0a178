#include "framework/named_mutex.h"

#include "platform/win_error.h"

namespace kelvane::framework {

namespace {

constexpr std::uint16_t kSiteCreateOpenToAll = 636;
constexpr std::uint16_t kSiteCreate = 646;
constexpr std::uint16_t kSiteCreateCheck = 652;
constexpr std::uint16_t kSiteOpen = 677;
constexpr std::uint16_t kSiteOpenCheck = 678;
constexpr std::uint16_t kSiteOpenTimeout = 682;
constexpr std::uint16_t kSiteLockCheck = 689;
constexpr std::uint16_t kSiteLockTimeout = 692;
constexpr std::uint16_t kSiteClose = 715;

}  // namespace

NamedMutex::~NamedMutex() {
  Close();
}

Result NamedMutex::Create(const std::string& name, const platform::MutexSecurity* security,
                          bool try_lock, bool* created) {
  if (name.empty()) {
    return Result(tq::InvalidArgument);
  }
  Close();
  const platform::HandleAnswer answer = platform::Mutexes().Create(name, security, false);
  const Result adopted = Adopt(answer.handle, answer.last_error);
  if (!adopted.IsSuccess()) {
    return Chain(adopted, Location(kSiteCreate));
  }
  if (created != nullptr) {
    *created = answer.last_error != platform::win::kAlreadyExists;
  }
  const Result valid = CheckValid();
  if (!valid.IsSuccess()) {
    return Chain(valid, Location(kSiteCreateCheck));
  }
  if (try_lock) {
    Lock(0);
  }
  return Result();
}

Result NamedMutex::CreateOpenToAll(const std::string& name, bool try_lock, bool* created) {
  platform::MutexSecurity security;
  const std::uint32_t error = platform::Mutexes().MakeOpenToAllSecurity(security);
  if (error != 0) {
    return Result(error);
  }
  security.inherit_handle = true;
  return Chain(Create(name, &security, try_lock, created), Location(kSiteCreateOpenToAll));
}

Result NamedMutex::OpenAndLock(const std::string& name, std::uint32_t timeout_ms,
                               bool inherit_handle) {
  if (name.empty()) {
    return Result(tq::InvalidArgument);
  }
  Close();
  const platform::HandleAnswer answer = platform::Mutexes().Open(name, inherit_handle);
  const Result adopted = Adopt(answer.handle, answer.last_error);
  if (!adopted.IsSuccess()) {
    return Chain(adopted, Location(kSiteOpen));
  }
  const Result valid = CheckValid();
  if (!valid.IsSuccess()) {
    return Chain(valid, Location(kSiteOpenCheck));
  }
  const platform::WaitAnswer wait = platform::Handles().Wait(Handle(), timeout_ms);
  if (wait.status == platform::kWaitTimeout) {
    Close();
    return Raise(Location(kSiteOpenTimeout), platform::win::kWaitTimeout);
  }
  if (wait.status == platform::kWaitFailed) {
    Close();
    return Result(wait.error);
  }
  owned_ = 1;
  return Result();
}

Result NamedMutex::Lock(std::uint32_t timeout_ms) {
  const Result valid = CheckValid();
  if (!valid.IsSuccess()) {
    return Chain(valid, Location(kSiteLockCheck));
  }
  const platform::WaitAnswer wait = platform::Handles().Wait(Handle(), timeout_ms);
  if (wait.status == platform::kWaitTimeout) {
    return Raise(Location(kSiteLockTimeout), platform::win::kWaitTimeout);
  }
  if (wait.status == platform::kWaitFailed) {
    return Result(wait.error);
  }
  owned_ = 1;
  return Result();
}

Result NamedMutex::Close() {
  if (!IsHeld()) {
    return Result();
  }
  if (owned_ != 0) {
    platform::Mutexes().Release(Handle());
    owned_ = 0;
  }
  return Chain(KernelHandle::Close(), Location(kSiteClose));
}

}  // namespace kelvane::framework
