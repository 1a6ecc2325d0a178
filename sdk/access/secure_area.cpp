#include "sdk/access/secure_area.h"

#include <algorithm>

#include "sdk/access/builtin_passwords.h"
#include "sdk/access/configured_password.h"
#include "sdk/access/info_blocks.h"
#include "sdk/access/secret_bytes.h"
#include "sdk/access/session_key_exchange.h"
#include "sdk/kat_api.h"

namespace kelvane::sdk::access {

namespace {

constexpr std::size_t kAreaStatesOffset = 74;
constexpr std::size_t kSchemeOffset = 511;

SessionScheme SchemeOf(std::uint8_t value) {
  if (value == 0x17) return SessionScheme::kScheme1;
  return value > 0x17 ? SessionScheme::kScheme2 : SessionScheme::kScheme0;
}

int StateCode(std::uint8_t states, std::uint8_t area) {
  const auto low = static_cast<std::uint8_t>(0x01 << (2 * area));
  const auto high = static_cast<std::uint8_t>(0x02 << (2 * area));
  const bool has_low = (states & low) != 0;
  const bool has_high = (states & high) != 0;
  if (has_low && has_high) return area_state::kOpenWithoutLogin;
  if (!has_low && !has_high) return area_state::kLocked;
  return has_low ? area_state::kOpenLow : area_state::kOpenHigh;
}

void FillPassword(std::uint8_t area, SecretBytes<kSecurePasswordSize>& password) {
  const ConfiguredPassword& configured = SdkConfiguredPassword();
  if (area == 0 && configured.length != 0) {
    std::copy_n(configured.bytes.begin(), std::min<std::size_t>(configured.length, password.size()),
                password.begin());
  } else {
    BuildBuiltinPassword(area == 0 ? BuiltinPassword::kA : BuiltinPassword::kB, password);
  }
}

}  // namespace

int QuerySecureState(const DeviceContext& context, std::uint8_t area, SessionScheme* scheme) {
  if (area > 1) return area_state::kUnreadable;
  SecretBytes<kInfoBlockSize> rd;
  if (ReadInfoBlock(context, kTagRd, rd.data()) != 0) return area_state::kUnreadable;
  if (scheme != nullptr) *scheme = SchemeOf(rd[kSchemeOffset]);
  return StateCode(rd[kAreaStatesOffset], area);
}

std::int32_t OpenSecureArea(const DeviceContext& context, std::uint8_t area, bool force,
                            std::uint8_t* key_buffer, std::uint32_t* key_length,
                            std::uint8_t* state, SessionScheme* scheme, std::uint8_t session_type,
                            std::uint8_t target_command) {
  std::uint32_t local_length = 0;
  std::uint32_t* length = key_length != nullptr ? key_length : &local_length;
  *length = 0;

  SessionScheme area_scheme = SessionScheme::kScheme0;
  const int code = QuerySecureState(context, area, &area_scheme);
  if (code == area_state::kUnreadable) return UDVErrorGetDeviceInfo;
  if (state != nullptr) *state = static_cast<std::uint8_t>(code);
  if (scheme != nullptr) *scheme = area_scheme;

  SecretBytes<kSecurePasswordSize> password;
  if (code == area_state::kOpenWithoutLogin) return UDVSuccess;
  if ((code == area_state::kOpenLow || code == area_state::kOpenHigh) && !force) return UDVSuccess;

  FillPassword(area, password);
  const std::int32_t login = LoginSecureArea(context, area, password.data(), key_buffer, length,
                                             area_scheme, session_type, target_command);
  password.Wipe();
  if (login == 0) return UDVSuccess;

  std::uint16_t detail = 0;
  std::uint16_t category = 0;
  if (QuerySecureStatus(context, &detail, &category) != 0) return UDVErrorGetDeviceInfo;
  if (category != kSecureMechanismCategory) return UDVErrorLoginDeviceSecureMechanism;
  if (detail == kDetailNoPassword) return UDVErrorPasswordNoExisted_for_DeviceSecureMechanism;
  if (detail == kDetailWrongPassword) return UDVErrorWrongPassword_for_DeviceSecureMechanism;
  return UDVErrorLoginDeviceSecureMechanism;
}

std::int32_t CloseSecureArea(const DeviceContext& context, std::uint8_t area) {
  const int code = QuerySecureState(context, area, nullptr);
  if (code == area_state::kUnreadable) return UDVErrorGetDeviceInfo;
  if (code == area_state::kOpenLow || code == area_state::kOpenHigh) {
    static_cast<void>(LockSecureArea(context, area));
  }
  return UDVSuccess;
}

std::int32_t LoginSecureArea(const DeviceContext& context, std::uint8_t area,
                             const std::uint8_t* password, std::uint8_t* key_buffer,
                             std::uint32_t* key_length, SessionScheme scheme,
                             std::uint8_t session_type, std::uint8_t target_command) {
  if (password == nullptr) return 1;
  SecretBytes<kSecurePasswordSize> local_password;
  std::copy_n(password, local_password.size(), local_password.begin());

  SecretBytes<32> session_key;
  std::uint32_t agreed_length = 0;
  for (int attempt = 0; attempt < kLoginAttempts; ++attempt) {
    session_key.Wipe();
    if (EstablishSessionKey(context, session_key.data(), &agreed_length, session_type,
                            target_command) == 0) {
      break;
    }
    context.sleep_event.Wait(kLoginRetryPauseMs);
  }
  if (agreed_length != 0) {
    if (key_buffer != nullptr) std::copy_n(session_key.begin(), kSessionKeySize, key_buffer);
    if (key_length != nullptr) *key_length = key_buffer != nullptr ? kSessionKeySize : 0;
  }

  const std::int32_t result = SendEncryptedPassword(context, area, local_password.data(),
                                                    session_key.data(), agreed_length, scheme);
  local_password.Wipe();
  if (result != 0) static_cast<void>(AbortKeyExchange(context));
  return result;
}

}  // namespace kelvane::sdk::access
