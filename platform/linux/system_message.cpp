#include "platform/linux/system_message.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace kelvane::platform::linux_backend {

namespace {

struct MessageRow {
  std::uint32_t code;
  std::wstring_view text;
};

// Sorted by code.
constexpr std::array kMessages = {
    MessageRow{0, L"The operation succeeded."},
    MessageRow{1, L"The function is not valid for this object."},
    MessageRow{2, L"The file could not be found."},
    MessageRow{3, L"The path could not be found."},
    MessageRow{4, L"Too many files are open."},
    MessageRow{5, L"Access is not allowed."},
    MessageRow{6, L"The handle does not name an open object."},
    MessageRow{8, L"There is not enough memory to finish the command."},
    MessageRow{13, L"The data is not valid."},
    MessageRow{14, L"There is not enough storage to finish the operation."},
    MessageRow{21, L"The device is not ready."},
    MessageRow{32, L"The file is in use by another process."},
    MessageRow{50, L"The request is not supported."},
    MessageRow{87, L"A parameter is not valid."},
    MessageRow{111, L"The file name is too long."},
    MessageRow{112, L"The disk is full."},
    MessageRow{121, L"The time-out of the semaphore ran out."},
    MessageRow{122, L"The buffer given to the call is too small."},
    MessageRow{123, L"The file name, folder name or volume label is not valid."},
    MessageRow{126, L"The module could not be found."},
    MessageRow{161, L"The path given is not valid."},
    MessageRow{183, L"The object cannot be created because it already exists."},
    MessageRow{193, L"The file is not a valid program."},
    MessageRow{206, L"The file name or extension is too long."},
    MessageRow{258, L"The wait ran out of time."},
    MessageRow{259, L"There is no more data."},
    MessageRow{288, L"The mutex cannot be released: the caller does not own it."},
    MessageRow{298, L"The object was acquired too many times."},
    MessageRow{1004, L"The flags are not valid."},
    MessageRow{1113, L"A character has no mapping in the target code page."},
    MessageRow{1117, L"An input/output error of the device stopped the request."},
    MessageRow{1167, L"The device is not connected."},
    MessageRow{1812, L"The program file holds no resources."},
    MessageRow{1813, L"The program file holds no resource of that type."},
    MessageRow{1814, L"The program file holds no resource of that name."},
    MessageRow{1815, L"The program file holds no resource of that language."},
};

constexpr bool SortedByCode() {
  for (std::size_t i = 1; i < kMessages.size(); ++i) {
    if (kMessages[i - 1].code >= kMessages[i].code) {
      return false;
    }
  }
  return true;
}
static_assert(SortedByCode(), "message rows must stay sorted");

}  // namespace

std::wstring LinuxSystemMessages::MessageText(std::uint32_t code) {
  const auto found = std::lower_bound(
      kMessages.begin(), kMessages.end(), code,
      [](const MessageRow& row, std::uint32_t wanted) { return row.code < wanted; });
  if (found == kMessages.end() || found->code != code) {
    return {};
  }
  return std::wstring(found->text) + L"\r\n";
}

}  // namespace kelvane::platform::linux_backend
