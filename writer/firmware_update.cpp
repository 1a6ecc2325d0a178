#include "writer/firmware_update.h"

#include <array>
#include <cstring>
#include <memory>

#include "platform/secure_wipe.h"
#include "sdk/access/device_context.h"
#include "sdk/access/device_identification.h"
#include "sdk/access/secure_area.h"
#include "sdk/kat_api.h"
#include "sdk/sdk_state.h"
#include "writer/console.h"
#include "writer/firmware_images.h"

namespace kelvane::writer {

namespace {

namespace access = sdk::access;

constexpr std::uint8_t kArea0 = 0;
constexpr std::uint8_t kArea1 = 1;
constexpr std::uint8_t kSessionType = 4;
constexpr std::uint8_t kTargetCommand = 0x8F;
constexpr std::size_t kKeyBufferSize = 32;

const char kIdentifyFailedText[] = "\nIdentifying the USB device failed\n";
const char kUpToDateText[] = "\nThe device is the latest firmware version. No update required.\n";

// The identification block marks the target controller: "VR", controller
// 7152 and "ISP".
bool HasTargetSignature(const std::uint8_t* identification) {
  return identification[378] == 'V' && identification[379] == 'R' && identification[382] == 0x71 &&
         identification[383] == 0x52 && identification[393] == 'I' && identification[394] == 'S' &&
         identification[395] == 'P';
}

bool HasTargetFirmwareCode(const std::uint8_t* identification) {
  return identification[154] == 0xFF && identification[155] == 0x03;
}

// Opens area 1 and writes the image. Returns 0 or the code that ends the
// update; the caller closes area 1 either way.
int OpenAreaOneAndWrite(const access::DeviceContext& context, std::uint8_t* image, std::uint8_t* key) {
  std::uint32_t key_length = 0;
  std::uint8_t state = 0;
  access::SessionScheme scheme{};
  const std::int32_t opened = access::OpenSecureArea(context, kArea1, true, key, &key_length, &state,
                                                     &scheme, kSessionType, kTargetCommand);
  if (opened != 0) return opened;

  std::memcpy(image, kFirmwareImage, kFirmwareImageSize);
  if (access::WriteFirmwareImage(context, image, static_cast<std::uint32_t>(kFirmwareImageSize)) != 0) {
    return UDVErrorWriteBuffer;
  }
  Print("Ok!\n\n\nSuccess!\n\n");
  return kUpdateWritten;
}

}  // namespace

bool IsUpToDate(std::uint8_t major, std::uint8_t minor) { return major > 1 || (major == 1 && minor >= 3); }

int RunFirmwareUpdate(std::uint8_t selector) {
  if (!sdk::State().initialised) return UDVErrorNoInitSDK;
  access::DeviceContext context;

  std::array<std::uint8_t, access::kInfoBlockSize> info{};
  std::array<std::uint8_t, access::kInfoBlockSize> identification{};
  std::uint8_t secure_layout = 0;
  std::int32_t token_index = 0;
  std::uint8_t unit = 0;
  const std::int32_t identified = access::IdentifyDevice(selector, context, 0, info.data(), identification.data(),
                                                         1, &secure_layout, &token_index, &unit, nullptr);
  if (identified != 0) return identified;

  if (!HasTargetSignature(identification.data()) || !HasTargetFirmwareCode(identification.data())) {
    Print("%s", kIdentifyFailedText);
    return kNotTargetDevice;
  }
  if (IsUpToDate(identification[148], identification[149])) {
    Print("%s", kUpToDateText);
    return kAlreadyUpToDate;
  }

  std::array<std::uint8_t, kKeyBufferSize> key{};
  {
    std::uint32_t key_length = 0;
    std::uint8_t state = 0;
    access::SessionScheme scheme{};
    const std::int32_t opened = access::OpenSecureArea(context, kArea0, false, key.data(), &key_length, &state,
                                                       &scheme, kSessionType, kTargetCommand);
    platform::SecureWipe(key.data(), key.size());
    if (opened != 0) return kNotTargetDevice;
  }

  // The working copy of the image lives for this call only.
  auto image = std::make_unique<std::uint8_t[]>(kFirmwareImageSize);
  const int result = OpenAreaOneAndWrite(context, image.get(), key.data());
  access::CloseSecureArea(context, kArea1);
  platform::SecureWipe(key.data(), key.size());
  platform::SecureWipe(image.get(), kFirmwareImageSize);
  return result;
}

}  // namespace kelvane::writer
