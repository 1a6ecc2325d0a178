#include "frontend/device_search.h"

#include <algorithm>
#include <string>

#include "framework/file_path.h"
#include "framework/text_format.h"
#include "frontend/number_text.h"
#include "frontend/updater_dialog.h"
#include "frontend/writer_run.h"

namespace kelvane::frontend {

namespace {

using framework::Chain;
using framework::Location;
using framework::Raise;
using framework::Result;

constexpr std::uint16_t kSiteWriterMissing = 60;
constexpr std::uint16_t kSiteOpen = 65;
constexpr std::uint16_t kSiteDeviceInfo = 68;
constexpr std::uint16_t kSiteVendor = 72;
constexpr std::uint16_t kSiteVersion = 75;

// A NUL-terminated text field of a record (never read past its end).
template <std::size_t N>
std::string FieldText(const char (&field)[N]) {
  return std::string(field, std::find(field, field + N, '\0'));
}

bool IsAcceptedVendor(std::int32_t vendor) {
  for (const std::int32_t accepted : kAcceptedVendorIds) {
    if (vendor == accepted) {
      return true;
    }
  }
  return false;
}

std::string Report(const Result& search, SdkDevice& device) {
  std::string report = "\n";
  if (search.IsSuccess()) {
    report += "アップデート対象のデバイスが見つかりました\n";
    char removable = 0;
    char cd = 0;
    if (!device.GetRemovableLetter(removable).IsSuccess()) {
      removable = 0;
    }
    if (!device.GetCdLetter(cd).IsSuccess()) {
      cd = 0;
    }
    report += framework::FormatNarrow("CD\t\t: %c ドライブ\nリムーバブル\t: %c ドライブ\n", cd,
                                      removable);
  } else if (search.Contains(framework::hi::ManyDeviceFound)) {
    report +=
        "複数のデバイスが接続されています。\nセキュリティUSBを一台のみ接続してもう一度デバイス検索"
        "をしてください。";
  } else if (search.Contains(framework::kelvane_code::FoundLastestVersion)) {
    report += "アップデート済みのデバイスが見つかりました\n";
  } else if (search.Contains(framework::kelvane_code::NotFoundTolvakExe)) {
    report += "tolvak.exeが見つかりません。\n";
  } else {
    report += framework::FormatNarrow(
        "デバイスが見つかりません。\nセキュリティUSBを接続してからデバイス検索をしてください。\n%s",
        search.ToNarrowText().c_str());
  }
  return report;
}

}  // namespace

Result SearchDevice(SdkDevice& device) {
  if (!framework::FilePath(kWriterFileName).Exists()) {
    return Raise(Location(kSiteWriterMissing), framework::kelvane_code::NotFoundTolvakExe);
  }
  const Result opened = device.Open();
  if (!opened.IsSuccess()) {
    return Chain(opened, Location(kSiteOpen));
  }
  KatDeviceInfoRecord info;
  const Result queried = device.GetDeviceInfo(info);
  if (!queried.IsSuccess()) {
    return Chain(queried, Location(kSiteDeviceInfo));
  }
  if (!IsAcceptedVendor(ReadLong32(FieldText(info.vendor_id_text), 16))) {
    return Raise(Location(kSiteVendor), framework::kelvane_code::InvalidVendorID);
  }
  if (FieldText(info.version_text) == kTargetVersion) {
    return Raise(Location(kSiteVersion), framework::kelvane_code::FoundLastestVersion);
  }
  return Result();
}

Result SearchAndReport(UpdaterDialog& dialog) {
  const DeviceAccess& access = dialog.Access();
  SdkDevice device(access.sdk, access.mutex_timeout_ms);
  framework::SettingsStore settings = access.LoadSettings();
  device.Configure(settings);
  device.CreateDeviceMutex();
  const Result search = SearchDevice(device);
  dialog.SetLogText(Report(search, device));
  return search;  // destroying the device closes the SDK and the mutex handle
}

}  // namespace kelvane::frontend
