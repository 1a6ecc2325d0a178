// ResourceReader: reads a data resource of a program file and deciphers it.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "framework/result.h"

namespace kelvane::framework {

// The type of the settings resource and its numeric name.
inline constexpr wchar_t kSettingsResourceType[] = L"BINARY";
inline constexpr int kSettingsResourceId = 4096;

class ResourceReader {
 public:
  // `key_bytes` are the 16 bytes whose digest keys the decipher step; the
  // reader keeps a copy and wipes it when destroyed. The key-file source is
  // not served: `use_key_file` must stay false.
  ResourceReader(std::wstring resource_type, std::span<const std::uint8_t, 16> key_bytes,
                 bool use_key_file = false);
  ~ResourceReader();
  ResourceReader(const ResourceReader&) = delete;
  ResourceReader& operator=(const ResourceReader&) = delete;

  // Chooses the program file whose resources are read (empty: the running
  // program's own file) after checking it loads as a resource module and
  // has resources. Errors: site 73 then InvalidPath or the system error of
  // the load; site 74 then the system error of the enumeration (1812: no
  // resources).
  Result Open(const std::wstring& module_path);

  // The bytes of resource "#<id>" (or of `name`) in `language`. Errors: site
  // 121 then HandleNotEnabled (no module chosen) or FileNotFound (its file
  // is gone); site 112 or 115 then InvalidKey for an empty name, or one
  // longer than 63 characters or holding other characters than letters,
  // digits, white space, '.' and '#'; site 117 then the site of the failing
  // step (339 load, 343 find, 346 load resource, 349 size, 352 lock) and the
  // system error.
  Result ReadRaw(int id, std::uint16_t language, std::vector<std::uint8_t>& bytes);
  Result ReadRaw(const std::wstring& name, std::uint16_t language,
                 std::vector<std::uint8_t>& bytes);

  // ReadRaw in the neutral language, then the decipher step. Errors: site 522
  // then the module check's failure; site 524 then ReadRaw's failure; site
  // 536 (key set-up) or 537 (deciphering), DecodeError, then the step's
  // failure.
  Result ReadDeciphered(int id, std::vector<std::uint8_t>& bytes);

  // ReadDeciphered, decoded as text; empty on any failure.
  std::wstring ReadText(int id);

  const std::wstring& ModulePath() const { return module_path_; }

 private:
  Result CheckModule() const;

  std::wstring resource_type_;
  std::wstring module_path_;
  bool use_key_file_;
  std::array<std::uint8_t, 16> key_bytes_{};
};

}  // namespace kelvane::framework
