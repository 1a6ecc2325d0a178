// The partition layout commands of a drive: the partition status (FF 21 00),
// the vendor pages and the page-8 head (FF 00 00), and the area information
// (FF A0 00), all answered from the profile's "partitions" section.
#pragma once

#include "vdrive/command.h"

namespace kelvane::vdrive {

class VirtualDrive;

// The partition status reply (512 bytes): unit count, then an 8-byte entry
// per unit (type, unit number, flags little-endian, size little-endian). A
// drive whose section cannot be used answers CHECK CONDITION (ILLEGAL
// REQUEST, ASC 24).
CommandResult PartitionStatusReply(VirtualDrive& drive, const CommandRequest& request);

}  // namespace kelvane::vdrive
