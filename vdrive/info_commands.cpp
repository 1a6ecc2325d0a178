// The controller's information blocks: ReadInfoBlock in its SCSI form
// (06 05 tag, 528 bytes) and its HID form (FF 04 01 tag, 512 bytes),
// ReadHidStatus (FF 21 00), and the 06 1D knock that FFAP drives expect
// before their blocks are read.
#include <algorithm>
#include <cstring>

#include "vdrive/command_table.h"
#include "vdrive/partition_commands.h"
#include "vdrive/virtual_drive.h"

namespace kelvane::vdrive {

namespace {

// The block a tag names, or nullopt for an unknown tag.
std::optional<Block> BlockForTag(VirtualDrive& drive, const std::uint8_t* tag, std::uint8_t unit) {
  if (std::memcmp(tag, "\0\0\0\0", 4) == 0) return drive.Identification(unit);
  if (std::memcmp(tag, "INFO", 4) == 0) return drive.Info();
  if (std::memcmp(tag, "RD\0\0", 4) == 0) return drive.Rd();
  return std::nullopt;
}

CommandResult ReadBlock(VirtualDrive& drive, const CommandRequest& request, std::size_t tag_offset,
                        std::size_t size) {
  if (request.direction != Direction::kIn || request.cdb.size() < tag_offset + 4) return InvalidField();
  const auto block = BlockForTag(drive, request.cdb.data() + tag_offset, request.unit);
  if (!block) return InvalidField();
  return Good(std::vector<std::uint8_t>(block->begin(), block->begin() + static_cast<std::ptrdiff_t>(size)));
}

CommandResult ReadInfoBlockScsi(VirtualDrive& drive, const CommandRequest& request) {
  return ReadBlock(drive, request, 2, 528);
}

CommandResult ReadInfoBlockHid(VirtualDrive& drive, const CommandRequest& request) {
  return ReadBlock(drive, request, 3, 512);
}

// The partition status, as the drive's partition layout gives it.
CommandResult ReadHidStatus(VirtualDrive& drive, const CommandRequest& request) {
  return PartitionStatusReply(drive, request);
}

CommandResult Knock(VirtualDrive&, const CommandRequest& request) {
  if (request.direction != Direction::kNone) return InvalidField();
  return Good();
}

}  // namespace

const CommandFamily& InfoBlockFamily() {
  static const CommandFamily family{
      "info-blocks",
      {
          {{0x06, 0x05}, &ReadInfoBlockScsi},
          {{0xFF, 0x04, 0x01}, &ReadInfoBlockHid},
          {{0xFF, 0x21, 0x00}, &ReadHidStatus},
          {{0x06, 0x1D}, &Knock},
      },
      nullptr,
  };
  return family;
}

}  // namespace kelvane::vdrive
