#include "sdk/access/bounding_rule.h"

namespace kelvane::sdk::access {

bool BoundBelowModulus(std::span<std::uint8_t, 64> value,
                       std::span<const std::uint8_t, 64> modulus) noexcept {
  std::size_t top = modulus.size();
  while (top > 0 && modulus[top - 1] == 0) --top;
  if (top == 0) return false;
  for (std::size_t i = top; i < value.size(); ++i) value[i] = 0;
  value[top - 1] = static_cast<std::uint8_t>(modulus[top - 1] - 1);
  return true;
}

}  // namespace kelvane::sdk::access
