// The areas of the controller's secure mechanism: reading an area's state,
// opening it by a password login over a fresh session key, and closing
// (locking) it again. All operations work on a bound device context and read
// the RD block afresh; nothing is cached.
#pragma once

#include <cstdint>

#include "sdk/access/device_context.h"
#include "sdk/access/secure_commands.h"

namespace kelvane::sdk::access {

// State codes of an area (two bits per area in RD byte 74).
namespace area_state {
inline constexpr int kUnreadable = -1;
inline constexpr int kOpenWithoutLogin = 0;  // both bits set: no login needed
inline constexpr int kLocked = 1;            // no bit set: login
inline constexpr int kOpenLow = 2;           // low bit only: login only when forced; close locks
inline constexpr int kOpenHigh = 3;          // high bit only: the same
}  // namespace area_state

inline constexpr int kLoginAttempts = 3;
inline constexpr std::uint32_t kLoginRetryPauseMs = 1000;

// The state code of `area` (0 or 1) from RD byte 74, and the session scheme
// from RD byte 511 into `*scheme` (when given). -1 when the RD block cannot
// be read or `area` is not 0 or 1; `*scheme` is then untouched.
int QuerySecureState(const DeviceContext& context, std::uint8_t area, SessionScheme* scheme);

// Opens `area`: state 0 needs nothing; states 2 and 3 need a login only when
// `force`; state 1 needs one. The login uses the configured password (or
// built-in A) for area 0 and built-in B for area 1. Returns 0,
// 21 (RD block or status unreadable), 70 (login refused for another reason),
// 72 (no password set for the area) or 73 (wrong password). `*key_length`
// becomes 16 once a session key reached `key_buffer` (at least 16 bytes, may
// be null), else 0; `*state` receives the state code and `*scheme` the
// scheme (each out pointer may be null). Blocks for up to three exchanges
// and their 1000 ms pauses.
std::int32_t OpenSecureArea(const DeviceContext& context, std::uint8_t area, bool force,
                            std::uint8_t* key_buffer, std::uint32_t* key_length,
                            std::uint8_t* state, SessionScheme* scheme, std::uint8_t session_type,
                            std::uint8_t target_command);

// Locks `area` when it is open (state 2 or 3); a failed lock is ignored.
// Returns 0, or 21 when the RD block cannot be read.
std::int32_t CloseSecureArea(const DeviceContext& context, std::uint8_t area);

// Logs in to `area` with the 64-byte `password`: up to three key exchanges,
// each failure followed by a 1000 ms pause on the context's sleep event;
// then the enciphered password (refused with 1 when no exchange succeeded).
// A non-zero result sends AbortKeyExchange. The session key goes to
// `key_buffer` when given (`*key_length` 16), else `*key_length` is 0.
// Returns 0 or a non-zero failure value.
std::int32_t LoginSecureArea(const DeviceContext& context, std::uint8_t area,
                             const std::uint8_t* password, std::uint8_t* key_buffer,
                             std::uint32_t* key_length, SessionScheme scheme,
                             std::uint8_t session_type, std::uint8_t target_command);

}  // namespace kelvane::sdk::access
