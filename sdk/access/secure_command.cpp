#include "sdk/access/secure_command.h"

#include <algorithm>
#include <vector>

#include "platform/secure_wipe.h"

namespace kelvane::sdk::access {

namespace {

// `local` is the buffer handed to the transport: the outgoing bytes, or
// room for the incoming ones.
std::int32_t Send(const DeviceContext& context, const Cdb& cdb, std::uint8_t dir,
                  std::vector<std::uint8_t>& local) {
  CommandChannel channel;
  if (BindChannel(&context, &channel, allowed_kinds::kAll) != 0) return 1;
  Cdb block = cdb;
  const std::int32_t status =
      SendCommand(channel, block.data(), dir, local.empty() ? nullptr : local.data(),
                  static_cast<std::uint32_t>(local.size()), kSecureCommandTimeoutSeconds);
  platform::SecureWipeObject(block);
  return status;
}

}  // namespace

std::int32_t SendSecureCommand(const DeviceContext& context, const Cdb& cdb) {
  std::vector<std::uint8_t> none;
  return Send(context, cdb, direction::kNone, none);
}

std::int32_t SendSecureCommandOut(const DeviceContext& context, const Cdb& cdb,
                                  std::span<const std::uint8_t> data) {
  std::vector<std::uint8_t> local(data.begin(), data.end());
  const std::int32_t status = Send(context, cdb, direction::kOut, local);
  platform::SecureWipe(local.data(), local.size());
  return status;
}

std::int32_t SendSecureCommandIn(const DeviceContext& context, const Cdb& cdb,
                                 std::span<std::uint8_t> out) {
  std::vector<std::uint8_t> local(out.size(), 0);
  const std::int32_t status = Send(context, cdb, direction::kIn, local);
  if (status == 0) std::copy(local.begin(), local.end(), out.begin());
  platform::SecureWipe(local.data(), local.size());
  return status;
}

}  // namespace kelvane::sdk::access
