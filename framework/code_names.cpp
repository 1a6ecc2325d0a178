#include "framework/code_names.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "framework/code_name_table.h"

namespace kelvane::framework {

namespace {

using RowIndex = std::uint16_t;
constexpr std::size_t kRowCount = kCodeNameRows.size();

// Row numbers ordered by (code, row number): the first of equal codes is the
// row that comes first in the table. Built by the compiler, searched by
// binary search.
constexpr std::array<RowIndex, kRowCount> kByCode = [] {
  std::array<RowIndex, kRowCount> order{};
  for (std::size_t i = 0; i < kRowCount; ++i) {
    order[i] = static_cast<RowIndex>(i);
  }
  std::sort(order.begin(), order.end(), [](RowIndex a, RowIndex b) {
    const ResultCode code_a = kCodeNameRows[a].code;
    const ResultCode code_b = kCodeNameRows[b].code;
    return code_a != code_b ? code_a < code_b : a < b;
  });
  return order;
}();

constexpr std::wstring_view FindName(ResultCode code) {
  const auto found = std::lower_bound(
      kByCode.begin(), kByCode.end(), code,
      [](RowIndex row, ResultCode wanted) { return kCodeNameRows[row].code < wanted; });
  if (found != kByCode.end() && kCodeNameRows[*found].code == code) {
    return kCodeNameRows[*found].name;
  }
  return FindName(InvalidEnumValue);
}

static_assert(kRowCount < 0x10000, "row numbers are 16-bit");
static_assert(FindName(0x63610005) == L"CM_CR_INVALID_DEVINST", "earlier rows win");

}  // namespace

std::wstring CodeName(ResultCode code) {
  return std::wstring(FindName(code));
}

std::span<const CodeNameRow> CodeNameTable() {
  return kCodeNameRows;
}

}  // namespace kelvane::framework
