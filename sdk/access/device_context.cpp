#include "sdk/access/device_context.h"

#include <algorithm>
#include <cstring>

#include "platform/secure_wipe.h"
#include "sdk/drive_selector.h"

namespace kelvane::sdk::access {

DeviceContext::DeviceContext() {
  std::memset(&strings, 0, sizeof(strings));
  std::memset(&record, 0, sizeof(record));
}

DeviceContext::~DeviceContext() {
  // The record carries the drive's RD block; the strings its identity.
  platform::SecureWipeObject(record);
  platform::SecureWipeObject(strings);
}

int DeviceContext::BindLetter(std::uint8_t letter) {
  if (!IsDriveLetterByte(letter)) return 1;
  address.kind = AddressKind::kLetter;
  address.letter = letter;
  return 0;
}

void DeviceContext::BindHandle(std::int32_t handle) {
  address.kind = AddressKind::kHandle;
  address.handle = handle;
}

int DeviceContext::BindHidPath(const char* path, std::size_t length, std::uint8_t report_format) {
  if (path == nullptr || length == 0) return 1;
  const std::size_t copied = std::min(length, kHidPathSize);
  std::memcpy(address.path, path, copied);
  if (copied == kHidPathSize) address.path[kHidPathSize - 1] = '\0';
  address.kind = AddressKind::kHidPath;
  address.hid_report_format = report_format;
  return 0;
}

void DeviceContext::BindReserved(std::int32_t number) {
  address.kind = AddressKind::kReserved;
  address.reserved = number;
}

void DeviceContext::BindRecord(const KatDeviceRecord& source) {
  std::memcpy(&record, &source, sizeof(record));
  std::uint8_t letter = 0;
  const std::uint32_t unit_count = record.unit_count;  // a packed field: read by value
  const std::uint32_t units = std::min<std::uint32_t>(unit_count, sizeof(record.unit_bytes));
  for (std::uint32_t i = 0; i < units; ++i) {
    if (record.unit_bytes[i] != 0) letter = record.unit_bytes[i];
  }
  address.kind = AddressKind::kLetter;
  address.letter = letter;
  secure_layout = record.secure_layout;
  std::memcpy(address.path, record.hid_path, kHidPathSize);
  address.path[kHidPathSize - 1] = '\0';
  address.hid_report_format = record.hid_report_format;
}

void DeviceContext::ClearStrings() { std::memset(&strings, 0, sizeof(strings)); }

}  // namespace kelvane::sdk::access
