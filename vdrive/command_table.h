// The command families a virtual drive answers. A family is a set of routes
// (command-block prefix to handler) plus a description of its state for the
// test control. The families live in their own files and are listed once in
// command_table.cpp.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include <nlohmann/json.hpp>

#include "vdrive/command.h"

namespace kelvane::vdrive {

class VirtualDrive;

using CommandHandler = CommandResult (*)(VirtualDrive& drive, const CommandRequest& request);

struct CommandRoute {
  std::vector<std::uint8_t> prefix;  // matched against the start of the CDB
  CommandHandler handler;
};

struct CommandFamily {
  const char* name;
  std::vector<CommandRoute> routes;
  // Adds the family's state to the drive's description (may be null).
  void (*describe)(const VirtualDrive& drive, nlohmann::json& out);
};

// Every family, in the order their routes are tried.
std::span<const CommandFamily* const> CommandFamilies();

// The handler of the longest matching prefix; null when none matches.
CommandHandler FindHandler(std::span<const std::uint8_t> cdb);

// The families (defined in their own files).
const CommandFamily& StandardCommandFamily();
const CommandFamily& InfoBlockFamily();
const CommandFamily& SecureMechanismFamily();
const CommandFamily& FirmwareCommandFamily();
const CommandFamily& PartitionCommandFamily();

}  // namespace kelvane::vdrive
