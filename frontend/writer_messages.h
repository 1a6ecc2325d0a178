// The writer message table: the texts that explain the writer's exit codes.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace kelvane::frontend {

// Indexed by the writer's exit code; index 5 also stands for a missing
// writer, index 6 for every larger value.
inline constexpr std::array<std::wstring_view, 7> kWriterMessages{{
    L"Success",
    L"このデバイスは対応していません",
    L"既に最新のバージョンにアップデートされています",
    L"デバイスが見つかりません",
    L"複数のデバイスが接続されています。\n一本のみ接続してください。",
    L"tolvak.exeが見つかりません",
    L"不明なエラーです",
}};

inline constexpr std::size_t kWriterMissingMessage = 5;
inline constexpr std::size_t kUnknownErrorMessage = 6;

// The table index for a writer outcome: the value itself up to 6 (compared
// unsigned), 6 above.
inline constexpr std::size_t WriterMessageIndex(std::uint32_t outcome) {
  return outcome <= kUnknownErrorMessage ? outcome : kUnknownErrorMessage;
}

}  // namespace kelvane::frontend
