#include "frontend/sdk_device.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "frontend/csv_line.h"
#include "frontend/frontend_codes.h"
#include "frontend/number_text.h"
#include "platform/runtime.h"

namespace kelvane::frontend {

namespace {

using framework::Chain;
using framework::Location;
using framework::Raise;
using framework::RaiseWithCause;
using framework::Result;

constexpr std::uint16_t kSiteMutexNotCreated = 842;
constexpr std::uint16_t kSiteOpenEnumerate = 846;
constexpr std::uint16_t kSiteListingRetriesSpent = 912;
constexpr std::uint16_t kSiteListingDisabled = 915;
constexpr std::uint16_t kSiteEnumerateMutex = 921;
constexpr std::uint16_t kSiteInitApi = 923;
constexpr std::uint16_t kSiteListingFiltered = 944;
constexpr std::uint16_t kSiteListingUnfiltered = 946;
constexpr std::uint16_t kSiteTokenCount = 948;
constexpr std::uint16_t kSiteRemovableLetter = 993;
constexpr std::uint16_t kSiteCdLetter = 1005;
constexpr std::uint16_t kSiteInfoMutex = 1384;
constexpr std::uint16_t kSiteInfoQuery = 1387;
constexpr std::uint16_t kSiteInfoRetriesSpent = 1396;

constexpr wchar_t kSection[] = L"DeviceModel";
constexpr wchar_t kVpFilterPrefix[] = L"VPFilter";
constexpr std::int32_t kDefaultMaxOpenRetry = 3;
constexpr std::int32_t kListingDisabled = -1;

// A VPFilter value: exactly two nonzero numbers.
std::optional<VpFilter> ReadVpFilter(const std::wstring& value) {
  const auto fields = SplitCsvLine(value);
  if (!fields || fields->size() != 2) {
    return std::nullopt;
  }
  const auto vendor = static_cast<std::uint32_t>(ReadLong32((*fields)[0], 0));
  const auto product = static_cast<std::uint32_t>(ReadLong32((*fields)[1], 0));
  if (vendor == 0 || product == 0) {
    return std::nullopt;
  }
  return VpFilter{vendor, product};
}

char ToLowerLetter(std::uint8_t byte) {
  return static_cast<char>(byte >= 'A' && byte <= 'Z' ? byte - 'A' + 'a' : byte);
}

void ResetInfoRecord(KatDeviceInfoRecord& record) {
  std::memset(&record, 0, sizeof record);
  record.size = sizeof(KatDeviceInfoRecord);
}

}  // namespace

SdkDevice::SdkDevice(DeviceSdk& sdk, std::uint32_t mutex_timeout_ms)
    : sdk_(sdk), mutex_timeout_ms_(mutex_timeout_ms) {}

SdkDevice::~SdkDevice() {
  Close();
  NamedMutex::Close();
}

Result SdkDevice::Configure(framework::SettingsStore& settings) {
  settings.SetCurrentSection(kSection);
  vp_filters_.clear();
  for (const std::wstring& key : settings.GetKeys(kVpFilterPrefix)) {
    if (const auto filter = ReadVpFilter(settings.Get(key, L""))) {
      vp_filters_.push_back(*filter);
    }
  }
  max_open_retry_ = settings.GetInt(L"MaxOpenRetry", kDefaultMaxOpenRetry, 0);
  // Below -1 the listing would repeat practically without end (the attempt
  // number is compared unsigned): such a value is read as the default.
  if (max_open_retry_ < kListingDisabled) max_open_retry_ = kDefaultMaxOpenRetry;
  is_hid_ = settings.GetInt(L"IsHid", 0, 0);
  return Result();
}

Result SdkDevice::CreateDeviceMutex() {
  return CreateOpenToAll(framework::kDeviceMutexName, false);
}

Result SdkDevice::Open() {
  if (!CheckValid().IsSuccess() && !CreateDeviceMutex().IsSuccess()) {
    return Raise(Location(kSiteMutexNotCreated), framework::tq::MutexError);
  }
  Close();
  std::vector<DrivePair> pairs;
  const Result enumerated = Enumerate(pairs);
  if (!enumerated.IsSuccess()) {
    return Chain(enumerated, Location(kSiteOpenEnumerate));
  }
  if (pairs.empty()) {
    return Result(framework::tq::DeviceNotFound);
  }
  const DrivePair none;
  DrivePair recorded;
  for (const DrivePair& pair : pairs) {
    current_pair_ = pair;
    current_letter_ = pair.removable != 0 ? pair.removable : pair.cd;
    if (recorded == none) {
      recorded = pair;
    } else if (pair != recorded) {
      Close();
      return Result(framework::hi::ManyDeviceFound);
    }
  }
  if (recorded == none) {
    Close();
    return Result(framework::tq::DeviceNotFound);
  }
  return Result();
}

Result SdkDevice::OwnDeviceMutex(framework::NamedMutex& lock, std::uint16_t site) const {
  const Result locked = lock.OpenAndLock(framework::kDeviceMutexName, mutex_timeout_ms_, false);
  if (locked.IsSuccess()) {
    return locked;
  }
  return RaiseWithCause(locked, framework::tq::MutexTimeout, Location(site));
}

Result SdkDevice::Enumerate(std::vector<DrivePair>& pairs) {
  Close();
  framework::NamedMutex lock;  // closed (released) on every way out
  const Result owned = OwnDeviceMutex(lock, kSiteEnumerateMutex);
  if (!owned.IsSuccess()) {
    return owned;
  }
  std::uint32_t version = 0;
  const Result initialised = SdkResult(sdk_.InitApi(&version));
  if (!initialised.IsSuccess()) {
    return Chain(initialised, Location(kSiteInitApi));
  }
  sdk_.ForceHidMode(static_cast<std::uint8_t>(is_hid_));

  std::vector<KatTokenRecord> tokens(kTokenCapacity);
  for (KatTokenRecord& token : tokens) {
    std::memset(&token, 0, sizeof token);
    token.size = sizeof(KatTokenRecord);
  }
  std::uint32_t count = kTokenCapacity;
  const Result listed = ListTokensWithRetries(tokens.data(), count);
  if (!listed.IsSuccess()) {
    return Chain(listed,
                 Location(vp_filters_.empty() ? kSiteListingUnfiltered : kSiteListingFiltered));
  }
  if (count == 0 || count > kTokenCapacity) {
    return Raise(Location(kSiteTokenCount), kInvalidDevice);
  }

  for (std::uint32_t i = 0; i < count; ++i) {
    const KatTokenRecord& token = tokens[i];
    const char third = ToLowerLetter(token.public_role);   // byte 16
    const char first = ToLowerLetter(token.cdrom_role);    // byte 17
    const char second = ToLowerLetter(token.secure_role);  // byte 18
    const char query = second != 0 ? second : (first != 0 ? first : third);
    if (query == 0) {
      continue;
    }
    KatDeviceInfoRecord info;
    if (!QueryInfoWithRetries(query, info).IsSuccess()) {
      continue;
    }
    pairs.push_back(
        DrivePair{second, info.controller_mode == kModeCdFromThirdRole ? third : first});
  }
  std::sort(pairs.begin(), pairs.end());
  return Result();
}

Result SdkDevice::ListTokensWithRetries(KatTokenRecord* tokens, std::uint32_t& count) {
  if (max_open_retry_ == kListingDisabled) {
    return Raise(Location(kSiteListingDisabled), framework::tq::DeviceNotFound);
  }
  std::vector<std::uint32_t> vendors;
  std::vector<std::uint32_t> products;
  for (const VpFilter& filter : vp_filters_) {
    vendors.push_back(filter.vendor);
    products.push_back(filter.product);
  }
  const bool filtered = !vp_filters_.empty();
  for (std::uint32_t attempt = 0;; ++attempt) {
    count = kTokenCapacity;
    const Result listed = SdkResult(sdk_.ListTokens(
        tokens, &count, filtered ? vendors.data() : nullptr, filtered ? products.data() : nullptr,
        static_cast<std::uint32_t>(vp_filters_.size())));
    if (listed.IsSuccess()) {
      return listed;
    }
    if (attempt >= static_cast<std::uint32_t>(max_open_retry_)) {
      return Chain(listed, Location(kSiteListingRetriesSpent));
    }
    platform::Runtime().Pause(kListingRetryPauseMs);
  }
}

Result SdkDevice::QueryInfoWithRetries(char letter, KatDeviceInfoRecord& record) {
  Result last;
  for (int attempt = 0;; ++attempt) {
    ResetInfoRecord(record);
    last = SdkResult(sdk_.GetDeviceInfo(static_cast<std::uint8_t>(letter), &record));
    if (last.IsSuccess()) {
      return last;
    }
    if (attempt >= kInfoRetries) {
      break;
    }
    platform::Runtime().Pause(kInfoRetryPauseMs);
  }
  std::memset(&record, 0, sizeof record);
  return Raise(Location(kSiteInfoRetriesSpent), last.LastCode());
}

Result SdkDevice::GetDeviceInfo(KatDeviceInfoRecord& record) {
  framework::NamedMutex lock;  // closed (released) on every way out
  const Result owned = OwnDeviceMutex(lock, kSiteInfoMutex);
  if (!owned.IsSuccess()) {
    return owned;
  }
  if (current_letter_ == 0) {
    return Result(framework::tq::DeviceNotFound);
  }
  return Chain(QueryInfoWithRetries(current_letter_, record), Location(kSiteInfoQuery));
}

Result SdkDevice::GetRemovableLetter(char& letter) {
  KatDeviceInfoRecord scratch;
  const Result confirmed = GetDeviceInfo(scratch);
  if (!confirmed.IsSuccess()) {
    return Chain(confirmed, Location(kSiteRemovableLetter));
  }
  letter = current_pair_.removable;
  return confirmed;
}

Result SdkDevice::GetCdLetter(char& letter) {
  KatDeviceInfoRecord scratch;
  const Result confirmed = GetDeviceInfo(scratch);
  if (!confirmed.IsSuccess()) {
    return Chain(confirmed, Location(kSiteCdLetter));
  }
  letter = current_pair_.cd;
  return confirmed;
}

void SdkDevice::ForgetCurrentDevice() {
  current_pair_ = DrivePair{};
  current_letter_ = 0;
}

Result SdkDevice::Close() {
  ForgetCurrentDevice();
  const Result closed = SdkResult(sdk_.CloseApi());
  if (closed.IsSuccess() || closed.Contains(kSdkAlreadyClosed)) {
    return Result();
  }
  return closed;
}

}  // namespace kelvane::frontend
