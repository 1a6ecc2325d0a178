// SdkDevice: the front end's device object over the device SDK.
//
// It reads its configuration from the program settings, serialises its device
// steps with other processes through the system-wide device mutex, lists the
// candidate drives with retries, reduces them to one physical drive, and
// answers information queries about that drive. Every SDK return code becomes
// a Result (SdkResult).
//
// The NamedMutex part holds a handle of the device mutex for the life of the
// object; the mutex is owned only inside Enumerate and GetDeviceInfo, through
// a second NamedMutex opened for that step, and given up when the step ends.
// The SDK is initialised by Enumerate and closed by Close, by every Open and
// Enumerate before they start, and by the destructor.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/named_mutex.h"
#include "framework/result.h"
#include "framework/settings_store.h"
#include "frontend/device_sdk.h"
#include "frontend/drive_pair.h"

namespace kelvane::frontend {

class SdkDevice : public framework::NamedMutex {
 public:
  // Token records the listing asks for.
  static constexpr std::uint32_t kTokenCapacity = 32;
  // Pause between two listing attempts.
  static constexpr std::uint32_t kListingRetryPauseMs = 300;
  // Information queries: attempts after the first, and the pause before each.
  static constexpr int kInfoRetries = 3;
  static constexpr std::uint32_t kInfoRetryPauseMs = 100;
  // The controller mode whose CD-ROM letter is the token's third role.
  static constexpr std::uint32_t kModeCdFromThirdRole = 7;

  // No handle, no current device, no VP filter, MaxOpenRetry 3, IsHid 0.
  // `mutex_timeout_ms` is how long each device step waits to own the device
  // mutex. `sdk` must outlive the object.
  explicit SdkDevice(DeviceSdk& sdk,
                     std::uint32_t mutex_timeout_ms = framework::kDeviceMutexTimeoutMs);
  // Close (its result dropped), then closes the device mutex handle.
  ~SdkDevice() override;

  // Reads section "DeviceModel": every key beginning "VPFilter" whose value
  // is two comma-separated nonzero numbers adds a (vendor, product) pair;
  // "MaxOpenRetry" (default 3; a value below -1 is read as 3) and "IsHid"
  // (default 0), both in the notation
  // of strtol with base 0. Always a success.
  framework::Result Configure(framework::SettingsStore& settings);

  // Creates the device mutex open to every account (or opens it when it
  // exists) and keeps the handle.
  framework::Result CreateDeviceMutex();

  // Selects exactly one drive as the current device. Errors: site 842 then
  // MutexError (no device mutex); site 846 then Enumerate's failure;
  // DeviceNotFound alone (no usable drive); ManyDeviceFound alone (two
  // different drive pairs: no current device, the SDK is closed).
  framework::Result Open();

  // The candidate drives, sorted; equal pairs are kept. Owns the device
  // mutex for the whole step. Errors: site 921, MutexTimeout, then the
  // lock's codes; site 923 then the SDK code of a failed initialisation;
  // site 944 (VP filter given) or 946 (none) then the listing's failure
  // (site 912 then the last SDK code, or site 915 then DeviceNotFound when
  // MaxOpenRetry is -1); site 948 then InvalidDevice for a token
  // count of 0 or above 32.
  framework::Result Enumerate(std::vector<DrivePair>& pairs);

  // The information record of the current device (record cleared to zero
  // with its size set before each attempt; all zero after the last failed
  // attempt). Owns the device mutex for the step. Errors: site 1384,
  // MutexTimeout, then the lock's codes; DeviceNotFound alone without a
  // current device; site 1387, site 1396, then the last SDK code.
  framework::Result GetDeviceInfo(KatDeviceInfoRecord& record);

  // The removable-disk and CD-ROM letters of the current device, after an
  // information query confirms that the drive still answers. On failure the
  // query's Result chained with site 993 (removable) or 1005 (CD-ROM), and
  // `letter` is left untouched.
  framework::Result GetRemovableLetter(char& letter);
  framework::Result GetCdLetter(char& letter);

  // Forgets the current device and closes the SDK; an SDK that was not
  // initialised counts as closed.
  framework::Result Close();

  const DrivePair& CurrentPair() const { return current_pair_; }
  char CurrentLetter() const { return current_letter_; }
  const std::vector<VpFilter>& VpFilters() const { return vp_filters_; }
  std::int32_t MaxOpenRetry() const { return max_open_retry_; }
  std::int32_t IsHid() const { return is_hid_; }

 private:
  framework::Result OwnDeviceMutex(framework::NamedMutex& lock, std::uint16_t site) const;
  framework::Result ListTokensWithRetries(KatTokenRecord* tokens, std::uint32_t& count);
  framework::Result QueryInfoWithRetries(char letter, KatDeviceInfoRecord& record);
  void ForgetCurrentDevice();

  DeviceSdk& sdk_;
  std::uint32_t mutex_timeout_ms_;
  DrivePair current_pair_;
  char current_letter_ = 0;
  std::vector<VpFilter> vp_filters_;
  std::int32_t max_open_retry_ = 3;
  std::int32_t is_hid_ = 0;
};

}  // namespace kelvane::frontend
