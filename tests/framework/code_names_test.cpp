#include "framework/code_names.h"

#include <gtest/gtest.h>

#include <map>

#include "framework/result_code.h"

namespace kelvane::framework {
namespace {

TEST(CodeNameTableTest, HoldsEveryRowWithSuccessFirstAndInvalidEnumValueLast) {
  const auto table = CodeNameTable();
  ASSERT_EQ(table.size(), 878u);
  EXPECT_EQ(table.front().code, 0u);
  EXPECT_EQ(table.front().name, L"Success");
  EXPECT_EQ(table.back().code, 0x7FFFFFFFu);
  EXPECT_EQ(table.back().name, L"InvalidEnumValue");
}

struct FacilityRows {
  ResultCode facility;
  std::size_t rows;
  ResultCode first_code;
  const wchar_t* first_name;
  ResultCode last_code;
  const wchar_t* last_name;
};

class FacilityRowsTest : public ::testing::TestWithParam<FacilityRows> {};

// Each facility's rows stand together, in the order the table lists them.
TEST_P(FacilityRowsTest, FirstAndLastRowsAndCount) {
  const FacilityRows& expected = GetParam();
  const auto table = CodeNameTable();
  std::vector<CodeNameRow> rows;
  for (const CodeNameRow& row : table) {
    if ((row.code >> 16) == (expected.facility >> 16) && (row.code & 0xFFFF) != 0) {
      rows.push_back(row);
    }
  }
  ASSERT_EQ(rows.size(), expected.rows);
  EXPECT_EQ(rows.front().code, expected.first_code);
  EXPECT_EQ(rows.front().name, expected.first_name);
  EXPECT_EQ(rows.back().code, expected.last_code);
  EXPECT_EQ(rows.back().name, expected.last_name);
  const auto first = std::find_if(table.begin(), table.end(), [&](const CodeNameRow& row) {
    return row.code == expected.first_code;
  });
  ASSERT_NE(first, table.end());
  EXPECT_EQ(first[static_cast<std::ptrdiff_t>(expected.rows) - 1].code, expected.last_code)
      << "rows are contiguous";
}

INSTANTIATE_TEST_SUITE_P(
    EveryFacility, FacilityRowsTest,
    ::testing::Values(
        FacilityRows{CT632641Base, 67, 0x214A0001, L"KatError", 0x214A005D,
                     L"KatError_DeviceUnready"},
        FacilityRows{GDI_ControlBase, 21, 0x28380001, L"GDI_GenericError", 0x28380015,
                     L"GDI_ProfileNotFound"},
        FacilityRows{AfxThreadBase, 5, 0x304C0001, L"WaitFinish", 0x304C0005, L"NotSupportError"},
        FacilityRows{WininetKeyBase, 18, 0x31400001, L"WininetInternetOpenError", 0x31400012,
                     L"WininetFailSystemTime"},
        FacilityRows{ShFileOperationKeyBase, 24, 0x321C0071, L"DE_SAMEFILE", 0x321CFFFF,
                     L"ERRORONDEST"},
        FacilityRows{KelvaneBase, 3, 0x33F50001, L"FoundLastestVersion", 0x33F50003,
                     L"NotFoundTolvakExe"},
        FacilityRows{QmvExdErrorBase, 32, 0x37EB8001, L"QmvEXD_ERROR_INVALID_ARGUMENT", 0x37EB8020,
                     L"QmvEXD_ERROR_DEVICE_IS_LIMITED"},
        FacilityRows{TqErrorBase, 228, 0x617A0001, L"FailDosFormat", 0x617A00E5, L"OS_WINDOWS_10"},
        FacilityRows{CM_ErrorBase, 63, 0x63610010, L"CM_CR_ALREADY_SUCH_DEVINST", 0x6361003B,
                     L"CM_CR_INVALID_STRUCTURE_SIZE"},
        FacilityRows{HiErrorBase, 139, 0x66FE0001, L"HiInvalidNewMediaSize", 0x66FE008B,
                     L"ManyDeviceFound"},
        FacilityRows{StringTypeBase, 9, 0x6A880001, L"StrTypeAnsi", 0x6A88FFFF, L"StrTypeUnknown"},
        FacilityRows{HttpStatusBase, 40, 0x6D5E0001, L"HTTP_STATUS_UNKNOWN_ERROR", 0x6D5E01F9,
                     L"HTTP_STATUS_505_VERSION_NOT_SUP"},
        FacilityRows{CM_ErrorStatusBase, 50, 0x6E570001, L"CM_ERR_NOT_CONFIGURED", 0x6E570032,
                     L"CM_ERR_NUM_CM_ERR"},
        FacilityRows{WininetErrorBase, 92, 0x6E722EE1, L"WININET_ERROR_INTERNET_OUT_OF_HANDLES",
                     0x6E722F8E, L"WININET_ERROR_INTERNET_LOGIN_FAILURE_DISPLAY_ENTITY_BODY"},
        FacilityRows{CT47Base, 67, 0x7F660001, L"UDVError", 0x7F66005D,
                     L"UDVError_DeviceUnready"}));

TEST(CodeNameTest, FacilityNamesAreTheRowsWithLowBitsZero) {
  const std::map<ResultCode, const wchar_t*> bases = {
      {LineBase, L"LineBase"},
      {IndexBase, L"IndexBase"},
      {CT632641Base, L"CT632641Base"},
      {GDI_ControlBase, L"GDI_ControlBase"},
      {AfxThreadBase, L"AfxThreadBase"},
      {WininetKeyBase, L"WininetKeyBase"},
      {ShFileOperationKeyBase, L"ShFileOperationKeyBase"},
      {KelvaneBase, L"KelvaneBase"},
      {QmvExdErrorBase, L"QmvExdErrorBase"},
      {TqErrorBase, L"TqErrorBase"},
      {CM_ErrorBase, L"CM_ErrorBase"},
      {HiErrorBase, L"HiErrorBase"},
      {StringTypeBase, L"StringTypeBase"},
      {HttpStatusBase, L"HttpStatusBase"},
      {CM_ErrorStatusBase, L"CM_ErrorStatusBase"},
      {WininetErrorBase, L"WininetErrorBase"},
      {CT47Base, L"CT47Base"},
      {TolvakBase, L"TolvakBase"}};
  for (const auto& [code, name] : bases) {
    EXPECT_EQ(CodeName(code), name);
  }
}

TEST(CodeNameTest, EarlierRowWinsForAliases) {
  EXPECT_EQ(CodeName(0x63610005), L"CM_CR_INVALID_DEVINST");
  EXPECT_EQ(CodeName(0x6361000A), L"CM_CR_DEVINST_HAS_REQS");
  EXPECT_EQ(CodeName(0x6361000D), L"CM_CR_NO_SUCH_DEVINST");
  EXPECT_EQ(CodeName(0x63610010), L"CM_CR_ALREADY_SUCH_DEVINST");
  EXPECT_EQ(CodeName(0x63610006), L"CM_CR_INVALID_RES_DES");
}

TEST(CodeNameTest, UnknownCodesAreInvalidEnumValue) {
  for (ResultCode code : {0x617A0014u, 0x7FCC0003u, 0x12345678u, 0xFFFFFFFFu, 0x6E722EE0u + 35u}) {
    EXPECT_EQ(CodeName(code), L"InvalidEnumValue") << std::hex << code;
  }
  EXPECT_EQ(CodeName(0), L"Success");
}

TEST(CodeNameTest, NamedConstantsCarryTheirTableNames) {
  const std::map<ResultCode, const wchar_t*> named = {
      {kelvane_code::FoundLastestVersion, L"FoundLastestVersion"},
      {kelvane_code::InvalidVendorID, L"InvalidVendorID"},
      {kelvane_code::NotFoundTolvakExe, L"NotFoundTolvakExe"},
      {tq::InvalidArgument, L"InvalidArgument"},
      {tq::InvalidCharacterCode, L"InvalidCharacterCode"},
      {tq::InvalidFormat, L"InvalidFormat"},
      {tq::DeviceNotFound, L"DeviceNotFound"},
      {tq::NotSameHash, L"NotSameHash"},
      {tq::FileNotFound, L"FileNotFound"},
      {tq::DecodeError, L"DecodeError"},
      {tq::InvalidPath, L"InvalidPath"},
      {tq::InvalidKey, L"InvalidKey"},
      {tq::InvalidBuffer, L"InvalidBuffer"},
      {tq::SyntaxError, L"SyntaxError"},
      {tq::HandleNotEnabled, L"HandleNotEnabled"},
      {tq::MutexError, L"MutexError"},
      {tq::MutexTimeout, L"MutexTimeout"},
      {hi::ManyDeviceFound, L"ManyDeviceFound"},
      {string_type::StrTyepBom, L"StrTyepBom"},
      {string_type::StrTypeBigEndian, L"StrTypeBigEndian"},
      {0x6E722F76, L"WININET_ERROR_HTTP_HEADER_NOT_FOUND"},
      {0x6E722EE2, L"WININET_ERROR_INTERNET_TIMEOUT"},
      {0x28380011, L"GDI_UnsupportedGDI_plusVersion"},
      {0x28380012, L"GDI_GDI_plusNotInitialized"},
  };
  for (const auto& [code, name] : named) {
    EXPECT_EQ(CodeName(code), name) << std::hex << code;
  }
}

}  // namespace
}  // namespace kelvane::framework
