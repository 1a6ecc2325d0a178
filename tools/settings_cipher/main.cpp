// Build tool: enciphers a settings text with the embedded-settings scheme
// and attaches it to a program file as resource "BINARY" #4096.
//
//   kelvane_settings_cipher embed <program> <settings.txt>
//   kelvane_settings_cipher encipher <settings.txt> <out.bin>
//   kelvane_settings_cipher attach <program> <resource.bin>
//
// The text file is read as UTF-8 and stored as UTF-16 with a byte-order
// mark, so it reads the same whatever the reading system's code page.
#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "framework/settings_cipher.h"
#include "framework/settings_key.h"
#include "platform/crypto.h"
#include "platform/linux/resource_table.h"
#include "platform/linux/utf8.h"
#include "platform/secure_wipe.h"

namespace {

using kelvane::platform::linux_backend::ResourceEntry;

bool ReadFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    return false;
  }
  bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  return true;
}

std::vector<std::uint8_t> Utf16WithMark(const std::vector<std::uint8_t>& utf8) {
  const std::wstring text = kelvane::platform::linux_backend::WideFromUtf8(
      std::string_view(reinterpret_cast<const char*>(utf8.data()), utf8.size()));
  std::vector<std::uint8_t> out = {0xFF, 0xFE};
  const auto put = [&out](char32_t unit) {
    out.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    out.push_back(static_cast<std::uint8_t>((unit >> 8) & 0xFF));
  };
  for (wchar_t c : text) {
    const auto code = static_cast<char32_t>(c);
    if (code > 0xFFFF) {
      put(0xD800 + ((code - 0x10000) >> 10));
      put(0xDC00 + ((code - 0x10000) & 0x3FF));
    } else {
      put(code);
    }
  }
  return out;
}

bool Encipher(const std::string& settings_path, std::vector<std::uint8_t>& data) {
  std::vector<std::uint8_t> utf8;
  if (!ReadFile(settings_path, utf8)) {
    std::fprintf(stderr, "cannot read %s\n", settings_path.c_str());
    return false;
  }
  const std::vector<std::uint8_t> text = Utf16WithMark(utf8);
  kelvane::framework::SettingsKeyBytes key_bytes = kelvane::framework::BuildSettingsKeyBytes();
  kelvane::framework::SettingsCipherKey key{};
  const bool key_ok = kelvane::framework::SetUpSettingsKey(key_bytes, key).IsSuccess();
  kelvane::platform::SecureWipeObject(key_bytes);
  const kelvane::platform::crypto::Digest256 digest = kelvane::platform::crypto::Sha256(text);
  std::array<std::uint8_t, 16> start{};
  std::copy(digest.begin(), digest.begin() + 16, start.begin());
  const bool ok = key_ok && kelvane::framework::EncipherSettings(key, start, text, data);
  kelvane::platform::SecureWipeObject(key);
  if (!ok) {
    std::fprintf(stderr, "enciphering failed\n");
  }
  return ok;
}

bool Attach(const std::string& program, std::vector<std::uint8_t> data) {
  const auto table = kelvane::platform::linux_backend::ReadResourceTable(program);
  if (!table) {
    std::fprintf(stderr, "cannot read %s\n", program.c_str());
    return false;
  }
  std::vector<ResourceEntry> entries;
  for (const ResourceEntry& entry : table->entries) {
    if (!(entry.type == u"BINARY" && entry.numeric_name && entry.id == 4096)) {
      entries.push_back(entry);
    }
  }
  ResourceEntry settings;
  settings.type = u"BINARY";
  settings.numeric_name = true;
  settings.id = 4096;
  settings.language = 0;
  settings.data = std::move(data);
  entries.push_back(std::move(settings));
  const std::string error = kelvane::platform::linux_backend::WriteResourceTable(program, entries);
  if (!error.empty()) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  std::vector<std::uint8_t> data;
  if (command == "embed" && argc == 4) {
    return Encipher(argv[3], data) && Attach(argv[2], std::move(data)) ? 0 : 1;
  }
  if (command == "encipher" && argc == 4) {
    if (!Encipher(argv[2], data)) {
      return 1;
    }
    std::ofstream out(argv[3], std::ios::binary);
    out.write(reinterpret_cast<const char*>(data.data()),
              static_cast<std::streamsize>(data.size()));
    return out ? 0 : 1;
  }
  if (command == "attach" && argc == 4) {
    return ReadFile(argv[3], data) && Attach(argv[2], std::move(data)) ? 0 : 1;
  }
  std::fprintf(stderr,
               "usage: %s embed <program> <settings.txt>\n"
               "       %s encipher <settings.txt> <out.bin>\n"
               "       %s attach <program> <resource.bin>\n",
               argv[0], argv[0], argv[0]);
  return 2;
}
