#include "vdrive/command_table.h"

#include <algorithm>
#include <array>

namespace kelvane::vdrive {

std::span<const CommandFamily* const> CommandFamilies() {
  static const std::array families = {
      &StandardCommandFamily(),
      &InfoBlockFamily(),
      &SecureMechanismFamily(),
      &FirmwareCommandFamily(),
      &PartitionCommandFamily(),
  };
  return families;
}

CommandHandler FindHandler(std::span<const std::uint8_t> cdb) {
  CommandHandler best = nullptr;
  std::size_t best_length = 0;
  for (const CommandFamily* family : CommandFamilies()) {
    for (const CommandRoute& route : family->routes) {
      if (route.prefix.size() > cdb.size() || route.prefix.size() < best_length) continue;
      if (std::equal(route.prefix.begin(), route.prefix.end(), cdb.begin())) {
        best = route.handler;
        best_length = route.prefix.size();
      }
    }
  }
  return best;
}

}  // namespace kelvane::vdrive
