// Every operation beyond the core, gathered once.
#include <vector>

#include "vdrive/control_operations.h"
#include "vdrive/protocol.h"

namespace kelvane::vdrive {

std::span<const ProtocolOperation> ExtensionOperations() {
  static const std::vector<ProtocolOperation> operations = [] {
    std::vector<ProtocolOperation> all;
    for (auto group : {ControlOperations()}) all.insert(all.end(), group.begin(), group.end());
    return all;
  }();
  return operations;
}

}  // namespace kelvane::vdrive
