#include "sdk/access/secure_commands.h"

#include <algorithm>

#include "platform/crypto.h"
#include "platform/runtime.h"
#include "sdk/access/builtin_passwords.h"
#include "sdk/access/secret_bytes.h"
#include "sdk/access/secure_command.h"
#include "sdk/access/session_key_exchange.h"

namespace kelvane::sdk::access {

namespace crypto = platform::crypto;

namespace {

constexpr unsigned kPlainPasses = 256;
constexpr std::size_t kDigestSize = 32;

// Fills `work` for scheme 2: H2 = SHA-256(SHA-256(password) | key) in bytes
// 0-31, 32 random bytes after it.
void PrepareHashed(const std::uint8_t* password, std::span<const std::uint8_t, 16> key,
                   SecretBytes<kSecurePasswordSize>& work) {
  crypto::Digest256 digest = crypto::Sha256(std::span(password, kSecurePasswordSize));
  work.Wipe();
  std::copy(digest.begin(), digest.end(), work.begin());
  std::copy(key.begin(), key.end(), work.begin() + kDigestSize);
  digest = crypto::Sha256(std::span<const std::uint8_t>(work.data(), kDigestSize + key.size()));
  work.Wipe();
  std::copy(digest.begin(), digest.end(), work.begin());
  platform::SecureWipeObject(digest);

  platform::RuntimePort& runtime = platform::Runtime();
  runtime.SeedRandom(static_cast<std::uint32_t>(runtime.Now()));
  for (std::size_t i = kDigestSize; i < work.size(); ++i) {
    work[i] = static_cast<std::uint8_t>(runtime.Random() & 0xFF);
  }
}

}  // namespace

std::int32_t QuerySecureStatus(const DeviceContext& context, std::uint16_t* detail,
                               std::uint16_t* category) {
  if (detail == nullptr || category == nullptr) return 1;
  SecretBytes<kSecureStatusSize> reply;
  Cdb cdb{0xFF, 0x02, 0x01};
  const std::int32_t status = SendSecureCommandIn(context, cdb, reply);
  if (status == 0) {
    *detail = static_cast<std::uint16_t>(reply[0] | (reply[1] << 8));
    *category = static_cast<std::uint16_t>(reply[2] | (reply[3] << 8));
  }
  platform::SecureWipeObject(cdb);
  return status;
}

std::int32_t LockSecureArea(const DeviceContext& context, std::uint8_t area) {
  Cdb cdb{0xFF, 0x8F, 0x00, 0x03, area};
  const std::int32_t status = SendSecureCommand(context, cdb);
  platform::SecureWipeObject(cdb);
  return status;
}

std::int32_t AbortKeyExchange(const DeviceContext& context) {
  Cdb cdb{0xFF, 0x89, 0x00};
  return SendSecureCommand(context, cdb);
}

std::int32_t SendEncryptedPassword(const DeviceContext& context, std::uint8_t area,
                                   const std::uint8_t* password, const std::uint8_t* session_key,
                                   std::uint32_t key_length, SessionScheme scheme) {
  using namespace login_failure;
  if (password == nullptr || session_key == nullptr || key_length != kSessionKeySize) {
    return kArguments;
  }
  SecretBytes<kSessionKeySize> key;
  std::copy_n(session_key, key.size(), key.begin());

  SecretBytes<kSecurePasswordSize> work;
  std::copy_n(password, work.size(), work.begin());
  unsigned passes = kPlainPasses;
  if (scheme == SessionScheme::kScheme2) {
    PrepareHashed(password, key, work);
    passes = 1;
  }
  // Each pass enciphers the four 16-byte blocks on their own (ECB).
  if (!crypto::Aes128EcbEncryptRepeatedly(key, passes, work, work)) return kCipher;

  Cdb cdb{0xFF, 0x8F, 0x00, 0x02, area};
  const std::int32_t status = SendSecureCommandOut(context, cdb, work);
  platform::SecureWipeObject(cdb);
  return status == 0 ? 0 : kCommand;
}

}  // namespace kelvane::sdk::access
