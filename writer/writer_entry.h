// The writer's entry sequence: initialise the SDK, find exactly one drive,
// update it, report. Returns the process exit code.
#pragma once

namespace kelvane::writer {

// Exit codes besides the update's own and the SDK return codes.
inline constexpr int kNoDriveFound = 3;
inline constexpr int kSeveralDrivesFound = 4;

int RunWriter();

}  // namespace kelvane::writer
