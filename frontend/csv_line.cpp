#include "frontend/csv_line.h"

namespace kelvane::frontend {

std::optional<std::vector<std::wstring>> SplitCsvLine(const std::wstring& text) {
  const std::wstring line = text.substr(0, text.find_first_of(L"\r\n"));
  std::vector<std::wstring> fields;
  std::size_t at = 0;
  while (true) {
    std::wstring field;
    if (at < line.size() && line[at] == L'"') {
      ++at;
      bool closed = false;
      while (at < line.size()) {
        if (line[at] == L'"') {
          if (at + 1 < line.size() && line[at + 1] == L'"') {
            field += L'"';
            at += 2;
            continue;
          }
          closed = true;
          ++at;
          break;
        }
        field += line[at++];
      }
      if (!closed || (at < line.size() && line[at] != L',')) {
        return std::nullopt;
      }
    } else {
      while (at < line.size() && line[at] != L',') {
        if (line[at] == L'"') {
          return std::nullopt;
        }
        field += line[at++];
      }
    }
    fields.push_back(std::move(field));
    if (at >= line.size()) {
      return fields;
    }
    ++at;  // the separator
  }
}

}  // namespace kelvane::frontend
