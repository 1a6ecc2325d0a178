// A device SDK whose drives, failures and return codes a test scripts, and
// which records every call (and, when asked, whether the device mutex was
// owned during the call).
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "frontend/device_sdk.h"

namespace kelvane::testing {

// One token as the listing reports it: the three role bytes (offsets 16,
// 17 and 18 of the token record).
struct FakeToken {
  std::uint8_t third = 0;   // byte 16
  std::uint8_t first = 0;   // byte 17
  std::uint8_t second = 0;  // byte 18
};

// What an information query for one letter answers.
struct FakeDriveInfo {
  std::string vendor_text = "0693";
  std::string version_text = "01.02.08";
  std::uint32_t mode = 21;
  // After `answers` more successful queries, the next `failures` queries
  // fail with `fail_code`.
  int answers = 0;
  int failures = 0;
  std::int32_t fail_code = 34;
};

class FakeDeviceSdk final : public frontend::DeviceSdk {
 public:
  using Token = FakeToken;
  using Info = FakeDriveInfo;

  std::vector<Token> tokens;
  // Return codes of the next listings; once used up, listings succeed.
  std::deque<std::int32_t> list_codes;
  // When set, a successful listing reports this count instead of the
  // number of tokens.
  std::int64_t reported_count = -1;
  // Keyed by the upper-case letter (or index byte) of the selector.
  std::map<std::uint8_t, Info> infos;
  std::int32_t init_code = 0;
  std::int32_t close_code = 0;
  bool initialised = false;

  // Every call, in order: "InitApi", "CloseApi", "ForceHidMode(<n>)",
  // "ListTokens", "GetDeviceInfo(<letter>)".
  std::vector<std::string> calls;
  // The filter arrays of the last listing (empty when none were passed) and
  // its pair count.
  std::vector<std::uint32_t> vendors;
  std::vector<std::uint32_t> products;
  std::uint32_t pairs = 0;
  bool arrays_passed = false;

  // With probing on, each call also records whether the device mutex was
  // owned (by anyone) while it ran: probes[i] belongs to calls[i].
  bool probe_mutex = false;
  std::vector<bool> probes;

  // Called at the start of every call with its name.
  std::function<void(const std::string&)> on_call;

  // A drive of the default kind: CD-ROM `cd`, removable disk `removable`,
  // information as given.
  void AddDrive(char cd, char removable, Info info = {});

  std::int32_t InitApi(std::uint32_t* version) override;
  std::int32_t CloseApi() override;
  std::int32_t ForceHidMode(std::uint8_t force) override;
  std::int32_t ListTokens(KatTokenRecord* tokens, std::uint32_t* count,
                          const std::uint32_t* vendors, const std::uint32_t* products,
                          std::uint32_t pairs) override;
  std::int32_t GetDeviceInfo(std::uint32_t selector, KatDeviceInfoRecord* info) override;

  int Count(const std::string& call) const;

 private:
  void Record(std::string call);
};

// Whether the system's device mutex is owned by any thread or process right
// now, asked from a separate thread so that the caller's own ownership
// counts. `wait_ms` bounds how long the probe waits for the mutex to come
// free (0: an owned mutex is reported at once).
bool DeviceMutexOwned(std::uint32_t wait_ms = 0);

}  // namespace kelvane::testing
