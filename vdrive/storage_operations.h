// The storage interfaces of the emulated PC (extension operations
// "storage_interfaces" and "storage_device_number", see README): one
// interface per unit of every attached drive, plus one per fixed disk, with
// the storage device numbers that tie letters to interfaces.
#pragma once

#include <span>

#include "vdrive/protocol.h"

namespace kelvane::vdrive {

inline constexpr const char* kStorageSection = "storage";

std::span<const ProtocolOperation> StorageOperations();

}  // namespace kelvane::vdrive
