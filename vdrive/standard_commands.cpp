// INQUIRY, TEST UNIT READY and REQUEST SENSE as the controller answers them.
#include <algorithm>
#include <cstring>
#include <string_view>

#include "vdrive/command_table.h"
#include "vdrive/virtual_drive.h"

namespace kelvane::vdrive {

namespace {

void PutPadded(std::vector<std::uint8_t>& data, std::size_t offset, std::string_view text, std::size_t width) {
  for (std::size_t i = 0; i < width; ++i) data[offset + i] = i < text.size() ? static_cast<std::uint8_t>(text[i]) : ' ';
}

// Standard INQUIRY data of a removable direct-access device, with the
// controller's signature in bytes 32-43 where its variant puts it.
CommandResult Inquiry(VirtualDrive& drive, const CommandRequest& request) {
  const DriveProfile& profile = drive.profile();
  std::vector<std::uint8_t> data(44, 0);
  const bool cdrom = request.unit < profile.units.size() && profile.units[request.unit].drive_type == 5;
  data[0] = cdrom ? 0x05 : 0x00;
  data[1] = 0x80;  // removable medium
  data[2] = 0x04;
  data[3] = 0x02;
  data[4] = 39;  // additional length: 44 bytes in all
  PutPadded(data, 8, profile.inquiry_vendor, 8);
  PutPadded(data, 16, profile.inquiry_product, 16);
  PutPadded(data, 32, "1.00", 4);
  switch (profile.signature) {
    case InquirySignature::kPmap1234:
      PutPadded(data, 36, "PMAP1234", 8);
      break;
    case InquirySignature::kBnand123:
      PutPadded(data, 36, "bNAND123", 8);
      break;
    case InquirySignature::kFfap1234:
      PutPadded(data, 36, "FFAP1234", 8);
      break;
    case InquirySignature::kPmapShort:
      PutPadded(data, 32, "PMAP", 4);
      break;
    case InquirySignature::kNone:
      break;
  }
  data.resize(std::min<std::size_t>(data.size(), profile.inquiry_length));
  return Good(std::move(data));
}

CommandResult TestUnitReady(VirtualDrive&, const CommandRequest& request) {
  if (std::any_of(request.cdb.begin(), request.cdb.end(), [](std::uint8_t b) { return b != 0; })) {
    return InvalidField();
  }
  return Good();
}

CommandResult RequestSense(VirtualDrive& drive, const CommandRequest&) {
  std::vector<std::uint8_t> sense = drive.last_sense();
  if (sense.empty()) sense = FixedSense(0, 0, 0);
  return Good(std::move(sense));
}

}  // namespace

const CommandFamily& StandardCommandFamily() {
  static const CommandFamily family{
      "standard",
      {
          {{0x12}, &Inquiry},
          {{0x00}, &TestUnitReady},
          {{0x03}, &RequestSense},
      },
      nullptr,
  };
  return family;
}

}  // namespace kelvane::vdrive
