#include "sdk/mode_table.h"

#include <array>

namespace kelvane::sdk {

namespace {

struct ModeEntry {
  std::uint8_t mode;
  ModeLayout layout;
};

constexpr std::int8_t no = kNoUnit;

// {mode, {units, CD-ROM role, secure role, public role}}
constexpr std::array kPlainLayout = {
    ModeEntry{3, {1, no, no, 0}},  ModeEntry{15, {1, no, no, 0}}, ModeEntry{255, {1, no, no, 0}},
    ModeEntry{7, {2, no, 0, 1}},   ModeEntry{12, {2, no, 0, 1}},  ModeEntry{8, {1, no, 0, 0}},
    ModeEntry{26, {1, no, 0, 0}},  ModeEntry{21, {2, 0, 1, no}},  ModeEntry{24, {2, 0, 1, no}},
    ModeEntry{30, {1, 0, no, no}}, ModeEntry{31, {3, 0, 1, 2}},
};

constexpr std::array kSecureLayout = {
    ModeEntry{3, {1, no, no, 0}}, ModeEntry{255, {1, no, no, 0}}, ModeEntry{7, {2, no, 0, 1}},
    ModeEntry{8, {1, no, 0, 0}},  ModeEntry{21, {2, 1, 0, no}},   ModeEntry{22, {2, 0, 1, no}},
    ModeEntry{25, {2, 0, 1, no}}, ModeEntry{28, {2, 0, 1, no}},   ModeEntry{27, {3, 0, 1, 2}},
    ModeEntry{31, {3, 0, 1, 2}},  ModeEntry{30, {1, 0, no, no}},  ModeEntry{33, {2, no, 1, 0}},
};

template <typename Table>
std::optional<ModeLayout> Find(const Table& table, std::uint32_t mode) {
  for (const ModeEntry& entry : table) {
    if (entry.mode == mode) return entry.layout;
  }
  return std::nullopt;
}

}  // namespace

std::optional<ModeLayout> LookupMode(std::uint32_t mode, std::uint8_t secure_layout) {
  return secure_layout != 0 ? Find(kSecureLayout, mode) : Find(kPlainLayout, mode);
}

}  // namespace kelvane::sdk
