// One login to area 0 of the secure mechanism (OpenSecureArea: RD read, key
// exchange with confirmation, enciphered password) against the in-process
// virtual drive, next to the four modular exponentiations that the host side
// of the exchange needs. The drive's own share (its half of the RSA work and
// the password check) is reported from its command log.
#include <benchmark/benchmark.h>

#include <array>

#include "platform/crypto.h"
#include "sdk/access/host_key_set.h"
#include "sdk/access/secure_area.h"
#include "tests/support/virtual_drive_fixture.h"

namespace {

using namespace kelvane;
using Number = std::array<std::uint8_t, 64>;

// Arg: RD byte 511 (0x16: 256 AES passes per side; 0x18: hashed, one pass).
void BM_OpenSecureAreaLogin(benchmark::State& state) {
  nlohmann::json drive = testing::DefaultDriveJson();
  drive["session_scheme"] = state.range(0);
  testing::InProcessVdrive vdrive;
  vdrive.Load(testing::ProfileJson({drive}));
  sdk::access::DeviceContext context;
  context.BindLetter('F');

  std::array<std::uint8_t, 16> key{};
  for (auto _ : state) {
    std::uint32_t key_length = 0;
    std::uint8_t area_state = 0;
    const std::int32_t result = sdk::access::OpenSecureArea(
        context, 0, true, key.data(), &key_length, &area_state, nullptr, 4, 0x8F);
    if (result != 0 || key_length != 16) {
      state.SkipWithError("login failed");
      break;
    }
    benchmark::DoNotOptimize(key);
  }

  const auto& log = vdrive.pc().log().entries();
  double drive_ns = 0;
  for (const auto& entry : log) drive_ns += static_cast<double>(entry.handling_ns);
  if (state.iterations() > 0) {
    const auto logins = static_cast<double>(state.iterations());
    state.counters["commands_per_login"] = static_cast<double>(log.size()) / logins;
    state.counters["drive_us_per_login"] = drive_ns / logins / 1000.0;
  }
}
BENCHMARK(BM_OpenSecureAreaLogin)->Arg(0x16)->Arg(0x18)->Unit(benchmark::kMicrosecond);

// The host's arithmetic of one exchange: the device signature checked with
// e_d, the device challenge signed with d_h, the host secret under e_d, the
// device secret opened with d_h.
void BM_FourModularExponentiations(benchmark::State& state) {
  sdk::access::HostKeySet host;
  platform::crypto::Rsa512KeySet device;
  if (!host.Decipher(0) || !platform::crypto::GenerateRsa512(device)) {
    state.SkipWithError("no keys");
    return;
  }
  Number signature{}, challenge{}, secret{}, device_secret{}, out{};
  for (std::size_t i = 0; i < 60; ++i) {
    signature[i] = static_cast<std::uint8_t>(i * 7 + 1);
    challenge[i] = static_cast<std::uint8_t>(i * 11 + 3);
    secret[i] = static_cast<std::uint8_t>(i % 2 == 0 && i < 32 ? i * 13 + 5 : 0);
    device_secret[i] = static_cast<std::uint8_t>(i * 17 + 9);
  }
  namespace crypto = platform::crypto;
  for (auto _ : state) {
    bool ok = crypto::ModularExponent(signature, device.public_exponent, device.modulus, out);
    ok = crypto::ModularExponent(challenge, host.PrivateExponent(), host.Modulus(), out) && ok;
    ok = crypto::ModularExponent(secret, device.public_exponent, device.modulus, out) && ok;
    ok = crypto::ModularExponent(device_secret, host.PrivateExponent(), host.Modulus(), out) && ok;
    if (!ok) {
      state.SkipWithError("exponentiation failed");
      break;
    }
    benchmark::DoNotOptimize(out);
  }
}
BENCHMARK(BM_FourModularExponentiations)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
