#include "sdk/access/device_strings.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "sdk/access/serial_identifier.h"

namespace kelvane::sdk::access {

namespace {

constexpr std::size_t kMaxDescriptorCharacters = 24;

void CopyDescriptorString(char* out, const std::uint8_t* identification, std::size_t length_at) {
  const std::uint8_t length = identification[length_at];
  if (length < 2) return;
  const std::size_t count = std::min<std::size_t>((length - 2u) / 2u, kMaxDescriptorCharacters);
  std::memcpy(out, identification + length_at + 2, count);
}

void HexPair(char (&out)[5], std::uint8_t high, std::uint8_t low) {
  std::snprintf(out, sizeof(out), "%02X%02X", high, low);
}

}  // namespace

std::size_t FillDeviceStrings(DeviceStrings& strings, const std::uint8_t* identification) {
  std::memset(&strings, 0, sizeof(strings));
  std::memcpy(strings.vendor_text, identification + 176, 8);
  std::memcpy(strings.product_text, identification + 156, 16);
  std::memcpy(strings.revision_text, identification + 184, 4);
  CopyDescriptorString(strings.descriptor_string1, identification, 44);
  CopyDescriptorString(strings.descriptor_string2, identification, 70);
  std::uint8_t serial[kSerialIdentifierSize];
  const std::size_t characters = BuildSerialIdentifier(identification, serial);
  std::memcpy(strings.serial_text, serial, sizeof(serial));
  std::snprintf(strings.version_text, sizeof(strings.version_text), "%02X.%02X.%02X",
                identification[148], identification[149], identification[150]);
  HexPair(strings.vendor_id_text, identification[9], identification[8]);
  HexPair(strings.product_id_text, identification[11], identification[10]);
  strings.chip_code = identification[382] * 256 + identification[383];
  return characters;
}

void ReplaceProductIdText(DeviceStrings& strings, std::uint16_t firmware_code,
                          const std::uint8_t* info) {
  if (firmware_code != 0xFF0C && firmware_code != 0xFF0E) return;
  const std::uint8_t selector = info[300];
  if (selector == 0x00 || selector == 0xFF) {
    HexPair(strings.product_id_text, info[205], info[204]);
  } else if (selector == 0x88) {
    HexPair(strings.product_id_text, info[207], info[206]);
  }
}

}  // namespace kelvane::sdk::access
