#include "framework/settings_store.h"

#include <cerrno>
#include <cwchar>
#include <limits>

#include "framework/text_conversion.h"
#include "platform/code_page.h"

namespace kelvane::framework {

namespace {

wchar_t FoldAscii(wchar_t c) {
  return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

// Equal length and equal characters ignoring ASCII case.
bool SameIgnoringCase(const std::wstring& a, const std::wstring& b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldAscii(a[i]) != FoldAscii(b[i])) {
      return false;
    }
  }
  return true;
}

template <typename Map>
auto FindKey(Map& values, const std::wstring& key) {
  for (auto entry = values.begin(); entry != values.end(); ++entry) {
    if (SameIgnoringCase(entry->first, key)) {
      return entry;
    }
  }
  return values.end();
}

}  // namespace

void SettingsStore::Reset() {
  current_section_ = L"Setting";
  sections_.clear();
}

SettingsStore::Section* SettingsStore::FindSection(const std::wstring& name) {
  for (Section& section : sections_) {
    if (SameIgnoringCase(section.name, name)) {
      return &section;
    }
  }
  return nullptr;
}

SettingsStore::Section& SettingsStore::FindOrAppendSection(const std::wstring& name) {
  if (Section* found = FindSection(name)) {
    return *found;
  }
  sections_.push_back(Section{name, {}});
  return sections_.back();
}

Result SettingsStore::ParseLine(const std::wstring& line) {
  if (line.empty() || line.front() == L';') {
    return Result(tq::SyntaxError);
  }
  if (line.front() == L'[') {
    const std::size_t close = line.find(L']');
    if (close != std::wstring::npos) {
      current_section_ = line.substr(1, close - 1);
      return Result();
    }
  }
  const std::size_t equals = line.find(L'=');
  if (equals == std::wstring::npos || (current_section_.empty() && sections_.empty())) {
    return Result(tq::InvalidFormat);
  }
  std::wstring key = line.substr(0, equals);
  std::wstring value = line.substr(equals + 1);
  Section& section = FindOrAppendSection(current_section_);
  const auto existing = FindKey(section.values, key);
  if (existing != section.values.end()) {
    existing->second = std::move(value);
  } else {
    section.values.emplace(std::move(key), std::move(value));
  }
  return Result();
}

Result SettingsStore::Parse(const std::wstring& text) {
  Reset();
  const std::wstring remembered = current_section_;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = text.find_first_of(L"\r\n", start);
    const std::wstring line =
        text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
    ParseLine(line);  // the outcome of a single line does not matter
    if (end == std::wstring::npos) {
      break;
    }
    start = end + 1;
  }
  current_section_ = remembered;
  return Result();
}

std::wstring SettingsStore::Get(const std::wstring& key, const std::wstring& default_value,
                                const std::wstring& section) {
  Section& found = FindOrAppendSection(section.empty() ? current_section_ : section);
  const auto entry = FindKey(found.values, key);
  if (entry != found.values.end() && !entry->second.empty()) {
    return entry->second;
  }
  return default_value;
}

std::string SettingsStore::GetText(const std::wstring& key, const std::wstring& default_value,
                                   const std::wstring& section) {
  StrictNarrowText narrow =
      WideToNarrowStrict(Get(key, default_value, section), platform::kAnsiCodePage, 0);
  if (narrow.code != Success) {
    return {};
  }
  return std::move(narrow.text);
}

std::int32_t SettingsStore::GetInt(const std::wstring& key, std::int32_t default_value, int base) {
  const std::wstring value = Get(key, L"");
  if (value.empty()) {
    return default_value;
  }
  wchar_t* end = nullptr;
  errno = 0;
  const long long number = std::wcstoll(value.c_str(), &end, base);
  if (errno != 0 || end == value.c_str() || number < std::numeric_limits<std::int32_t>::min() ||
      number > std::numeric_limits<std::int32_t>::max()) {
    return default_value;
  }
  return static_cast<std::int32_t>(number);
}

std::vector<std::wstring> SettingsStore::GetKeys(const std::wstring& prefix) {
  const Section& section = FindOrAppendSection(current_section_);
  std::vector<std::wstring> keys;
  for (const auto& [key, value] : section.values) {
    if (!value.empty() && key.size() >= prefix.size() &&
        key.compare(0, prefix.size(), prefix) == 0) {
      keys.push_back(key);
    }
  }
  return keys;
}

std::wstring SettingsStore::Serialize(const std::wstring& filter) const {
  std::wstring text;
  for (const Section& section : sections_) {
    if (section.name.empty() || section.values.empty() ||
        (!filter.empty() && section.name != filter)) {
      continue;
    }
    text += L"[" + section.name + L"]\n";
    for (const auto& [key, value] : section.values) {
      if (!value.empty()) {
        text += key + L"=" + value + L"\n";
      }
    }
    text += L"\n";
  }
  return text;
}

std::vector<std::wstring> SettingsStore::SectionNames() const {
  std::vector<std::wstring> names;
  for (const Section& section : sections_) {
    names.push_back(section.name);
  }
  return names;
}

}  // namespace kelvane::framework
