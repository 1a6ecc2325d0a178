#include "platform/linux/resource_table.h"

#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace kelvane::platform::linux_backend {

namespace {

constexpr std::array<char, 8> kMagic = {'K', 'V', 'L', 'N', 'R', 'E', 'S', '1'};
constexpr std::size_t kTrailerSize = 16;
constexpr std::uint32_t kMaxEntries = 0x10000;

class Reader {
 public:
  explicit Reader(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}
  bool Has(std::size_t count) const { return count <= bytes_.size() - at_; }
  bool U8(std::uint8_t& value) {
    if (!Has(1)) return false;
    value = bytes_[at_++];
    return true;
  }
  bool U16(std::uint16_t& value) {
    if (!Has(2)) return false;
    value = static_cast<std::uint16_t>(bytes_[at_] | (bytes_[at_ + 1] << 8));
    at_ += 2;
    return true;
  }
  bool U32(std::uint32_t& value) {
    if (!Has(4)) return false;
    value = static_cast<std::uint32_t>(bytes_[at_]) |
            (static_cast<std::uint32_t>(bytes_[at_ + 1]) << 8) |
            (static_cast<std::uint32_t>(bytes_[at_ + 2]) << 16) |
            (static_cast<std::uint32_t>(bytes_[at_ + 3]) << 24);
    at_ += 4;
    return true;
  }
  bool Text(std::u16string& text) {
    std::uint16_t length = 0;
    if (!U16(length) || !Has(std::size_t{length} * 2)) return false;
    text.resize(length);
    for (std::uint16_t i = 0; i < length; ++i) {
      U16(reinterpret_cast<std::uint16_t&>(text[i]));
    }
    return true;
  }
  bool Bytes(std::vector<std::uint8_t>& data, std::size_t count) {
    if (!Has(count)) return false;
    data.assign(bytes_.begin() + static_cast<std::ptrdiff_t>(at_),
                bytes_.begin() + static_cast<std::ptrdiff_t>(at_ + count));
    at_ += count;
    return true;
  }
  bool AtEnd() const { return at_ == bytes_.size(); }

 private:
  const std::vector<std::uint8_t>& bytes_;
  std::size_t at_ = 0;
};

void PutU16(std::vector<std::uint8_t>& out, std::uint16_t value) {
  out.push_back(static_cast<std::uint8_t>(value & 0xFF));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) {
    out.push_back(static_cast<std::uint8_t>((value >> shift) & 0xFF));
  }
}

void PutText(std::vector<std::uint8_t>& out, const std::u16string& text) {
  PutU16(out, static_cast<std::uint16_t>(text.size()));
  for (char16_t unit : text) {
    PutU16(out, static_cast<std::uint16_t>(unit));
  }
}

bool ParseEntries(const std::vector<std::uint8_t>& body, std::uint32_t count,
                  std::vector<ResourceEntry>& entries) {
  Reader reader(body);
  for (std::uint32_t i = 0; i < count; ++i) {
    ResourceEntry entry;
    std::uint8_t kind = 0;
    std::uint32_t size = 0;
    if (!reader.Text(entry.type) || !reader.U8(kind) || kind > 1) return false;
    entry.numeric_name = kind == 0;
    if (entry.numeric_name ? !reader.U16(entry.id) : !reader.Text(entry.name)) return false;
    if (!reader.U16(entry.language) || !reader.U32(size) || !reader.Bytes(entry.data, size))
      return false;
    entries.push_back(std::move(entry));
  }
  return reader.AtEnd();
}

}  // namespace

std::u16string UpperResourceText(std::u16string text) {
  for (char16_t& unit : text) {
    if (unit >= u'a' && unit <= u'z') {
      unit = static_cast<char16_t>(unit - u'a' + u'A');
    }
  }
  return text;
}

std::optional<ResourceTable> ReadResourceTable(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    return std::nullopt;
  }
  file.seekg(0, std::ios::end);
  const std::streamoff end = file.tellg();
  if (end < 0) {
    return std::nullopt;
  }
  ResourceTable table;
  const auto file_size = static_cast<std::uint64_t>(end);
  table.program_size = file_size;
  if (file_size < kTrailerSize) {
    return table;
  }
  std::array<std::uint8_t, kTrailerSize> trailer{};
  file.seekg(static_cast<std::streamoff>(file_size - kTrailerSize));
  if (!file.read(reinterpret_cast<char*>(trailer.data()), kTrailerSize)) {
    return std::nullopt;
  }
  if (std::memcmp(trailer.data() + 8, kMagic.data(), kMagic.size()) != 0) {
    return table;
  }
  std::uint32_t body_size = 0;
  std::uint32_t count = 0;
  std::memcpy(&body_size, trailer.data(), 4);
  std::memcpy(&count, trailer.data() + 4, 4);
  if (body_size > file_size - kTrailerSize || count > kMaxEntries) {
    return table;
  }
  std::vector<std::uint8_t> body(body_size);
  file.seekg(static_cast<std::streamoff>(file_size - kTrailerSize - body_size));
  if (!file.read(reinterpret_cast<char*>(body.data()), static_cast<std::streamsize>(body.size()))) {
    return std::nullopt;
  }
  std::vector<ResourceEntry> entries;
  if (!ParseEntries(body, count, entries)) {
    return table;  // damaged: read as absent
  }
  table.program_size = file_size - kTrailerSize - body_size;
  table.present = true;
  table.entries = std::move(entries);
  return table;
}

std::string WriteResourceTable(const std::string& path, const std::vector<ResourceEntry>& entries) {
  const std::optional<ResourceTable> existing = ReadResourceTable(path);
  if (!existing) {
    return "cannot read " + path;
  }
  std::vector<std::uint8_t> body;
  for (const ResourceEntry& entry : entries) {
    PutText(body, UpperResourceText(entry.type));
    body.push_back(entry.numeric_name ? 0 : 1);
    if (entry.numeric_name) {
      PutU16(body, entry.id);
    } else {
      PutText(body, UpperResourceText(entry.name));
    }
    PutU16(body, entry.language);
    PutU32(body, static_cast<std::uint32_t>(entry.data.size()));
    body.insert(body.end(), entry.data.begin(), entry.data.end());
  }
  PutU32(body, static_cast<std::uint32_t>(body.size()));
  PutU32(body, static_cast<std::uint32_t>(entries.size()));
  body.insert(body.end(), kMagic.begin(), kMagic.end());

  std::error_code error;
  std::filesystem::resize_file(path, existing->program_size, error);
  if (error) {
    return "cannot cut " + path + ": " + error.message();
  }
  std::ofstream file(path, std::ios::binary | std::ios::app);
  if (!file.write(reinterpret_cast<const char*>(body.data()),
                  static_cast<std::streamsize>(body.size()))) {
    return "cannot write " + path;
  }
  return {};
}

}  // namespace kelvane::platform::linux_backend
