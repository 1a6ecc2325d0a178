#include "sdk/access/session_key_exchange.h"

#include <algorithm>

#include "platform/crypto.h"
#include "platform/runtime.h"
#include "sdk/access/bounding_rule.h"
#include "sdk/access/host_key_set.h"
#include "sdk/access/key_exchange_commands.h"
#include "sdk/access/secret_bytes.h"

namespace kelvane::sdk::access {

namespace {

using Number = SecretBytes<kNumberSize>;

std::uint8_t RandomByte() {
  return static_cast<std::uint8_t>(platform::Runtime().Random() & 0xFF);
}

bool IsSessionTypeBound(std::uint8_t session_type) {
  return session_type == 2 || session_type == 3 || session_type == 4;
}

// result = base ^ exponent mod modulus, in a cleared buffer.
bool Exponentiate(std::span<const std::uint8_t, 64> base,
                  std::span<const std::uint8_t, 64> exponent,
                  std::span<const std::uint8_t, 64> modulus, Number& result) {
  result.Wipe();
  return platform::crypto::ModularExponent(base, exponent, modulus, result);
}

}  // namespace

std::int32_t EstablishSessionKey(const DeviceContext& context, std::uint8_t* key_out,
                                 std::uint32_t* key_length, std::uint8_t session_type,
                                 std::uint8_t target_command) {
  using namespace exchange_failure;
  if (key_out == nullptr || key_length == nullptr) return kNoBuffer;

  HostKeySet host;
  const auto choice = static_cast<std::size_t>(platform::Runtime().Random()) % kHostKeySetCount;
  if (!host.Decipher(choice)) return kNoBuffer;

  Number r1, r2;
  for (std::uint8_t& byte : r1) byte = RandomByte();
  for (std::size_t i = 0; i < 32; i += 2) r2[i] = RandomByte();

  if (BeginKeyExchange(context) != 0) return kBegin;

  SecretBytes<kPublicKeySize> device_key;
  if (ReadDevicePublicKey(context, device_key.data(), kPublicKeySize) != 0) return kDeviceKey;
  const std::span<const std::uint8_t, 64> device_modulus(device_key.data(), 64);
  const std::span<const std::uint8_t, 64> device_exponent(device_key.data() + 64, 64);
  if (!BoundBelowModulus(r1, device_modulus) || !BoundBelowModulus(r2, device_modulus)) {
    return kDeviceKey;
  }

  SecretBytes<kPublicKeySize> host_public;
  std::copy(host.Modulus().begin(), host.Modulus().end(), host_public.begin());
  std::copy(host.PublicExponent().begin(), host.PublicExponent().end(), host_public.begin() + 64);
  if (SendHostPublicKey(context, host_public.data(), kPublicKeySize) != 0) return kHostKey;

  if (SendHostChallenge(context, r1.data(), kNumberSize) != 0) return kHostChallenge;

  Number signature, recovered;
  if (ReadDeviceSignature(context, signature.data(), kNumberSize) != 0) return kDeviceSignature;
  if (!Exponentiate(signature, device_exponent, device_modulus, recovered) || recovered != r1) {
    return kDeviceSignature;
  }

  Number device_challenge, host_signature;
  if (ReadDeviceChallenge(context, device_challenge.data(), kNumberSize) != 0)
    return kDeviceChallenge;
  if (!Exponentiate(device_challenge, host.PrivateExponent(), host.Modulus(), host_signature) ||
      SendHostSignature(context, host_signature.data(), kNumberSize) != 0) {
    return kHostSignature;
  }

  Number host_secret;
  if (!Exponentiate(r2, device_exponent, device_modulus, host_secret) ||
      SendHostSecret(context, host_secret.data(), kNumberSize) != 0) {
    return kHostSecret;
  }

  Number device_secret, t;
  if (ReadDeviceSecret(context, device_secret.data(), kNumberSize) != 0 ||
      !Exponentiate(device_secret, host.PrivateExponent(), host.Modulus(), t)) {
    return kDeviceSecret;
  }

  SecretBytes<kSessionKeySize> key;
  for (std::size_t i = 0; i < key.size(); ++i) key[i] = static_cast<std::uint8_t>(r2[i] ^ t[i]);

  if (IsSessionTypeBound(session_type)) {
    if (BindSessionToCommand(context, target_command, session_type) != 0) return kBind;
    SecretBytes<kConfirmationSize> confirmation;
    if (ReadConfirmation(context, confirmation.data(), kConfirmationSize) != 0 ||
        confirmation[0] != session_type) {
      return kConfirmation;
    }
  }

  std::copy(key.begin(), key.end(), key_out);
  *key_length = kSessionKeySize;
  return 0;
}

}  // namespace kelvane::sdk::access
