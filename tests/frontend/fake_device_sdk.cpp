#include "tests/frontend/fake_device_sdk.h"

#include <algorithm>
#include <cstring>
#include <thread>

#include "framework/named_mutex.h"

namespace kelvane::testing {

namespace {

std::uint8_t Upper(std::uint8_t byte) {
  return byte >= 'a' && byte <= 'z' ? static_cast<std::uint8_t>(byte - 32) : byte;
}

template <std::size_t N>
void CopyText(char (&field)[N], const std::string& text) {
  std::memset(field, 0, N);
  std::memcpy(field, text.data(), std::min(text.size(), N - 1));
}

}  // namespace

bool DeviceMutexOwned(std::uint32_t wait_ms) {
  bool owned = false;
  std::thread probe([&owned, wait_ms] {
    framework::NamedMutex mutex;
    const framework::Result locked = mutex.OpenAndLock(framework::kDeviceMutexName, wait_ms, false);
    owned = locked.Contains(framework::LineCode(682));
  });
  probe.join();
  return owned;
}

void FakeDeviceSdk::AddDrive(char cd, char removable, Info info) {
  tokens.push_back(Token{0, static_cast<std::uint8_t>(cd), static_cast<std::uint8_t>(removable)});
  infos[Upper(static_cast<std::uint8_t>(removable != 0 ? removable : cd))] = info;
}

void FakeDeviceSdk::Record(std::string call) {
  if (on_call) {
    on_call(call);
  }
  calls.push_back(std::move(call));
  if (probe_mutex) {
    // A call that should run outside the mutex may meet another process's
    // brief ownership; give it time to pass. Inside, the answer is at once.
    const bool outside = calls.back() == "CloseApi";
    probes.push_back(DeviceMutexOwned(outside ? 5000 : 0));
  }
}

int FakeDeviceSdk::Count(const std::string& call) const {
  return static_cast<int>(std::count(calls.begin(), calls.end(), call));
}

std::int32_t FakeDeviceSdk::InitApi(std::uint32_t* version) {
  Record("InitApi");
  if (version != nullptr) {
    *version = 0x20171018u;
  }
  if (init_code == 0) {
    initialised = true;
  }
  return init_code;
}

std::int32_t FakeDeviceSdk::CloseApi() {
  Record("CloseApi");
  if (close_code != 0) {
    return close_code;
  }
  const bool was = initialised;
  initialised = false;
  return was ? 0 : 77;
}

std::int32_t FakeDeviceSdk::ForceHidMode(std::uint8_t force) {
  Record("ForceHidMode(" + std::to_string(force) + ")");
  return 0;
}

std::int32_t FakeDeviceSdk::ListTokens(KatTokenRecord* records, std::uint32_t* count,
                                       const std::uint32_t* vendor_ids,
                                       const std::uint32_t* product_ids, std::uint32_t pair_count) {
  Record("ListTokens");
  arrays_passed = vendor_ids != nullptr && product_ids != nullptr;
  vendors.assign(vendor_ids, vendor_ids == nullptr ? vendor_ids : vendor_ids + pair_count);
  products.assign(product_ids, product_ids == nullptr ? product_ids : product_ids + pair_count);
  pairs = pair_count;
  if (!initialised) {
    return 75;
  }
  if (!list_codes.empty()) {
    const std::int32_t code = list_codes.front();
    list_codes.pop_front();
    if (code != 0) {
      return code;
    }
  }
  if (tokens.size() > *count) {
    return 20;
  }
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    if (records[i].size != 19) {
      return 20;
    }
    records[i].public_role = tokens[i].third;
    records[i].cdrom_role = tokens[i].first;
    records[i].secure_role = tokens[i].second;
  }
  *count = reported_count >= 0 ? static_cast<std::uint32_t>(reported_count)
                               : static_cast<std::uint32_t>(tokens.size());
  return 0;
}

std::int32_t FakeDeviceSdk::GetDeviceInfo(std::uint32_t selector, KatDeviceInfoRecord* record) {
  const auto letter = static_cast<std::uint8_t>(selector & 0xFF);
  Record("GetDeviceInfo(" + std::string(1, static_cast<char>(letter)) + ")");
  if (!initialised) {
    return 75;
  }
  if (record == nullptr || record->size != 299) {
    return 20;
  }
  const auto found = infos.find(Upper(letter));
  if (found == infos.end()) {
    return 34;
  }
  Info& info = found->second;
  if (info.answers > 0) {
    --info.answers;
  } else if (info.failures > 0) {
    --info.failures;
    return info.fail_code;
  }
  CopyText(record->vendor_id_text, info.vendor_text);
  CopyText(record->version_text, info.version_text);
  record->controller_mode = info.mode;
  return 0;
}

}  // namespace kelvane::testing
