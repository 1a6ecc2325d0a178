// Opening, closing and logging in to the secure mechanism's areas against
// the in-process virtual drive.
#include "sdk/access/secure_area.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "platform/crypto.h"
#include "sdk/access/builtin_passwords.h"
#include "sdk/access/configured_password.h"
#include "sdk/access/secure_commands.h"
#include "tests/secure/recording_drives.h"
#include "tests/secure/secure_fixture.h"

namespace kelvane::sdk::access {
namespace {

using nlohmann::json;
using Strings = std::vector<std::string>;
using Password = std::array<std::uint8_t, 64>;

Password Builtin(BuiltinPassword which) {
  PieceOrder order;
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<std::uint8_t>(i);
  Password password{};
  AssemblePassword(which, order, password);
  return password;
}

struct OpenOutcome {
  std::int32_t result = -1;
  std::uint32_t key_length = 99;
  std::uint8_t state = 0xEE;
  SessionScheme scheme = static_cast<SessionScheme>(-1);
  std::array<std::uint8_t, 16> key{};
};

class SecureAreaTest : public testing::SecureFixture {
 protected:
  OpenOutcome Open(std::uint8_t area, bool force = false) {
    OpenOutcome out;
    out.result = OpenSecureArea(context_, area, force, out.key.data(), &out.key_length, &out.state,
                                &out.scheme, 4, 0x8F);
    return out;
  }

  // The 64 login bytes the drive received for `area`.
  std::array<std::uint8_t, 64> LoginBytes(std::uint8_t area) {
    for (const vdrive::LogEntry& entry : vdrive_.Log("ff8f0002")) {
      if (entry.cdb[4] == area && entry.data_out.size() == 64) {
        std::array<std::uint8_t, 64> bytes;
        std::copy_n(entry.data_out.begin(), 64, bytes.begin());
        return bytes;
      }
    }
    ADD_FAILURE() << "no login for area " << int{area};
    return {};
  }

  bool OnlyRdReads() const {
    const Strings trail = CommandTrail();
    return std::all_of(trail.begin(), trail.end(),
                       [](const std::string& c) { return c == "0605"; });
  }

  testing::RecordingDrives recorder_{vdrive_.pc()};
};

// --- state and scheme -------------------------------------------------------

struct SchemeCase {
  int rd_byte;
  SessionScheme scheme;
};

class SchemeFromRd : public SecureAreaTest, public ::testing::WithParamInterface<SchemeCase> {};

TEST_P(SchemeFromRd, FollowsByte511) {
  LoadDrive({{"session_scheme", GetParam().rd_byte}});
  SessionScheme scheme = static_cast<SessionScheme>(-1);
  EXPECT_EQ(QuerySecureState(context_, 0, &scheme), area_state::kLocked);
  EXPECT_EQ(scheme, GetParam().scheme);
}

INSTANTIATE_TEST_SUITE_P(Bytes, SchemeFromRd,
                         ::testing::Values(SchemeCase{0x00, SessionScheme::kScheme0},
                                           SchemeCase{0x16, SessionScheme::kScheme0},
                                           SchemeCase{0x17, SessionScheme::kScheme1},
                                           SchemeCase{0x18, SessionScheme::kScheme2},
                                           SchemeCase{0xFF, SessionScheme::kScheme2}));

TEST_F(SecureAreaTest, StateCodesOfBothAreasFromByte74) {
  // area 0 in the low two bits, area 1 in the next two
  const struct {
    int states;
    int area0;
    int area1;
  } cases[] = {{0x00, 1, 1}, {0x03, 0, 1}, {0x01, 2, 1}, {0x02, 3, 1},
               {0x0C, 1, 0}, {0x04, 1, 2}, {0x08, 1, 3}, {0xF6, 3, 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.states);
    LoadDrive({{"area_states", c.states}});
    EXPECT_EQ(QuerySecureState(context_, 0, nullptr), c.area0);
    EXPECT_EQ(QuerySecureState(context_, 1, nullptr), c.area1);
  }
  EXPECT_EQ(QuerySecureState(context_, 2, nullptr), area_state::kUnreadable)
      << "only areas 0 and 1";
}

// --- a full login per scheme ------------------------------------------------

struct LoginCase {
  int rd_byte;
  SessionScheme scheme;
};

class LoginPerScheme : public SecureAreaTest, public ::testing::WithParamInterface<LoginCase> {};

TEST_P(LoginPerScheme, OpensBothAreasWithTheBuiltInPasswords) {
  LoadDrive({{"session_scheme", GetParam().rd_byte}});

  const OpenOutcome area0 = Open(0);
  ASSERT_EQ(area0.result, 0);
  EXPECT_EQ(area0.key_length, 16u);
  EXPECT_EQ(area0.state, area_state::kLocked);
  EXPECT_EQ(area0.scheme, GetParam().scheme);

  // What the drive received is password A prepared under the session key.
  std::array<std::uint8_t, 64> sent = LoginBytes(0);
  const Password a = Builtin(BuiltinPassword::kA);
  if (GetParam().scheme == SessionScheme::kScheme2) {
    ASSERT_TRUE(platform::crypto::Aes128EcbDecrypt(area0.key, sent, sent));
    std::array<std::uint8_t, 48> chained{};
    const auto inner = platform::crypto::Sha256(a);
    std::copy(inner.begin(), inner.end(), chained.begin());
    std::copy(area0.key.begin(), area0.key.end(), chained.begin() + 32);
    const auto outer = platform::crypto::Sha256(chained);
    EXPECT_TRUE(std::equal(outer.begin(), outer.end(), sent.begin()));
    ASSERT_FALSE(runtime_.seeds.empty()) << "the generator is reseeded with the time";
    EXPECT_EQ(runtime_.seeds.back(), static_cast<std::uint32_t>(runtime_.now));
    std::uint32_t state = runtime_.seeds.back();
    for (std::size_t i = 32; i < 64; ++i) {
      state = state * 214013u + 2531011u;
      EXPECT_EQ(sent[i], static_cast<std::uint8_t>((state >> 16) & 0xFF)) << "tail byte " << i;
    }
  } else {
    for (int pass = 0; pass < 256; ++pass) {
      ASSERT_TRUE(platform::crypto::Aes128EcbDecrypt(area0.key, sent, sent));
    }
    EXPECT_EQ(sent, a) << "256 passes";
    EXPECT_TRUE(runtime_.seeds.empty());
  }

  const OpenOutcome area1 = Open(1);
  ASSERT_EQ(area1.result, 0);
  EXPECT_EQ(area1.key_length, 16u);
  EXPECT_NE(area1.key, area0.key) << "every login has its own session key";

  EXPECT_EQ(drive().area_states(), 0x05) << "both areas open (low bit)";
  EXPECT_EQ(mechanism().logins_accepted(), 2u);
  EXPECT_EQ(Count("ff89"), 0u);
  EXPECT_TRUE(runtime_.pauses.empty());
}

INSTANTIATE_TEST_SUITE_P(Schemes, LoginPerScheme,
                         ::testing::Values(LoginCase{0x16, SessionScheme::kScheme0},
                                           LoginCase{0x17, SessionScheme::kScheme1},
                                           LoginCase{0x18, SessionScheme::kScheme2}));

// --- the state table of open and close ---------------------------------------

struct OpenCase {
  int states;
  std::uint8_t area;
  bool force;
  bool logs_in;
  int state;
};

class OpenByState : public SecureAreaTest, public ::testing::WithParamInterface<OpenCase> {};

TEST_P(OpenByState, LogsInOnlyWhereTheStateAsks) {
  const OpenCase& c = GetParam();
  LoadDrive({{"area_states", c.states}});
  const OpenOutcome out = Open(c.area, c.force);
  EXPECT_EQ(out.result, 0);
  EXPECT_EQ(out.state, c.state);
  if (c.logs_in) {
    EXPECT_EQ(out.key_length, 16u);
    EXPECT_EQ(Count("ff8f0002"), 1u);
    EXPECT_EQ(mechanism().logins_accepted(), 1u);
  } else {
    EXPECT_EQ(out.key_length, 0u);
    EXPECT_TRUE(OnlyRdReads()) << "no secure-mechanism command is sent";
  }
}

INSTANTIATE_TEST_SUITE_P(
    States, OpenByState,
    ::testing::Values(OpenCase{0x03, 0, false, false, 0}, OpenCase{0x03, 0, true, false, 0},
                      OpenCase{0x00, 0, false, true, 1}, OpenCase{0x01, 0, false, false, 2},
                      OpenCase{0x01, 0, true, true, 2}, OpenCase{0x02, 0, false, false, 3},
                      OpenCase{0x02, 0, true, true, 3}, OpenCase{0x0C, 1, true, false, 0},
                      OpenCase{0x04, 1, false, false, 2}, OpenCase{0x08, 1, true, true, 3}));

struct CloseCase {
  int states;
  std::uint8_t area;
  bool locks;
  int states_after;
};

class CloseByState : public SecureAreaTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(CloseByState, LocksOnlyAnOpenArea) {
  const CloseCase& c = GetParam();
  LoadDrive({{"area_states", c.states}});
  EXPECT_EQ(CloseSecureArea(context_, c.area), 0);
  const auto locks = vdrive_.Log("ff8f0003");
  if (c.locks) {
    ASSERT_EQ(locks.size(), 1u);
    EXPECT_EQ(locks[0].cdb[4], c.area);
  } else {
    EXPECT_TRUE(OnlyRdReads());
  }
  EXPECT_EQ(drive().area_states(), c.states_after);
}

INSTANTIATE_TEST_SUITE_P(
    States, CloseByState,
    ::testing::Values(CloseCase{0x03, 0, false, 0x03}, CloseCase{0x00, 0, false, 0x00},
                      CloseCase{0x01, 0, true, 0x00}, CloseCase{0x02, 0, true, 0x00},
                      CloseCase{0x07, 1, true, 0x03}, CloseCase{0x0D, 1, false, 0x0D}));

TEST_F(SecureAreaTest, OpenThenCloseLeavesTheAreaLockedAgain) {
  ASSERT_EQ(Open(1).result, 0);
  EXPECT_EQ(QuerySecureState(context_, 1, nullptr), area_state::kOpenLow);
  EXPECT_EQ(CloseSecureArea(context_, 1), 0);
  EXPECT_EQ(QuerySecureState(context_, 1, nullptr), area_state::kLocked);
}

TEST_F(SecureAreaTest, FailedLockIsIgnored) {
  LoadDrive({{"area_states", 0x01}});
  FailCommands("ff8f0003");
  EXPECT_EQ(CloseSecureArea(context_, 0), 0);
  EXPECT_EQ(Count("ff8f0003"), 1u);
}

TEST_F(SecureAreaTest, UnreadableRdBlockGives21) {
  FailCommands("06055244", 2);
  const OpenOutcome out = Open(0);
  EXPECT_EQ(out.result, 21);
  EXPECT_EQ(out.key_length, 0u);
  EXPECT_EQ(out.state, 0xEE) << "no state is reported";
  EXPECT_EQ(CloseSecureArea(context_, 0), 21);
  EXPECT_EQ(Count("ff"), 0u);
}

// --- refused logins ---------------------------------------------------------

TEST_F(SecureAreaTest, WrongPasswordGives73AndAbortsTheExchange) {
  LoadDrive({}, {{"passwords", {"0102030405", platform::ToHex(Builtin(BuiltinPassword::kB))}}});
  const OpenOutcome out = Open(0);
  EXPECT_EQ(out.result, 73);
  EXPECT_EQ(out.key_length, 16u) << "a session key was agreed";
  const Strings trail = CommandTrail();
  ASSERT_GE(trail.size(), 3u);
  EXPECT_EQ((Strings{trail.end() - 3, trail.end()}), (Strings{"ff8f", "ff89", "ff02"}));
  EXPECT_EQ(drive().area_states(), 0x00) << "a refused login leaves the area locked";
  EXPECT_EQ(Open(1).result, 0) << "area 1 still takes password B";
}

TEST_F(SecureAreaTest, AreaWithoutPasswordGives72) {
  LoadDrive({}, {{"passwords", {platform::ToHex(Builtin(BuiltinPassword::kA)), nullptr}}});
  EXPECT_EQ(Open(1).result, 72);
  EXPECT_EQ(Count("ff89"), 1u);
  EXPECT_EQ(Open(0).result, 0);
}

TEST_F(SecureAreaTest, ConfiguredPasswordReplacesPasswordAForArea0) {
  struct Restore {
    ~Restore() { ClearConfiguredPassword(); }
  } restore;
  const std::string configured = "kelvane";
  LoadDrive({},
            {{"passwords",
              {platform::ToHex(std::span(reinterpret_cast<const std::uint8_t*>(configured.data()),
                                         configured.size())),
               platform::ToHex(Builtin(BuiltinPassword::kB))}}});
  EXPECT_EQ(Open(0).result, 73) << "built-in A is not this drive's password";
  SetConfiguredPassword(
      std::span(reinterpret_cast<const std::uint8_t*>(configured.data()), configured.size()));
  EXPECT_EQ(Open(0).result, 0);
  EXPECT_EQ(Open(1).result, 0) << "area 1 keeps password B";
}

TEST_F(SecureAreaTest, ThreeFailedExchangesPauseAbortAndGive70) {
  FailCommands("ff84", 3);
  const OpenOutcome out = Open(0);
  EXPECT_EQ(out.result, 70);
  EXPECT_EQ(out.key_length, 0u);
  EXPECT_EQ(Count("ff80"), 3u) << "three attempts";
  EXPECT_EQ(runtime_.pauses, (std::vector<std::uint32_t>{1000, 1000, 1000}));
  EXPECT_EQ(Count("ff8f"), 0u) << "no password leaves the program";
  EXPECT_EQ(Count("ff89"), 1u);
  const Strings trail = CommandTrail();
  EXPECT_EQ((Strings{trail.end() - 2, trail.end()}), (Strings{"ff89", "ff02"}));
}

TEST_F(SecureAreaTest, ExchangeIsRetriedUntilItSucceeds) {
  FailCommands("ff86", 2);
  const OpenOutcome out = Open(0);
  EXPECT_EQ(out.result, 0);
  EXPECT_EQ(Count("ff80"), 3u);
  EXPECT_EQ(runtime_.pauses, (std::vector<std::uint32_t>{1000, 1000}));
  EXPECT_EQ(Count("ff89"), 0u);
}

struct StatusCase {
  std::uint16_t category;
  std::uint16_t detail;
  std::int32_t expected;
};

class RefusalStatus : public SecureAreaTest, public ::testing::WithParamInterface<StatusCase> {};

TEST_P(RefusalStatus, DecidesTheResult) {
  FailCommands("ff8f0002");
  recorder_.status_words = std::pair{GetParam().detail, GetParam().category};
  EXPECT_EQ(Open(0).result, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Words, RefusalStatus,
                         ::testing::Values(StatusCase{143, 1, 72}, StatusCase{143, 2, 73},
                                           StatusCase{143, 0, 70}, StatusCase{143, 3, 70},
                                           StatusCase{0, 2, 70}, StatusCase{0, 1, 70},
                                           StatusCase{0x84, 2, 70}, StatusCase{143 + 256, 2, 70}));

TEST_F(SecureAreaTest, UnreadableStatusAfterARefusalGives21) {
  LoadDrive({}, {{"passwords", {"01", "02"}}});
  FailCommands("ff0201");
  EXPECT_EQ(Open(0).result, 21);
}

// --- the login routines directly ---------------------------------------------

TEST_F(SecureAreaTest, LoginWithoutKeyBufferReportsKeyLengthZero) {
  const Password a = Builtin(BuiltinPassword::kA);
  std::uint32_t key_length = 99;
  EXPECT_EQ(LoginSecureArea(context_, 0, a.data(), nullptr, &key_length, SessionScheme::kScheme0, 4,
                            0x8F),
            0);
  EXPECT_EQ(key_length, 0u);
  EXPECT_EQ(mechanism().logins_accepted(), 1u);
}

TEST_F(SecureAreaTest, LoginWithoutPasswordSendsNothing) {
  std::array<std::uint8_t, 16> key{};
  std::uint32_t key_length = 99;
  EXPECT_EQ(LoginSecureArea(context_, 0, nullptr, key.data(), &key_length, SessionScheme::kScheme0,
                            4, 0x8F),
            1);
  EXPECT_TRUE(CommandTrail().empty());
}

TEST_F(SecureAreaTest, SendEncryptedPasswordRefusesBadArgumentsWithoutSending) {
  const Password a = Builtin(BuiltinPassword::kA);
  const std::array<std::uint8_t, 16> key{};
  const struct {
    const std::uint8_t* password;
    const std::uint8_t* key;
    std::uint32_t length;
  } cases[] = {{nullptr, key.data(), 16},
               {a.data(), nullptr, 16},
               {a.data(), key.data(), 0},
               {a.data(), key.data(), 15},
               {a.data(), key.data(), 17}};
  for (const auto& c : cases) {
    EXPECT_EQ(
        SendEncryptedPassword(context_, 0, c.password, c.key, c.length, SessionScheme::kScheme0),
        1);
  }
  EXPECT_TRUE(CommandTrail().empty());
}

TEST_F(SecureAreaTest, FailedLoginCommandGives228) {
  const Password a = Builtin(BuiltinPassword::kA);
  const std::array<std::uint8_t, 16> key{};
  FailCommands("ff8f0002");
  EXPECT_EQ(SendEncryptedPassword(context_, 1, a.data(), key.data(), 16, SessionScheme::kScheme1),
            228);
  DeviceContext unbound;
  EXPECT_EQ(SendEncryptedPassword(unbound, 1, a.data(), key.data(), 16, SessionScheme::kScheme1),
            228);
}

}  // namespace
}  // namespace kelvane::sdk::access
