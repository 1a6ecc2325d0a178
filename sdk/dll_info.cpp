// GetDllInfo: the SDK's info text, or its version code.
#include <cstring>

#include "sdk/kat_api.h"
#include "sdk/sdk_build_config.h"

namespace {

// 913 characters and the NUL.
constexpr char kInfoText[] =
    "For : RQ6471_SDK\r\n"
    "Version : 20090811\r\n"
    "Version : Standard ver 1.11 , 2009.08.10\r\n"
    "Chip : 6471\r\n"
    "F/W : FF03\r\n"
    "Mode : 7,21,28,30,31\r\n"
    "AES : Enable\r\n"
    "Function List:\r\n"
    "\tGetDllInfo\r\n"
    "\tKat_isHID\r\n"
    "\tKat_isReady_HIDmode\r\n"
    "\tKat_InitAPI\r\n"
    "\tKat_CloseAPI\r\n"
    "\tKat_ListTokens\r\n"
    "\tKat_GetDeviceInfo\r\n"
    "\tKat_ReadHiddenArea\r\n"
    "\tKat_WriteHiddenArea\r\n"
    "\tKat_Make_CDKey\r\n"
    "\tKat_LockCDROM\r\n"
    "\tKat_UnlockCDROM\r\n"
    "\tKat_OpenLockedCDROM\r\n"
    "\tKat_CloseLockedCDROM\r\n"
    "\tKat_WriteBlockCDROM\r\n"
    "\tKat_ReadBlockCDROM\r\n"
    "\tKat_SetDevice_MediaChanged\r\n"
    "\tKat_SetPassword\r\n"
    "\tKat_Login\r\n"
    "\tKat_Logout\r\n"
    "\tKat_ChangePassword\r\n"
    "\tKat_DisablePassword\r\n"
    "\tKat_ResetPassword\r\n"
    "\tKat_ResizeCDPartition\r\n"
    "\tKat_OpenContinuousAccess\r\n"
    "\tKat_CloseContinuousAccess\r\n"
    "\tKat_GetStatus\r\n"
    "\tKat_SetWriteProtect\r\n"
    "\tKat_GetWriteProtect\r\n"
    "\tKat_SetPWS_ProtectHidden\r\n"
    "\tKat_DisablePWS_ProtectHidden\r\n"
    "\tKat_ClearPWS_ProtectHidden\r\n"
    "\tKat_ReadProtectHidden\r\n"
    "\tKat_WriteProtectHidden\r\n"
    "\tKat_Get_Current_Number_of_Attempts_ProtectHidden\r\n";
static_assert(sizeof(kInfoText) == KAT_DLL_INFO_TEXT_SIZE, "info text is 913 characters and a NUL");

// "k1a2t3r4e5l" with its NUL, compared as 12 bytes.
constexpr char kInfoMagic[12] = {'k', '1', 'a', '2', 't', '3', 'r', '4', 'e', '5', 'l', '\0'};

}  // namespace

extern "C" int32_t KAT_CALL GetDllInfo(void* buffer) {
  if (buffer == nullptr) return UDVErrorInputParameter;
  if (std::memcmp(buffer, kInfoMagic, sizeof(kInfoMagic)) == 0) {
    std::memcpy(buffer, kInfoText, sizeof(kInfoText));
  } else {
    const std::uint32_t version = kelvane::sdk::kVersionCode;
    std::memcpy(buffer, &version, sizeof(version));
  }
  return UDVSuccess;
}
