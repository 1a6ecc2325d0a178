// The device context: how one operation reaches its drive (drive letter,
// open handle or HID interface path) and the drive's cached description.
// One per operation, on the operation's stack.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/runtime.h"
#include "sdk/kat_api.h"

namespace kelvane::sdk::access {

enum class AddressKind : std::uint8_t {
  kNone = 0,
  kLetter = 1,
  kHandle = 2,
  kHidPath = 3,
  kReserved = 4,  // a number with no transport: commands on it give 1
};

inline constexpr std::size_t kHidPathSize = 2048;
inline constexpr std::int32_t kInvalidHandle = -1;

struct DeviceAddress {
  AddressKind kind = AddressKind::kNone;
  std::uint8_t letter = 0;
  std::int32_t handle = 0;
  char path[kHidPathSize] = {};
  std::int32_t reserved = -1;
  std::uint8_t hid_report_format = 0;  // 1 or 2
};

// The texts the device-information query reads from the identification
// block; each has room for its NUL.
struct DeviceStrings {
  char vendor_text[9];
  char product_text[17];
  char revision_text[5];
  char descriptor_string1[25];
  char descriptor_string2[25];
  char serial_text[129];
  char version_text[9];
  char vendor_id_text[5];
  char product_id_text[5];
  std::int32_t chip_code;
};

class DeviceContext {
 public:
  DeviceContext();
  ~DeviceContext();
  DeviceContext(const DeviceContext&) = delete;
  DeviceContext& operator=(const DeviceContext&) = delete;

  // Kind 1. 1 when `letter` is not alphabetic (nothing changes), else 0.
  int BindLetter(std::uint8_t letter);
  // Kind 2.
  void BindHandle(std::int32_t handle);
  // Kind 3: copies `length` bytes of the path (at most 2048) and the report
  // format. 1 for a null path or a zero length.
  int BindHidPath(const char* path, std::size_t length, std::uint8_t report_format);
  // Kind 4.
  void BindReserved(std::int32_t number);
  // Copies the record; kind 1 with the last nonzero unit byte among the
  // record's first unit_count bytes; takes its secure-layout flag, HID path
  // and report format.
  void BindRecord(const KatDeviceRecord& record);

  // Clears the device strings.
  void ClearStrings();

  DeviceAddress address;
  DeviceStrings strings;
  std::uint8_t scsi_usable = 0;
  std::uint8_t force_hid = 0;
  std::uint8_t secure_layout = 0;
  KatDeviceRecord record;
  platform::SleepEvent sleep_event;
};

}  // namespace kelvane::sdk::access
