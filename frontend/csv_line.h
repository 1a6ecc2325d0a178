// Splitting one line of comma-separated values.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kelvane::frontend {

// Splits `text` as one comma-separated line: fields are separated by ',';
// a field that begins with a double quote runs to the matching closing quote,
// inside which a doubled quote stands for one quote, and the closing quote
// must be followed by ',' or the end of the line. The line ends at the first
// CR or LF, or at the end of the text. A quote anywhere else, or a quote left
// open, makes the line malformed: nullopt.
std::optional<std::vector<std::wstring>> SplitCsvLine(const std::wstring& text);

}  // namespace kelvane::frontend
