// SettingsStore: INI-like settings text parsed into sections of key/value
// pairs, looked up, and written back out.
//
// Text format: lines separated by CR or LF (each alone is a separator);
// "[name]" starts a section (text after the first ']' is ignored); "key=value"
// sets a key of the current section (key before the first '=', value all
// after it, nothing trimmed); empty lines, lines starting with ';' and other
// lines are skipped. Section and key lookups ignore ASCII case; keys are kept
// ordered by plain code-unit comparison.
//
// Lookups never fail: a missing section or key gives the default. A lookup
// in a section that does not exist appends that (empty) section to the store.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "framework/result.h"

namespace kelvane::framework {

class SettingsStore {
 public:
  SettingsStore() = default;

  // Current section "Setting", no sections.
  void Reset();

  // Reset, then every line of `text` in order; the current section is
  // "Setting" again afterwards. Always a success: malformed lines are
  // dropped one by one.
  Result Parse(const std::wstring& text);

  void SetCurrentSection(const std::wstring& name) { current_section_ = name; }
  const std::wstring& CurrentSection() const { return current_section_; }

  // The value of `key` in `section` (empty: the current section); the
  // default when the key is missing or its value empty.
  std::wstring Get(const std::wstring& key, const std::wstring& default_value,
                   const std::wstring& section = L"");

  // Get, converted to the ANSI code page; empty when the value holds a
  // character the code page cannot represent or the conversion fails.
  std::string GetText(const std::wstring& key, const std::wstring& default_value,
                      const std::wstring& section = L"");

  // The value of `key` in the current section read as a number in `base`
  // (as wcstol reads it; text after the digits is ignored); the default when
  // the value is missing, holds no number, or does not fit 32 bits.
  std::int32_t GetInt(const std::wstring& key, std::int32_t default_value, int base);

  // The keys of the current section that begin with `prefix` (exact case)
  // and have a non-empty value, in key order.
  std::vector<std::wstring> GetKeys(const std::wstring& prefix);

  // Every section with a name and at least one key (only the one named
  // `filter` exactly, when given) as "[name]\n", then "key=value\n" for each
  // non-empty value, then "\n".
  std::wstring Serialize(const std::wstring& filter = L"") const;

  // The names of the sections in order of creation.
  std::vector<std::wstring> SectionNames() const;

 private:
  struct Section {
    std::wstring name;
    std::map<std::wstring, std::wstring> values;
  };

  Section* FindSection(const std::wstring& name);
  Section& FindOrAppendSection(const std::wstring& name);
  Result ParseLine(const std::wstring& line);

  std::wstring current_section_ = L"Setting";
  std::vector<Section> sections_;
};

}  // namespace kelvane::framework
