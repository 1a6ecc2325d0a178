// The virtual drive's side of the secure mechanism: command order, the
// status it leaves, replays, and its profile section.
#include <gtest/gtest.h>

#include <array>

#include "platform/crypto.h"
#include "sdk/access/builtin_passwords.h"
#include "sdk/access/key_exchange_commands.h"
#include "sdk/access/secure_command.h"
#include "sdk/access/secure_commands.h"
#include "sdk/access/session_key_exchange.h"
#include "tests/secure/secure_fixture.h"
#include "vdrive/secure_settings.h"

namespace kelvane::sdk::access {
namespace {

using nlohmann::json;
namespace detail = vdrive::secure_detail;

class VirtualSecureMechanismTest : public testing::SecureFixture {
 protected:
  std::pair<std::uint16_t, std::uint16_t> Status() {
    std::uint16_t detail_word = 0xFFFF, category = 0xFFFF;
    EXPECT_EQ(QuerySecureStatus(context_, &detail_word, &category), 0);
    return {detail_word, category};
  }
  using Words = std::pair<std::uint16_t, std::uint16_t>;
};

TEST_F(VirtualSecureMechanismTest, CommandsOutOfOrderFailAndNameThemselves) {
  std::array<std::uint8_t, 64> buffer{};
  EXPECT_EQ(ReadDeviceSignature(context_, buffer.data(), 64), -2);
  EXPECT_EQ(Status(), (Words{detail::kOutOfSequence, 0x84}));

  ASSERT_EQ(BeginKeyExchange(context_), 0);
  EXPECT_EQ(ReadDeviceSecret(context_, buffer.data(), 64), -2) << "skipping ahead";
  EXPECT_EQ(Status(), (Words{detail::kOutOfSequence, 0x88}));
  EXPECT_EQ(mechanism().step(), vdrive::SecureMechanism::Step::kIdle)
      << "the exchange is abandoned";

  std::array<std::uint8_t, 128> key{};
  EXPECT_EQ(ReadDevicePublicKey(context_, key.data(), 128), -2) << "a fresh begin is needed";

  const Cdb login{0xFF, 0x8F, 0x00, 0x02, 0x00};
  EXPECT_EQ(SendSecureCommandOut(context_, login, buffer), -2) << "no login without a session key";
  EXPECT_EQ(Status(), (Words{detail::kOutOfSequence, 143}));
}

TEST_F(VirtualSecureMechanismTest, AbortEndsTheExchangeButKeepsTheStatus) {
  std::array<std::uint8_t, 64> buffer{};
  ASSERT_EQ(ReadDeviceChallenge(context_, buffer.data(), 64), -2);
  ASSERT_EQ(BeginKeyExchange(context_), 0);
  EXPECT_EQ(AbortKeyExchange(context_), 0);
  EXPECT_EQ(mechanism().step(), vdrive::SecureMechanism::Step::kIdle);
  EXPECT_EQ(Status(), (Words{detail::kNone, 0x80})) << "the status of the last command stays";
}

TEST_F(VirtualSecureMechanismTest, HostSignatureThatDoesNotVerifyIsRefused) {
  platform::crypto::Rsa512KeySet host;
  ASSERT_TRUE(platform::crypto::GenerateRsa512(host));
  std::array<std::uint8_t, 128> device_key{}, host_public{};
  std::copy(host.modulus.begin(), host.modulus.end(), host_public.begin());
  std::copy(host.public_exponent.begin(), host.public_exponent.end(), host_public.begin() + 64);
  std::array<std::uint8_t, 64> challenge{}, buffer{};
  challenge[0] = 42;

  ASSERT_EQ(BeginKeyExchange(context_), 0);
  ASSERT_EQ(ReadDevicePublicKey(context_, device_key.data(), 128), 0);
  ASSERT_EQ(SendHostPublicKey(context_, host_public.data(), 128), 0);
  ASSERT_EQ(SendHostChallenge(context_, challenge.data(), 64), 0);
  ASSERT_EQ(ReadDeviceSignature(context_, buffer.data(), 64), 0);
  ASSERT_EQ(ReadDeviceChallenge(context_, buffer.data(), 64), 0);
  buffer[0] ^= 1;  // not the challenge raised to d_h
  EXPECT_EQ(SendHostSignature(context_, buffer.data(), 64), -2);
  EXPECT_EQ(Status(), (Words{detail::kSignatureMismatch, 0x86}));
}

TEST_F(VirtualSecureMechanismTest, LoginCannotBeReplayed) {
  std::array<std::uint8_t, 16> key{};
  std::uint32_t length = 0;
  ASSERT_EQ(EstablishSessionKey(context_, key.data(), &length, 4, 0x8F), 0);
  std::array<std::uint8_t, 64> a{};
  BuildBuiltinPassword(BuiltinPassword::kA, a);
  ASSERT_EQ(
      SendEncryptedPassword(context_, 0, a.data(), key.data(), length, SessionScheme::kScheme0), 0);

  const auto logins = vdrive_.Log("ff8f0002");
  ASSERT_EQ(logins.size(), 1u);
  const Cdb login{0xFF, 0x8F, 0x00, 0x02, 0x00};
  EXPECT_EQ(SendSecureCommandOut(context_, login, logins[0].data_out), -2);
  EXPECT_EQ(Status(), (Words{detail::kOutOfSequence, 143}));
  EXPECT_EQ(mechanism().logins_accepted(), 1u);
}

TEST_F(VirtualSecureMechanismTest, SessionBoundToAnotherCommandDoesNotAdmitTheLogin) {
  std::array<std::uint8_t, 16> key{};
  std::uint32_t length = 0;
  ASSERT_EQ(EstablishSessionKey(context_, key.data(), &length, 4, 0x90), 0);
  std::array<std::uint8_t, 64> a{};
  BuildBuiltinPassword(BuiltinPassword::kA, a);
  EXPECT_EQ(
      SendEncryptedPassword(context_, 0, a.data(), key.data(), length, SessionScheme::kScheme0),
      228);
  EXPECT_EQ(mechanism().logins_accepted(), 0u);
}

TEST_F(VirtualSecureMechanismTest, StateIsDescribedForTheTestControl) {
  std::array<std::uint8_t, 16> key{};
  std::uint32_t length = 0;
  ASSERT_EQ(EstablishSessionKey(context_, key.data(), &length, 1, 0), 0);
  const json state = vdrive_.pc().DescribeDrive(0)[vdrive::kSecureSection];
  EXPECT_EQ(state["step"], "session key agreed");
  EXPECT_EQ(state["status_category"], 0x88);
  EXPECT_EQ(state["settings_error"], "");
}

TEST_F(VirtualSecureMechanismTest, DefaultPasswordsAreTheBuiltInOnes) {
  std::array<std::uint8_t, 64> a{}, b{};
  BuildBuiltinPassword(BuiltinPassword::kA, a);
  BuildBuiltinPassword(BuiltinPassword::kB, b);
  const vdrive::SecureSettings settings = vdrive::ParseSecureSettings(drive().profile());
  ASSERT_TRUE(settings.passwords[0] && settings.passwords[1]);
  EXPECT_EQ(*settings.passwords[0], a);
  EXPECT_EQ(*settings.passwords[1], b);
  EXPECT_FALSE(settings.device_key.has_value()) << "a key is made per drive";
}

class BadSecureSection : public VirtualSecureMechanismTest,
                         public ::testing::WithParamInterface<const char*> {};

TEST_P(BadSecureSection, IsReportedAndRefusesTheExchange) {
  LoadDrive({}, json::parse(GetParam()));
  EXPECT_EQ(BeginKeyExchange(context_), -2);
  EXPECT_EQ(Status(), (Words{detail::kKeyUnusable, 0x80})) << "the status still answers";
  const std::string error = mechanism().settings_error();
  EXPECT_NE(error.find("secure_mechanism"), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(
    Sections, BadSecureSection,
    ::testing::Values(R"({"passwords": "00"})", R"({"passwords": ["zz", null]})",
                      R"({"passwords": ["", null]})", R"({"passwords": [null]})",
                      R"({"device_key": {"modulus": "01"}})", R"({"confirmation_type": 300})",
                      R"({"corrupt_signature": 1})", R"({"confirmation_type": -1})"));

}  // namespace
}  // namespace kelvane::sdk::access
