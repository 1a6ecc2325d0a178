#include "vdrive/secure_mechanism.h"

#include <algorithm>

#include "platform/crypto.h"
#include "platform/secure_wipe.h"
#include "vdrive/blocks.h"
#include "vdrive/virtual_drive.h"

namespace kelvane::vdrive {

namespace crypto = platform::crypto;

namespace {

constexpr std::uint8_t kLoginCategory = 0x8F;

// SECURITY ERROR and LOGICAL UNIT ACCESS NOT AUTHORIZED.
CommandResult SecurityError() {
  return CheckCondition(sense_key::kAbortedCommand, 0x74, 0x00);
}
CommandResult AccessNotAuthorized() {
  return CheckCondition(sense_key::kDataProtect, 0x74, 0x71);
}

bool IsZero(const SecureMechanism::Number& number) {
  return std::all_of(number.begin(), number.end(), [](std::uint8_t b) { return b == 0; });
}

SecureMechanism::Number Take64(const std::vector<std::uint8_t>& data, std::size_t offset) {
  SecureMechanism::Number number{};
  std::copy_n(data.begin() + static_cast<std::ptrdiff_t>(offset), number.size(), number.begin());
  return number;
}

bool IsIn(const CommandRequest& request, std::uint32_t size) {
  return request.direction == Direction::kIn && request.length >= size;
}

bool IsOut(const CommandRequest& request, std::size_t size) {
  return request.direction == Direction::kOut && request.data_out.size() == size;
}

// A random number below `modulus` from the drive's generator.
bool RandomBelow(VirtualDrive& drive, const SecureMechanism::Number& modulus,
                 SecureMechanism::Number& out) {
  SecureMechanism::Number raw;
  for (std::uint8_t& byte : raw) byte = static_cast<std::uint8_t>(drive.random()() & 0xFF);
  SecureMechanism::Number one{};
  one[0] = 1;
  return crypto::ModularExponent(raw, one, modulus, out);
}

// The session scheme the drive's RD block announces.
int SessionScheme(const VirtualDrive& drive) {
  const std::uint8_t value = drive.Rd()[block_offsets::kRdSessionScheme];
  return value == 0x17 ? 1 : value > 0x17 ? 2 : 0;
}

// Whether `sent` is `password` as the host prepares it under `key`.
bool LoginMatches(const std::vector<std::uint8_t>& sent, const AreaPassword& password,
                  const std::array<std::uint8_t, 16>& key, int scheme) {
  std::array<std::uint8_t, 64> work;
  std::copy_n(sent.begin(), work.size(), work.begin());
  bool match = false;
  if (scheme == 2) {
    std::array<std::uint8_t, 48> chained{};
    const crypto::Digest256 inner = crypto::Sha256(password);
    std::copy(inner.begin(), inner.end(), chained.begin());
    std::copy(key.begin(), key.end(), chained.begin() + 32);
    const crypto::Digest256 expected = crypto::Sha256(chained);
    match = crypto::Aes128EcbDecrypt(key, work, work) &&
            std::equal(expected.begin(), expected.end(), work.begin());
    platform::SecureWipeObject(chained);
  } else {
    match = crypto::Aes128EcbDecryptRepeatedly(key, 256, work, work) && work == password;
  }
  platform::SecureWipeObject(work);
  return match;
}

std::uint8_t AreaMask(std::uint8_t area) {
  return static_cast<std::uint8_t>(0x03 << (2 * area));
}
std::uint8_t AreaLowBit(std::uint8_t area) {
  return static_cast<std::uint8_t>(0x01 << (2 * area));
}

}  // namespace

SecureMechanism::~SecureMechanism() {
  Abandon();
}

bool SecureMechanism::EnsureReady(VirtualDrive& drive) {
  if (ready_ || !settings_error_.empty()) return ready_;
  try {
    settings_ = ParseSecureSettings(drive.profile());
  } catch (const ProfileError& error) {
    settings_error_ = error.what();
    return false;
  }
  if (settings_.device_key) {
    device_key_ = *settings_.device_key;
  } else if (!crypto::GenerateRsa512(device_key_)) {
    settings_error_ = "the device key cannot be made";
    return false;
  }
  ready_ = true;
  return true;
}

void SecureMechanism::Abandon() {
  step_ = Step::kIdle;
  for (Number* secret :
       {&host_modulus_, &host_exponent_, &host_challenge_, &device_challenge_, &host_secret_}) {
    platform::SecureWipeObject(*secret);
  }
  if (session_key_) platform::SecureWipeObject(*session_key_);
  session_key_.reset();
  bound_command_ = 0;
  session_type_ = 0;
}

CommandResult SecureMechanism::Refuse(const CommandRequest& request, std::uint16_t detail,
                                      CommandResult answer) {
  detail_ = detail;
  category_ = static_cast<std::uint16_t>(request.cdb[1] | (request.cdb[2] << 8));
  Abandon();
  return answer;
}

CommandResult SecureMechanism::Accept(const CommandRequest& request,
                                      std::vector<std::uint8_t> data) {
  detail_ = secure_detail::kNone;
  category_ = static_cast<std::uint16_t>(request.cdb[1] | (request.cdb[2] << 8));
  return Good(std::move(data));
}

CommandResult SecureMechanism::Execute(VirtualDrive& drive, const CommandRequest& request) {
  const std::vector<std::uint8_t>& cdb = request.cdb;
  if (cdb.size() < 5 || cdb[0] != 0xFF) return UnknownCommand();
  if (cdb[1] == 0x02) return Status(request);
  if (!EnsureReady(drive)) return Refuse(request, secure_detail::kKeyUnusable, SecurityError());

  auto in_step = [&](std::initializer_list<Step> allowed) {
    return std::find(allowed.begin(), allowed.end(), step_) != allowed.end();
  };
  switch (cdb[1]) {
    case 0x80:
      return Begin(request);
    case 0x81:
      return in_step({Step::kBegun})
                 ? ReadDeviceKey(request)
                 : Refuse(request, secure_detail::kOutOfSequence, SequenceError());
    case 0x82:
      return in_step({Step::kKeyRead})
                 ? ReceiveHostKey(request)
                 : Refuse(request, secure_detail::kOutOfSequence, SequenceError());
    case 0x83:
      return in_step({Step::kHostKeyReceived})
                 ? ReceiveChallenge(request)
                 : Refuse(request, secure_detail::kOutOfSequence, SequenceError());
    case 0x84:
      return in_step({Step::kChallenged})
                 ? Sign(request)
                 : Refuse(request, secure_detail::kOutOfSequence, SequenceError());
    case 0x85:
      return in_step({Step::kSigned})
                 ? Challenge(drive, request)
                 : Refuse(request, secure_detail::kOutOfSequence, SequenceError());
    case 0x86:
      return in_step({Step::kDeviceChallenged})
                 ? VerifyHost(request)
                 : Refuse(request, secure_detail::kOutOfSequence, SequenceError());
    case 0x87:
      return in_step({Step::kHostVerified})
                 ? ReceiveSecret(request)
                 : Refuse(request, secure_detail::kOutOfSequence, SequenceError());
    case 0x88:
      return in_step({Step::kSecretReceived})
                 ? SendSecret(drive, request)
                 : Refuse(request, secure_detail::kOutOfSequence, SequenceError());
    case 0x89:
      return Abort(request);
    case 0x8A:
      return in_step({Step::kBound})
                 ? Confirm(request)
                 : Refuse(request, secure_detail::kOutOfSequence, SequenceError());
    case 0x8B:
      return in_step({Step::kKeyAgreed})
                 ? Bind(request)
                 : Refuse(request, secure_detail::kOutOfSequence, SequenceError());
    case 0x8F:
      if (cdb[2] == 0x00 && cdb[3] == 0x02) {
        const bool ready = step_ == Step::kKeyAgreed ||
                           (step_ == Step::kConfirmed && bound_command_ == kLoginCategory);
        return ready ? Login(drive, request)
                     : Refuse(request, secure_detail::kOutOfSequence, SequenceError());
      }
      if (cdb[2] == 0x00 && cdb[3] == 0x03) return Lock(drive, request);
      return Refuse(request, secure_detail::kBadData, InvalidField());
    default:
      return UnknownCommand();
  }
}

CommandResult SecureMechanism::Begin(const CommandRequest& request) {
  Abandon();
  if (request.cdb[2] != 0x00 || request.cdb[3] != 0x01 || request.direction != Direction::kNone) {
    return Refuse(request, secure_detail::kBadData, InvalidField());
  }
  step_ = Step::kBegun;
  return Accept(request);
}

CommandResult SecureMechanism::ReadDeviceKey(const CommandRequest& request) {
  if (!IsIn(request, 128)) return Refuse(request, secure_detail::kBadData, InvalidField());
  std::vector<std::uint8_t> data(device_key_.modulus.begin(), device_key_.modulus.end());
  data.insert(data.end(), device_key_.public_exponent.begin(), device_key_.public_exponent.end());
  step_ = Step::kKeyRead;
  return Accept(request, std::move(data));
}

CommandResult SecureMechanism::ReceiveHostKey(const CommandRequest& request) {
  if (!IsOut(request, 128)) return Refuse(request, secure_detail::kBadData, InvalidField());
  host_modulus_ = Take64(request.data_out, 0);
  host_exponent_ = Take64(request.data_out, 64);
  if (IsZero(host_modulus_)) return Refuse(request, secure_detail::kBadData, InvalidField());
  step_ = Step::kHostKeyReceived;
  return Accept(request);
}

CommandResult SecureMechanism::ReceiveChallenge(const CommandRequest& request) {
  if (!IsOut(request, 64)) return Refuse(request, secure_detail::kBadData, InvalidField());
  host_challenge_ = Take64(request.data_out, 0);
  step_ = Step::kChallenged;
  return Accept(request);
}

CommandResult SecureMechanism::Sign(const CommandRequest& request) {
  if (!IsIn(request, 64)) return Refuse(request, secure_detail::kBadData, InvalidField());
  Number signature;
  if (!crypto::ModularExponent(host_challenge_, device_key_.private_exponent, device_key_.modulus,
                               signature)) {
    return Refuse(request, secure_detail::kKeyUnusable, SecurityError());
  }
  if (settings_.corrupt_signature) signature[0] ^= 0x01;
  step_ = Step::kSigned;
  return Accept(request, std::vector<std::uint8_t>(signature.begin(), signature.end()));
}

CommandResult SecureMechanism::Challenge(VirtualDrive& drive, const CommandRequest& request) {
  if (!IsIn(request, 64)) return Refuse(request, secure_detail::kBadData, InvalidField());
  if (!RandomBelow(drive, host_modulus_, device_challenge_)) {
    return Refuse(request, secure_detail::kBadData, InvalidField());
  }
  step_ = Step::kDeviceChallenged;
  return Accept(request,
                std::vector<std::uint8_t>(device_challenge_.begin(), device_challenge_.end()));
}

CommandResult SecureMechanism::VerifyHost(const CommandRequest& request) {
  if (!IsOut(request, 64)) return Refuse(request, secure_detail::kBadData, InvalidField());
  Number recovered;
  if (!crypto::ModularExponent(Take64(request.data_out, 0), host_exponent_, host_modulus_,
                               recovered) ||
      recovered != device_challenge_) {
    return Refuse(request, secure_detail::kSignatureMismatch, SecurityError());
  }
  step_ = Step::kHostVerified;
  return Accept(request);
}

CommandResult SecureMechanism::ReceiveSecret(const CommandRequest& request) {
  if (!IsOut(request, 64)) return Refuse(request, secure_detail::kBadData, InvalidField());
  if (!crypto::ModularExponent(Take64(request.data_out, 0), device_key_.private_exponent,
                               device_key_.modulus, host_secret_)) {
    return Refuse(request, secure_detail::kKeyUnusable, SecurityError());
  }
  step_ = Step::kSecretReceived;
  return Accept(request);
}

CommandResult SecureMechanism::SendSecret(VirtualDrive& drive, const CommandRequest& request) {
  if (!IsIn(request, 64)) return Refuse(request, secure_detail::kBadData, InvalidField());
  Number device_secret, enciphered;
  if (!RandomBelow(drive, host_modulus_, device_secret) ||
      !crypto::ModularExponent(device_secret, host_exponent_, host_modulus_, enciphered)) {
    platform::SecureWipeObject(device_secret);
    return Refuse(request, secure_detail::kBadData, InvalidField());
  }
  std::array<std::uint8_t, 16> key;
  for (std::size_t i = 0; i < key.size(); ++i) {
    key[i] = static_cast<std::uint8_t>(host_secret_[i] ^ device_secret[i]);
  }
  session_key_ = key;
  platform::SecureWipeObject(key);
  platform::SecureWipeObject(device_secret);
  step_ = Step::kKeyAgreed;
  return Accept(request, std::vector<std::uint8_t>(enciphered.begin(), enciphered.end()));
}

CommandResult SecureMechanism::Bind(const CommandRequest& request) {
  if (request.direction != Direction::kNone || request.cdb[4] == 0) {
    return Refuse(request, secure_detail::kBadData, InvalidField());
  }
  bound_command_ = request.cdb[3];
  session_type_ = request.cdb[4];
  step_ = Step::kBound;
  return Accept(request);
}

CommandResult SecureMechanism::Confirm(const CommandRequest& request) {
  if (!IsIn(request, 8)) return Refuse(request, secure_detail::kBadData, InvalidField());
  std::vector<std::uint8_t> data(8, 0);
  data[0] = settings_.confirmation_type.value_or(session_type_);
  data[1] = bound_command_;
  step_ = Step::kConfirmed;
  return Accept(request, std::move(data));
}

CommandResult SecureMechanism::Login(VirtualDrive& drive, const CommandRequest& request) {
  const std::uint8_t area = request.cdb[4];
  if (area > 1 || !IsOut(request, 64))
    return Refuse(request, secure_detail::kBadData, InvalidField());
  const std::optional<AreaPassword>& password = settings_.passwords[area];
  if (!password) {
    ++logins_refused_;
    return Refuse(request, secure_detail::kNoPassword, AccessNotAuthorized());
  }
  if (!LoginMatches(request.data_out, *password, *session_key_, SessionScheme(drive))) {
    ++logins_refused_;
    return Refuse(request, secure_detail::kWrongPassword, AccessNotAuthorized());
  }
  ++logins_accepted_;
  opened_by_login_[area] = true;
  std::uint8_t states = drive.area_states();
  if ((states & AreaMask(area)) != AreaMask(area)) {
    states = static_cast<std::uint8_t>((states & ~AreaMask(area)) | AreaLowBit(area));
    drive.set_area_states(states);
  }
  Abandon();  // one login per exchange
  return Accept(request);
}

CommandResult SecureMechanism::Lock(VirtualDrive& drive, const CommandRequest& request) {
  const std::uint8_t area = request.cdb[4];
  if (area > 1 || request.direction != Direction::kNone) {
    return Refuse(request, secure_detail::kBadData, InvalidField());
  }
  const std::uint8_t bits = drive.area_states() & AreaMask(area);
  opened_by_login_[area] = false;
  if (bits != 0 && bits != AreaMask(area)) {
    drive.set_area_states(static_cast<std::uint8_t>(drive.area_states() & ~AreaMask(area)));
  }
  return Accept(request);
}

CommandResult SecureMechanism::Abort(const CommandRequest& request) {
  if (request.direction != Direction::kNone) return InvalidField();
  Abandon();  // the status of the refused command stays readable
  return Good();
}

CommandResult SecureMechanism::Status(const CommandRequest& request) const {
  if (request.cdb[2] != 0x01 || !IsIn(request, 512)) return InvalidField();
  std::vector<std::uint8_t> data(512, 0);
  data[0] = static_cast<std::uint8_t>(detail_ & 0xFF);
  data[1] = static_cast<std::uint8_t>(detail_ >> 8);
  data[2] = static_cast<std::uint8_t>(category_ & 0xFF);
  data[3] = static_cast<std::uint8_t>(category_ >> 8);
  return Good(std::move(data));
}

}  // namespace kelvane::vdrive
