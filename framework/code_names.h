// Names of result codes, from the code-name table.
#pragma once

#include <span>
#include <string>

#include "framework/code_name_row.h"
#include "framework/result_code.h"

namespace kelvane::framework {

// The name of `code`. Where the table holds the code in more than one row the
// earlier row wins; a code missing from the table is named
// "InvalidEnumValue".
std::wstring CodeName(ResultCode code);

// Every row of the table, in table order.
std::span<const CodeNameRow> CodeNameTable();

}  // namespace kelvane::framework
