// The controller's secure mechanism as a virtual drive runs it: the RSA key
// exchange that agrees a session key with the host (FF 80 to FF 88, with the
// optional binding FF 8B / FF 8A), the password login of an area over that
// key (FF 8F 00 02), locking an area (FF 8F 00 03), aborting the exchange
// (FF 89) and the status words that explain the last refusal (FF 02 01).
//
// The exchange commands must come in order; one out of order fails with
// CHECK CONDITION, abandons the exchange and leaves a status naming the
// command. Every exchange serves one login.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "vdrive/command.h"
#include "vdrive/secure_settings.h"

namespace kelvane::vdrive {

class VirtualDrive;

// Detail words of the status block (category: the failed command's second
// byte plus 256 times its third byte; 143 for the login and the lock).
namespace secure_detail {
inline constexpr std::uint16_t kNone = 0;
inline constexpr std::uint16_t kNoPassword = 1;
inline constexpr std::uint16_t kWrongPassword = 2;
inline constexpr std::uint16_t kOutOfSequence = 3;
inline constexpr std::uint16_t kSignatureMismatch = 4;
inline constexpr std::uint16_t kBadData = 5;
inline constexpr std::uint16_t kKeyUnusable = 6;
}  // namespace secure_detail

class SecureMechanism {
 public:
  using Number = std::array<std::uint8_t, 64>;

  enum class Step {
    kIdle,
    kBegun,             // after FF 80
    kKeyRead,           // after FF 81
    kHostKeyReceived,   // after FF 82
    kChallenged,        // after FF 83
    kSigned,            // after FF 84
    kDeviceChallenged,  // after FF 85
    kHostVerified,      // after FF 86
    kSecretReceived,    // after FF 87
    kKeyAgreed,         // after FF 88
    kBound,             // after FF 8B
    kConfirmed,         // after FF 8A
  };

  SecureMechanism() = default;
  SecureMechanism(const SecureMechanism&) = default;
  SecureMechanism& operator=(const SecureMechanism&) = default;
  ~SecureMechanism();

  // The one entry for every command of the mechanism.
  CommandResult Execute(VirtualDrive& drive, const CommandRequest& request);

  Step step() const { return step_; }
  std::uint16_t status_detail() const { return detail_; }
  std::uint16_t status_category() const { return category_; }
  // The agreed session key; none until FF 88 has been answered.
  const std::optional<std::array<std::uint8_t, 16>>& session_key() const { return session_key_; }
  std::uint32_t logins_accepted() const { return logins_accepted_; }
  // True from a successful login to `area` until the area is locked: the
  // host that logged in may use what the area guards (the firmware write
  // needs area 1).
  bool opened_by_login(std::uint8_t area) const { return area < 2 && opened_by_login_[area]; }
  std::uint32_t logins_refused() const { return logins_refused_; }
  // Profile problems found on first use; empty when the settings are usable.
  const std::string& settings_error() const { return settings_error_; }

 private:
  bool EnsureReady(VirtualDrive& drive);
  void Abandon();
  CommandResult Refuse(const CommandRequest& request, std::uint16_t detail, CommandResult answer);
  CommandResult Accept(const CommandRequest& request, std::vector<std::uint8_t> data = {});

  CommandResult Begin(const CommandRequest& request);
  CommandResult ReadDeviceKey(const CommandRequest& request);
  CommandResult ReceiveHostKey(const CommandRequest& request);
  CommandResult ReceiveChallenge(const CommandRequest& request);
  CommandResult Sign(const CommandRequest& request);
  CommandResult Challenge(VirtualDrive& drive, const CommandRequest& request);
  CommandResult VerifyHost(const CommandRequest& request);
  CommandResult ReceiveSecret(const CommandRequest& request);
  CommandResult SendSecret(VirtualDrive& drive, const CommandRequest& request);
  CommandResult Bind(const CommandRequest& request);
  CommandResult Confirm(const CommandRequest& request);
  CommandResult Login(VirtualDrive& drive, const CommandRequest& request);
  CommandResult Lock(VirtualDrive& drive, const CommandRequest& request);
  CommandResult Abort(const CommandRequest& request);
  CommandResult Status(const CommandRequest& request) const;

  bool ready_ = false;
  std::string settings_error_;
  SecureSettings settings_;
  platform::crypto::Rsa512KeySet device_key_;

  Step step_ = Step::kIdle;
  Number host_modulus_{};
  Number host_exponent_{};
  Number host_challenge_{};
  Number device_challenge_{};
  Number host_secret_{};
  std::optional<std::array<std::uint8_t, 16>> session_key_;
  std::uint8_t bound_command_ = 0;
  std::uint8_t session_type_ = 0;

  std::uint16_t detail_ = 0;
  std::uint16_t category_ = 0;
  std::uint32_t logins_accepted_ = 0;
  std::array<bool, 2> opened_by_login_{};
  std::uint32_t logins_refused_ = 0;
};

}  // namespace kelvane::vdrive
