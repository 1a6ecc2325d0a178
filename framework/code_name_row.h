// One row of the code-name table: a result code and its name.
#pragma once

#include <string_view>

#include "framework/result_code.h"

namespace kelvane::framework {

struct CodeNameRow {
  ResultCode code;
  std::wstring_view name;
};

}  // namespace kelvane::framework
