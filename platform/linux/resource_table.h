// The resource table that a Linux program file carries after its last byte.
//
// Layout, all numbers little-endian:
//   entries, one after another:
//     u16 type length, the type as that many UTF-16 units (upper case)
//     u8 name kind (0: numeric id, 1: text), then a u16 id, or a u16 length
//        and that many UTF-16 units (upper case)
//     u16 language
//     u32 data size, then the data
//   trailer (16 bytes): u32 size of the entries, u32 number of entries,
//     the 8 bytes "KVLNRES1"
// A file whose last 16 bytes are not such a trailer has no table.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kelvane::platform::linux_backend {

struct ResourceEntry {
  std::u16string type;  // upper case
  bool numeric_name = true;
  std::uint16_t id = 0;
  std::u16string name;  // upper case, when not numeric
  std::uint16_t language = 0;
  std::vector<std::uint8_t> data;
};

struct ResourceTable {
  std::uint64_t program_size = 0;  // bytes before the table (the whole file without one)
  bool present = false;            // a well-formed table was found
  std::vector<ResourceEntry> entries;
};

// Reads the table of a program file; nullopt when the file cannot be read.
// A table that is damaged reads as absent.
std::optional<ResourceTable> ReadResourceTable(const std::string& path);

// Writes `entries` as the file's table, replacing any table it had. Returns
// an error text, empty on success.
std::string WriteResourceTable(const std::string& path, const std::vector<ResourceEntry>& entries);

// Upper-cases ASCII letters, as resource types and names are stored.
std::u16string UpperResourceText(std::u16string text);

}  // namespace kelvane::platform::linux_backend
