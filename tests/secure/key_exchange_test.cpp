// The session key exchange against the in-process virtual drive.
#include <gtest/gtest.h>

#include <array>

#include "platform/crypto.h"
#include "sdk/access/host_key_set.h"
#include "sdk/access/session_key_exchange.h"
#include "tests/secure/recording_drives.h"
#include "tests/secure/secure_fixture.h"

namespace kelvane::sdk::access {
namespace {

using nlohmann::json;
using Strings = std::vector<std::string>;

const Strings kFullTrail = {"ff80", "ff81", "ff82", "ff83", "ff84", "ff85",
                            "ff86", "ff87", "ff88", "ff8b", "ff8a"};
const Strings kUnboundTrail(kFullTrail.begin(), kFullTrail.begin() + 9);

json KeyJson(const platform::crypto::Rsa512KeySet& key) {
  return {{"modulus", platform::ToHex(key.modulus)},
          {"private_exponent", platform::ToHex(key.private_exponent)},
          {"public_exponent", platform::ToHex(key.public_exponent)}};
}

class KeyExchangeTest : public testing::SecureFixture {
 protected:
  std::int32_t Exchange(std::uint8_t session_type) {
    return EstablishSessionKey(context_, key_.data(), &key_length_, session_type, 0x8F);
  }

  testing::RecordingDrives recorder_{vdrive_.pc()};
  std::array<std::uint8_t, 32> key_ = Filled();
  std::uint32_t key_length_ = 99;

  static std::array<std::uint8_t, 32> Filled() {
    std::array<std::uint8_t, 32> bytes;
    bytes.fill(0xEE);
    return bytes;
  }
};

TEST_F(KeyExchangeTest, SessionTypeFourBindsToTheCommandAndAgreesWithTheDrive) {
  ASSERT_EQ(Exchange(4), 0);
  EXPECT_EQ(key_length_, 16u);
  EXPECT_EQ(CommandTrail(), kFullTrail);

  const auto bind = vdrive_.Log("ff8b");
  ASSERT_EQ(bind.size(), 1u);
  EXPECT_EQ(bind[0].cdb,
            (std::vector<std::uint8_t>{0xFF, 0x8B, 0x00, 0x8F, 0x04, 0, 0, 0, 0, 0, 0, 0}));
  for (const vdrive::LogEntry& entry : vdrive_.Log()) EXPECT_EQ(entry.scsi_status, 0);

  ASSERT_TRUE(mechanism().session_key().has_value());
  EXPECT_TRUE(std::equal(key_.begin(), key_.begin() + 16, mechanism().session_key()->begin()));
  EXPECT_TRUE(std::all_of(key_.begin() + 16, key_.end(), [](auto b) { return b == 0xEE; }))
      << "only 16 bytes are written";
}

struct SessionTypeCase {
  std::uint8_t type;
  bool confirmed;
};

class SessionTypes : public KeyExchangeTest,
                     public ::testing::WithParamInterface<SessionTypeCase> {};

TEST_P(SessionTypes, OnlyTypesTwoToFourAreConfirmed) {
  ASSERT_EQ(Exchange(GetParam().type), 0);
  EXPECT_EQ(CommandTrail(), GetParam().confirmed ? kFullTrail : kUnboundTrail);
  EXPECT_TRUE(std::equal(key_.begin(), key_.begin() + 16, mechanism().session_key()->begin()));
}

INSTANTIATE_TEST_SUITE_P(Types, SessionTypes,
                         ::testing::Values(SessionTypeCase{0, false}, SessionTypeCase{1, false},
                                           SessionTypeCase{2, true}, SessionTypeCase{3, true},
                                           SessionTypeCase{4, true}, SessionTypeCase{5, false}));

TEST_F(KeyExchangeTest, KeySetChallengeAndSecretComeFromRandAsSpecified) {
  platform::crypto::Rsa512KeySet device;
  ASSERT_TRUE(platform::crypto::GenerateRsa512(device));
  LoadDrive({}, {{"device_key", KeyJson(device)}});

  runtime_.scripted.push_back(237);                                      // key set 37
  for (int i = 0; i < 64; ++i) runtime_.scripted.push_back(0x1200 + i);  // r1: low bytes 0..63
  for (int k = 0; k < 16; ++k) runtime_.scripted.push_back(0x3480 + k);  // r2 at 0, 2, ..., 30
  ASSERT_EQ(Exchange(1), 0);
  EXPECT_TRUE(runtime_.scripted.empty());

  HostKeySet host;
  ASSERT_TRUE(host.Decipher(37));
  const auto host_key = vdrive_.Log("ff82");
  ASSERT_EQ(host_key.size(), 1u);
  std::vector<std::uint8_t> expected(host.Modulus().begin(), host.Modulus().end());
  expected.insert(expected.end(), host.PublicExponent().begin(), host.PublicExponent().end());
  EXPECT_EQ(host_key[0].data_out, expected);

  const auto challenge = vdrive_.Log("ff83");
  ASSERT_EQ(challenge.size(), 1u);
  for (std::size_t i = 0; i < 63; ++i) EXPECT_EQ(challenge[0].data_out[i], i) << "byte " << i;
  EXPECT_EQ(challenge[0].data_out[63], device.modulus[63] - 1)
      << "bounded below the device modulus";

  // The drive's private key opens the host secret: r2 as drawn, bounded.
  const auto secret = vdrive_.Log("ff87");
  ASSERT_EQ(secret.size(), 1u);
  std::array<std::uint8_t, 64> sent, r2;
  std::copy_n(secret[0].data_out.begin(), 64, sent.begin());
  ASSERT_TRUE(platform::crypto::ModularExponent(sent, device.private_exponent, device.modulus, r2));
  for (std::size_t i = 0; i < 63; ++i) {
    const std::uint8_t want = (i % 2 == 0 && i < 32) ? static_cast<std::uint8_t>(0x80 + i / 2) : 0;
    EXPECT_EQ(r2[i], want) << "byte " << i;
  }
  EXPECT_EQ(r2[63], device.modulus[63] - 1);

  // The device secret t, opened with the host's private key: the key is
  // r2 XOR t over bytes 0-15 only, so at odd positions it is t itself.
  const std::vector<std::uint8_t> reply = recorder_.DataIn(0xFF, 0x88);
  ASSERT_EQ(reply.size(), 64u);
  std::array<std::uint8_t, 64> x, t;
  std::copy_n(reply.begin(), 64, x.begin());
  ASSERT_TRUE(platform::crypto::ModularExponent(x, host.PrivateExponent(), host.Modulus(), t));
  for (std::size_t i = 0; i < 16; ++i) {
    EXPECT_EQ(key_[i], static_cast<std::uint8_t>(r2[i] ^ t[i])) << "byte " << i;
    if (i % 2 == 1) {
      EXPECT_EQ(key_[i], t[i]) << "byte " << i;
    }
  }
  EXPECT_TRUE(std::equal(key_.begin(), key_.begin() + 16, mechanism().session_key()->begin()));
}

TEST_F(KeyExchangeTest, ZeroDeviceModulusFailsBeforeAnyHostDataIsSent) {
  LoadDrive({}, {{"device_key",
                  {{"modulus", ""}, {"private_exponent", "03"}, {"public_exponent", "03"}}}});
  EXPECT_EQ(Exchange(4), 129);
  EXPECT_EQ(CommandTrail(), (Strings{"ff80", "ff81"}));
  EXPECT_EQ(key_length_, 99u);
  EXPECT_EQ(key_, Filled());
}

TEST_F(KeyExchangeTest, SignatureThatDoesNotVerifyStopsBeforeTheHostSecret) {
  LoadDrive({}, {{"corrupt_signature", true}});
  EXPECT_EQ(Exchange(4), 132);
  EXPECT_EQ(CommandTrail(), (Strings{"ff80", "ff81", "ff82", "ff83", "ff84"}));
  EXPECT_EQ(Count("ff87"), 0u) << "no host secret leaves the program";
  EXPECT_EQ(key_length_, 99u);
}

TEST_F(KeyExchangeTest, ConfirmationOfAnotherSessionTypeWithholdsTheComputedKey) {
  LoadDrive({}, {{"confirmation_type", 3}});
  EXPECT_EQ(Exchange(4), 138);
  EXPECT_EQ(CommandTrail(), kFullTrail) << "the key was agreed before the confirmation";
  EXPECT_TRUE(mechanism().session_key().has_value());
  EXPECT_EQ(key_, Filled());
  EXPECT_EQ(key_length_, 99u);
}

struct StepCase {
  const char* prefix;
  std::int32_t expected;
};

class FailingStep : public KeyExchangeTest, public ::testing::WithParamInterface<StepCase> {};

TEST_P(FailingStep, EndsTheExchangeWithItsValue) {
  FailCommands(GetParam().prefix);
  EXPECT_EQ(Exchange(4), GetParam().expected);
  const Strings trail = CommandTrail();
  ASSERT_FALSE(trail.empty());
  EXPECT_EQ(trail.back(), GetParam().prefix) << "nothing is sent after the failing step";
  EXPECT_EQ(std::count(trail.begin(), trail.end(), GetParam().prefix), 1) << "no retry";
  EXPECT_EQ(Count("ff89"), 0u) << "the abort is the caller's";
  EXPECT_EQ(key_, Filled());
  EXPECT_EQ(key_length_, 99u);
}

INSTANTIATE_TEST_SUITE_P(Steps, FailingStep,
                         ::testing::Values(StepCase{"ff80", 128}, StepCase{"ff81", 129},
                                           StepCase{"ff82", 130}, StepCase{"ff83", 131},
                                           StepCase{"ff84", 132}, StepCase{"ff85", 133},
                                           StepCase{"ff86", 134}, StepCase{"ff87", 135},
                                           StepCase{"ff88", 136}, StepCase{"ff8b", 139},
                                           StepCase{"ff8a", 138}),
                         [](const auto& test) { return std::string(test.param.prefix); });

TEST_F(KeyExchangeTest, MissingOutputsSendNothing) {
  EXPECT_EQ(EstablishSessionKey(context_, nullptr, &key_length_, 4, 0x8F), 1);
  EXPECT_EQ(EstablishSessionKey(context_, key_.data(), nullptr, 4, 0x8F), 1);
  EXPECT_TRUE(CommandTrail().empty());
  EXPECT_EQ(key_length_, 99u);
}

TEST_F(KeyExchangeTest, UnboundContextFailsAtTheFirstStep) {
  DeviceContext unbound;
  EXPECT_EQ(EstablishSessionKey(unbound, key_.data(), &key_length_, 4, 0x8F), 128);
  EXPECT_TRUE(CommandTrail().empty());
}

}  // namespace
}  // namespace kelvane::sdk::access
