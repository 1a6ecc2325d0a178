// Every operation beyond the core, gathered once.
#include <vector>

#include "vdrive/control_operations.h"
#include "vdrive/protocol.h"
#include "vdrive/storage_operations.h"

namespace kelvane::vdrive {

std::span<const ProtocolOperation> ExtensionOperations() {
  static const std::vector<ProtocolOperation> operations = [] {
    std::vector<ProtocolOperation> all;
    for (auto group : {ControlOperations(), StorageOperations()}) all.insert(all.end(), group.begin(), group.end());
    return all;
  }();
  return operations;
}

}  // namespace kelvane::vdrive
