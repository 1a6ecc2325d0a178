// The built-in passwords: assembled from position-tagged pieces in a
// rand-drawn order.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <numeric>

#include "platform/virtual/hex.h"
#include "sdk/access/builtin_passwords.h"
#include "tests/support/fake_runtime.h"

namespace kelvane::sdk::access {
namespace {

using Password = std::array<std::uint8_t, kSecurePasswordSize>;

PieceOrder Identity() {
  PieceOrder order;
  std::iota(order.begin(), order.end(), std::uint8_t{0});
  return order;
}

Password Assemble(BuiltinPassword which, const PieceOrder& order) {
  Password password{};
  AssemblePassword(which, order, password);
  return password;
}

bool IsPermutation(const PieceOrder& order) {
  PieceOrder sorted = order;
  std::sort(sorted.begin(), sorted.end());
  return sorted == Identity();
}

TEST(BuiltinPassword, HasTheShippedValues) {
  // The values the target controllers are set up with.
  EXPECT_EQ(platform::ToHex(Assemble(BuiltinPassword::kA, Identity())),
            "0f75567d1f5fadc7f8fffc757e2a7d4a4356788e1c41746a0d3702f6c21af5ee"
            "2518b79022e7e93441bf365239256febf593f031ce9eddead948bdd89b5dd66e");
  EXPECT_EQ(platform::ToHex(Assemble(BuiltinPassword::kB, Identity())),
            "ac878d54c8c63b36be6077871abab3784acf3d086077202c91fb0fb1893f5ea3"
            "2b50efb1abffff699d865252e64b7438bc4879bf9ead876260fe61441b51379d");
}

TEST(BuiltinPassword, OrderDoesNotChangeTheResult) {
  PieceOrder reversed = Identity();
  std::reverse(reversed.begin(), reversed.end());
  testing::FakeRuntime runtime;
  for (const BuiltinPassword which : {BuiltinPassword::kA, BuiltinPassword::kB}) {
    const Password expected = Assemble(which, Identity());
    EXPECT_EQ(Assemble(which, reversed), expected);
    Password drawn{};
    BuildBuiltinPassword(which, drawn);
    EXPECT_EQ(drawn, expected);
  }
}

TEST(PieceOrder, SkipsTakenValuesAndGivesTheLastSlotTheOneLeft) {
  testing::FakeRuntime runtime;
  // 5, then 69 (= 5 mod 64, taken: skipped), then 63 down to 1 with 3
  // drawn twice; value 0 is never drawn and lands in the last slot.
  runtime.scripted = {5, 69};
  for (int v = 63; v >= 1; --v) {
    if (v == 5) continue;
    runtime.scripted.push_back(v);
    if (v == 3) runtime.scripted.push_back(3 + 64 * 7);
  }
  const PieceOrder order = DrawPieceOrder();
  EXPECT_TRUE(IsPermutation(order));
  EXPECT_EQ(order[0], 5);
  EXPECT_EQ(order[1], 63);
  EXPECT_EQ(order[63], 0);
  EXPECT_TRUE(runtime.scripted.empty()) << "every scripted value was drawn";
}

TEST(PieceOrder, EndsEvenWhenRandKeepsRepeatingItself) {
  testing::FakeRuntime runtime;
  runtime.scripted.assign(300000, 7);
  const PieceOrder order = DrawPieceOrder();
  EXPECT_TRUE(IsPermutation(order));
  EXPECT_EQ(order[0], 7);
}

}  // namespace
}  // namespace kelvane::sdk::access
