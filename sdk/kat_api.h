/*
 * The device SDK: flat operations through which the writer and the front end
 * talk to the controller of the security flash drive.
 *
 * Plain C. Every operation returns an SDK return code (0 success) and
 * delivers its results through caller-supplied pointers and records that
 * begin with a 32-bit size field. Every operation except GetDllInfo and
 * Kat_InitAPI first tests initialisation (75), then its arguments (20).
 */
#ifndef KELVANE_SDK_KAT_API_H_
#define KELVANE_SDK_KAT_API_H_

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32)
#define KAT_CALL __cdecl
#else
#define KAT_CALL
#endif

/* SDK return codes. Codes 2 to 18, 48 and 63 to 69 have no name; transport
 * statuses of the device layer may also be passed through unchanged. */
enum KatReturnCode {
  UDVSuccess = 0,
  UDVError = 1,
  UDVErrorcDriveLetterNotFound = 19,
  UDVErrorInputParameter = 20,
  UDVErrorGetDeviceInfo = 21,
  UDVErrorGetDeviceString = 22,
  UDVErrorGetCapacity = 23,
  UDVErrorNoHidden = 24,
  UDVErrorIndexOutOfCompass = 25,
  UDVErrorCountOutOfCompass = 26,
  UDVErrorAccessingOutOfCompass = 27,
  UDVErrorReadHiddenArea = 28,
  UDVErrorWriteDataToBuff = 29,
  UDVErrorIncorrectHiddenAreaPassword = 30,
  UDVErrorHiddenNOA_OutOfMAX = 31,
  UDVErrorWriteHiddenArea = 32,
  UDVErrorReadDataFromBuff = 33,
  UDVErrorDevice = 34,
  UDVErrorCDAlreadyLocked = 35,
  UDVErrorCDLock = 36,
  UDVErrorVerifyCDKey = 37,
  UDVErrorSecuritySessionNoOpened = 38,
  UDVErrorCDUnlock = 39,
  UDVErrorOpenSecuritySession = 40,
  UDVErrorCDNoLocked = 41,
  UDVErrorTerminateSecureSession = 42,
  UDVErrorOutOfCompassAccessCD = 43,
  UDVErrorWriteCDBuffer = 44,
  UDVErrorReadCDBuffer = 45,
  UDVErrorReadBuffer = 46,
  UDVErrorWriteBuffer = 47,
  UDVErrorPasswordExisted = 49,
  UDVErrorDeviceBeSeized = 50,
  UDVErrorLogout = 51,
  UDVErrorSetPassword = 52,
  UDVErrorPasswordNoExisted = 53,
  UDVErrorAlreadyLogin = 54,
  UDVErrorAlreadyLogout = 55,
  UDVErrorWrongPassword = 56,
  UDVErrorExceededMaxNOA = 57,
  UDVErrorLogin = 58,
  UDVErrorChangePassword = 59,
  UDVErrorUnblockPassword = 60,
  UDVErrorEncryptBuffer = 61,
  UDVErrorDecryptBuffer = 62,
  UDVErrorLoginDeviceSecureMechanism = 70,
  UDVErrorLogoutDeviceSecureMechanism = 71,
  UDVErrorPasswordNoExisted_for_DeviceSecureMechanism = 72,
  UDVErrorWrongPassword_for_DeviceSecureMechanism = 73,
  UDVErrorVeerSecuritySessionType = 74,
  UDVErrorNoInitSDK = 75,
  UDVErrorAlreadyInitSDK = 76,
  UDVErrorAlreadyCloseSDK = 77,
  UDVErrorSetDevicePartition = 78,
  UDVErrorWrong_HostPublicKey = 80,
  UDVErrorErasePartitionData = 81,
  UDVErrorNoKeyFromSmartCard = 82,
  UDVErrorSetDeviceInfo = 83,
  UDVErrorPartitionIsWriteProtected = 84,
  UDVErrorHardwareProblem = 85,
  UDVImageExistsInDeviceCD = 86,
  UDVErrorOpenFile = 87,
  UDVInvalidFileSize = 88,
  UDVErrorReadFile = 89,
  UDVErrorWriteFile = 90,
  UDVErrorNoMBR = 91,
  UDVErrorNoFAT = 92,
  UDVError_DeviceUnready = 93
};

/* Size of the buffer that GetDllInfo fills with the SDK info text. */
#define KAT_DLL_INFO_TEXT_SIZE 914

#pragma pack(push, 1)

/* One drive as Kat_ListTokens reports it. The caller zeroes the array and
 * sets every size field to 19. A role byte keeps the caller's value when the
 * drive's mode has no unit for that role. */
typedef struct KatTokenRecord {
  uint32_t size;           /* must be 19 */
  uint8_t unit_bytes[8];   /* drive letter or index code per unit */
  uint32_t count;          /* units of the drive's mode */
  uint8_t public_role;
  uint8_t cdrom_role;
  uint8_t secure_role;
} KatTokenRecord;

/* The SDK's own description of one drive, kept in the device lists. */
typedef struct KatDeviceRecord {
  uint8_t unit_bytes[8];
  uint32_t unit_count;
  uint8_t reserved_12[32];
  uint32_t controller_mode;   /* INFO byte 172 */
  uint16_t firmware_code;     /* identification bytes 154-155, big-endian */
  uint8_t secure_layout;
  uint8_t serial[128];        /* serial identifier (SCSI) or serial text (HID) */
  uint8_t reserved_179;
  uint16_t vendor_id;         /* HID mode */
  uint16_t product_id;        /* HID mode */
  char hid_path[2048];
  uint8_t hid_report_format;  /* 1 or 2 */
  uint8_t reserved_2233;
  uint8_t rd_block[528];
  uint8_t descriptor4_prefix[64];
  uint8_t reserved_2826[2];
} KatDeviceRecord;

/* What Kat_GetDeviceInfo reports. The caller sets the size and zeroes the
 * rest. The size and attribute fields (public_role_size to page12_value and
 * secure_role_area_present to hidden_area_word3) are written only for drives
 * in the secure layout. */
typedef struct KatDeviceInfoRecord {
  uint32_t size;                   /* must be 299 */
  char vendor_id_text[5];
  char product_id_text[5];
  char serial_text[129];
  char descriptor_string1[25];
  char descriptor_string2[25];
  char vendor_text[9];             /* identification bytes 176-183 */
  char product_text[17];           /* identification bytes 156-171 */
  char revision_text[5];           /* identification bytes 184-187 */
  char version_text[9];            /* "%02X.%02X.%02X" */
  uint32_t public_role_size;
  uint32_t cdrom_role_size;
  uint32_t secure_role_size;
  uint32_t hidden_area_size;
  uint32_t page8_word;
  uint32_t controller_mode;
  uint32_t chip_code;
  uint32_t secure_role_area_present;
  uint32_t secure_role_area_word2;
  uint32_t page12_value;
  uint32_t secure_role_area_word3;
  uint32_t cdrom_locked;
  uint32_t hidden_area_present;
  uint32_t hidden_area_word2;
  uint32_t page12_value_again;
  uint32_t hidden_area_word3;
  uint16_t firmware_code;
} KatDeviceInfoRecord;

#pragma pack(pop)

/* Fills `buffer` (at least KAT_DLL_INFO_TEXT_SIZE bytes) with the SDK info
 * text when it begins with the info magic "k1a2t3r4e5l" and its NUL, else
 * writes the 4-byte version code. Needs no initialisation. */
int32_t KAT_CALL GetDllInfo(void* buffer);

int32_t KAT_CALL Kat_InitAPI(uint32_t* version);
int32_t KAT_CALL Kat_CloseAPI(void);
int32_t KAT_CALL Kat_isHID(int32_t* is_hid);
int32_t KAT_CALL Kat_ForceHIDmode(uint8_t force);

/* Enumerates the drives into `tokens`; *count is the capacity on entry and
 * the number of tokens on success. `pairs` vendor/product pairs (at most
 * 256) restrict the search; 0 pairs accept every drive. */
int32_t KAT_CALL Kat_ListTokens(KatTokenRecord* tokens, uint32_t* count, const uint32_t* vendors,
                                const uint32_t* products, uint32_t pairs);

/* Stores 1 in *ready when every HID-mode drive is ready, else 0. */
int32_t KAT_CALL Kat_isReady_HIDmode(int32_t* ready);

/* Fills the device-information record of the drive named by the low byte of
 * `selector` (a drive letter or an index code). */
int32_t KAT_CALL Kat_GetDeviceInfo(uint32_t selector, KatDeviceInfoRecord* info);

#ifdef __cplusplus
}  /* extern "C" */
#endif

/* The records' layout is part of the interface. */
#ifdef __cplusplus
#define KAT_STATIC_ASSERT static_assert
#else
#define KAT_STATIC_ASSERT _Static_assert
#endif
KAT_STATIC_ASSERT(sizeof(KatTokenRecord) == 19, "token record is 19 bytes");
KAT_STATIC_ASSERT(sizeof(KatDeviceRecord) == 2828, "device record is 2828 bytes");
KAT_STATIC_ASSERT(sizeof(KatDeviceInfoRecord) == 299, "device-information record is 299 bytes");
KAT_STATIC_ASSERT(offsetof(KatDeviceRecord, serial) == 51, "device record serial at 51");
KAT_STATIC_ASSERT(offsetof(KatDeviceRecord, hid_path) == 184, "device record path at 184");
KAT_STATIC_ASSERT(offsetof(KatDeviceRecord, rd_block) == 2234, "device record RD block at 2234");
KAT_STATIC_ASSERT(offsetof(KatDeviceInfoRecord, version_text) == 224, "version text at 224");
KAT_STATIC_ASSERT(offsetof(KatDeviceInfoRecord, public_role_size) == 233, "sizes at 233");
KAT_STATIC_ASSERT(offsetof(KatDeviceInfoRecord, firmware_code) == 297, "firmware code at 297");
#undef KAT_STATIC_ASSERT

#endif /* KELVANE_SDK_KAT_API_H_ */
