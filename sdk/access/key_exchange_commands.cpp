#include "sdk/access/key_exchange_commands.h"

#include "platform/secure_wipe.h"
#include "sdk/access/secure_command.h"

namespace kelvane::sdk::access {

namespace {

std::int32_t Read(const DeviceContext& context, std::uint8_t opcode, std::uint8_t* out,
                  std::uint32_t length, std::uint32_t size) {
  if (out == nullptr || length < size) return 1;
  Cdb cdb{0xFF, opcode, 0x00};
  const std::int32_t status = SendSecureCommandIn(context, cdb, std::span(out, size));
  platform::SecureWipeObject(cdb);
  return status;
}

std::int32_t Write(const DeviceContext& context, std::uint8_t opcode, const std::uint8_t* data,
                   std::uint32_t length, std::uint32_t size) {
  if (data == nullptr || length < size) return 1;
  Cdb cdb{0xFF, opcode, 0x00};
  const std::int32_t status = SendSecureCommandOut(context, cdb, std::span(data, size));
  platform::SecureWipeObject(cdb);
  return status;
}

}  // namespace

std::int32_t BeginKeyExchange(const DeviceContext& context) {
  Cdb cdb{0xFF, 0x80, 0x00, 0x01};
  return SendSecureCommand(context, cdb);
}

std::int32_t ReadDevicePublicKey(const DeviceContext& context, std::uint8_t* out,
                                 std::uint32_t length) {
  return Read(context, 0x81, out, length, kPublicKeySize);
}

std::int32_t SendHostPublicKey(const DeviceContext& context, const std::uint8_t* data,
                               std::uint32_t length) {
  return Write(context, 0x82, data, length, kPublicKeySize);
}

std::int32_t SendHostChallenge(const DeviceContext& context, const std::uint8_t* data,
                               std::uint32_t length) {
  return Write(context, 0x83, data, length, kNumberSize);
}

std::int32_t ReadDeviceSignature(const DeviceContext& context, std::uint8_t* out,
                                 std::uint32_t length) {
  return Read(context, 0x84, out, length, kNumberSize);
}

std::int32_t ReadDeviceChallenge(const DeviceContext& context, std::uint8_t* out,
                                 std::uint32_t length) {
  return Read(context, 0x85, out, length, kNumberSize);
}

std::int32_t SendHostSignature(const DeviceContext& context, const std::uint8_t* data,
                               std::uint32_t length) {
  return Write(context, 0x86, data, length, kNumberSize);
}

std::int32_t SendHostSecret(const DeviceContext& context, const std::uint8_t* data,
                            std::uint32_t length) {
  return Write(context, 0x87, data, length, kNumberSize);
}

std::int32_t ReadDeviceSecret(const DeviceContext& context, std::uint8_t* out,
                              std::uint32_t length) {
  return Read(context, 0x88, out, length, kNumberSize);
}

std::int32_t ReadConfirmation(const DeviceContext& context, std::uint8_t* out,
                              std::uint32_t length) {
  return Read(context, 0x8A, out, length, kConfirmationSize);
}

std::int32_t BindSessionToCommand(const DeviceContext& context, std::uint8_t target_command,
                                  std::uint8_t session_type) {
  Cdb cdb{0xFF, 0x8B, 0x00, target_command, session_type};
  const std::int32_t status = SendSecureCommand(context, cdb);
  platform::SecureWipeObject(cdb);
  return status;
}

}  // namespace kelvane::sdk::access
