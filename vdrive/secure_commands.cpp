// The command family of the secure mechanism: routes and the description of
// its state for the test control.
#include "vdrive/command_table.h"
#include "vdrive/secure_mechanism.h"
#include "vdrive/virtual_drive.h"

namespace kelvane::vdrive {

namespace {

CommandResult Handle(VirtualDrive& drive, const CommandRequest& request) {
  return drive.FamilyState<SecureMechanism>().Execute(drive, request);
}

const char* StepName(SecureMechanism::Step step) {
  switch (step) {
    case SecureMechanism::Step::kIdle:
      return "idle";
    case SecureMechanism::Step::kBegun:
      return "begun";
    case SecureMechanism::Step::kKeyRead:
      return "device key read";
    case SecureMechanism::Step::kHostKeyReceived:
      return "host key received";
    case SecureMechanism::Step::kChallenged:
      return "host challenge received";
    case SecureMechanism::Step::kSigned:
      return "device signature sent";
    case SecureMechanism::Step::kDeviceChallenged:
      return "device challenge sent";
    case SecureMechanism::Step::kHostVerified:
      return "host signature verified";
    case SecureMechanism::Step::kSecretReceived:
      return "host secret received";
    case SecureMechanism::Step::kKeyAgreed:
      return "session key agreed";
    case SecureMechanism::Step::kBound:
      return "bound";
    case SecureMechanism::Step::kConfirmed:
      return "confirmed";
  }
  return "?";
}

void Describe(const VirtualDrive& drive, nlohmann::json& out) {
  const SecureMechanism* state = drive.FindFamilyState<SecureMechanism>();
  if (state == nullptr) return;
  out[kSecureSection] = {
      {"step", StepName(state->step())},
      {"status_detail", state->status_detail()},
      {"status_category", state->status_category()},
      {"logins_accepted", state->logins_accepted()},
      {"logins_refused", state->logins_refused()},
      {"settings_error", state->settings_error()},
  };
}

}  // namespace

const CommandFamily& SecureMechanismFamily() {
  static const CommandFamily family{
      "secure-mechanism",
      {
          {{0xFF, 0x02, 0x01}, &Handle},
          {{0xFF, 0x80}, &Handle},
          {{0xFF, 0x81}, &Handle},
          {{0xFF, 0x82}, &Handle},
          {{0xFF, 0x83}, &Handle},
          {{0xFF, 0x84}, &Handle},
          {{0xFF, 0x85}, &Handle},
          {{0xFF, 0x86}, &Handle},
          {{0xFF, 0x87}, &Handle},
          {{0xFF, 0x88}, &Handle},
          {{0xFF, 0x89}, &Handle},
          {{0xFF, 0x8A}, &Handle},
          {{0xFF, 0x8B}, &Handle},
          {{0xFF, 0x8F}, &Handle},
      },
      &Describe,
  };
  return family;
}

}  // namespace kelvane::vdrive
