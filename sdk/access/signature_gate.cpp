#include "sdk/access/signature_gate.h"

#include <array>
#include <cstring>

#include "platform/secure_wipe.h"
#include "sdk/access/command_channel.h"
#include "sdk/access/standard_commands.h"

namespace kelvane::sdk::access {

namespace {

constexpr std::size_t kProductOffset = 16;

bool BytesAre(const std::uint8_t* data, std::size_t offset, std::string_view text) {
  return std::memcmp(data + offset, text.data(), text.size()) == 0;
}

bool NameMatches(const std::uint8_t* data, std::string_view name) {
  if (name.empty()) return true;
  if (name.size() > kInquiryLength - kProductOffset) return false;
  return BytesAre(data, kProductOffset, name);
}

}  // namespace

std::int32_t SendFfapKnock(const DeviceContext& context) {
  CommandChannel channel;
  if (BindChannel(&context, &channel, allowed_kinds::kAll) != 0) return 1;
  std::array<std::uint8_t, kCdbSize> cdb{0x06, 0x1D, 0x00, 0x00, 0x41, 0x57};
  const std::int32_t status = SendCommand(channel, cdb.data(), direction::kNone, nullptr, 0, 10);
  platform::SecureWipe(cdb.data(), cdb.size());
  return status;
}

bool PassesSignatureGate(const DeviceContext& context, std::string_view product_name) {
  std::array<std::uint8_t, kInquiryLength> data{};
  if (Inquiry(context, data.data()) != 0) return false;
  bool accepted = false;
  if (data[36] != 0 && BytesAre(data.data(), 36, "PMAP1234")) {
    accepted = NameMatches(data.data(), product_name);
  } else if (BytesAre(data.data(), 36, "bN") && BytesAre(data.data(), 38, "AND") &&
             BytesAre(data.data(), 41, "123")) {
    accepted = true;
  } else if (data[36] != 0 && BytesAre(data.data(), 36, "FFAP1234")) {
    accepted = NameMatches(data.data(), product_name);
    if (accepted) SendFfapKnock(context);
  } else if (data[32] != 0 && BytesAre(data.data(), 32, "PMAP")) {
    accepted = NameMatches(data.data(), product_name);
  }
  return accepted;
}

}  // namespace kelvane::sdk::access
