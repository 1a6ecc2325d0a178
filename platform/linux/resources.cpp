#include "platform/linux/resources.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>

#include "platform/linux/handle_table.h"
#include "platform/linux/native_path.h"
#include "platform/linux/resource_table.h"
#include "platform/win_error.h"

namespace kelvane::platform::linux_backend {

namespace {

constexpr std::uint32_t kModuleNotFound = 126;
constexpr std::uint32_t kBadExeFormat = 193;
constexpr std::uint32_t kNoResources = 1812;
constexpr std::uint32_t kTypeNotFound = 1813;
constexpr std::uint32_t kNameNotFound = 1814;
constexpr std::uint32_t kLanguageNotFound = 1815;

class ModuleObject final : public KernelObject {
 public:
  explicit ModuleObject(ResourceTable table) : table_(std::move(table)) {}
  const ResourceTable& table() const { return table_; }
  const ResourceEntry* Entry(NativeHandle resource) const {
    return resource >= 1 && resource <= table_.entries.size() ? &table_.entries[resource - 1]
                                                              : nullptr;
  }

 private:
  ResourceTable table_;
};

std::shared_ptr<ModuleObject> FindModule(NativeHandle module) {
  return HandleTable::Instance().FindAs<ModuleObject>(module);
}

std::u16string ToUnits(const std::wstring& text) {
  std::u16string units;
  for (wchar_t c : text) {
    units.push_back(static_cast<char16_t>(c));
  }
  return UpperResourceText(units);
}

// "#<decimal>" names a numeric id.
std::optional<std::uint16_t> NumericName(const std::wstring& name) {
  if (name.size() < 2 || name.front() != L'#' || name.size() > 6) {
    return std::nullopt;
  }
  std::uint32_t value = 0;
  for (std::size_t i = 1; i < name.size(); ++i) {
    if (name[i] < L'0' || name[i] > L'9') {
      return std::nullopt;
    }
    value = value * 10 + static_cast<std::uint32_t>(name[i] - L'0');
  }
  if (value > 0xFFFF) {
    return std::nullopt;
  }
  return static_cast<std::uint16_t>(value);
}

}  // namespace

HandleAnswer LinuxResources::LoadModule(const std::wstring& path) {
  const std::string native = NativePath(path);
  std::ifstream file(native, std::ios::binary);
  if (!file) {
    std::error_code error;
    const bool exists = std::filesystem::exists(native, error);
    return {kNullHandle, exists ? win::kAccessDenied : kModuleNotFound};
  }
  std::array<char, 4> magic{};
  if (!file.read(magic.data(), magic.size()) ||
      magic != std::array<char, 4>{'\x7f', 'E', 'L', 'F'}) {
    return {kNullHandle, kBadExeFormat};
  }
  std::optional<ResourceTable> table = ReadResourceTable(native);
  if (!table) {
    return {kNullHandle, win::kAccessDenied};
  }
  return {HandleTable::Instance().Add(std::make_shared<ModuleObject>(std::move(*table))), 0};
}

void LinuxResources::FreeModule(NativeHandle module) {
  if (FindModule(module) != nullptr) {
    HandleTable::Instance().Remove(module);
  }
}

std::uint32_t LinuxResources::EnumerateTypes(
    NativeHandle module, const std::function<bool(const std::wstring&)>& visit) {
  const std::shared_ptr<ModuleObject> object = FindModule(module);
  if (object == nullptr) {
    return win::kInvalidHandle;
  }
  if (!object->table().present) {
    return kNoResources;
  }
  std::set<std::u16string> seen;
  for (const ResourceEntry& entry : object->table().entries) {
    if (seen.insert(entry.type).second &&
        !visit(std::wstring(entry.type.begin(), entry.type.end()))) {
      break;
    }
  }
  return 0;
}

HandleAnswer LinuxResources::FindResource(NativeHandle module, const std::wstring& type,
                                          const std::wstring& name, std::uint16_t language) {
  const std::shared_ptr<ModuleObject> object = FindModule(module);
  if (object == nullptr) {
    return {kNullHandle, win::kInvalidHandle};
  }
  const ResourceTable& table = object->table();
  if (!table.present) {
    return {kNullHandle, kNoResources};
  }
  const std::u16string wanted_type = ToUnits(type);
  const std::optional<std::uint16_t> id = NumericName(name);
  const std::u16string wanted_name = ToUnits(name);
  bool type_found = false;
  bool name_found = false;
  NativeHandle first_of_name = kNullHandle;
  for (std::size_t i = 0; i < table.entries.size(); ++i) {
    const ResourceEntry& entry = table.entries[i];
    if (entry.type != wanted_type) {
      continue;
    }
    type_found = true;
    const bool same_name = id ? (entry.numeric_name && entry.id == *id)
                              : (!entry.numeric_name && entry.name == wanted_name);
    if (!same_name) {
      continue;
    }
    name_found = true;
    if (first_of_name == kNullHandle) {
      first_of_name = i + 1;
    }
    if (entry.language == language) {
      return {i + 1, 0};
    }
  }
  if (name_found && language == kLanguageNeutral) {
    return {first_of_name, 0};
  }
  return {kNullHandle,
          name_found ? kLanguageNotFound : (type_found ? kNameNotFound : kTypeNotFound)};
}

HandleAnswer LinuxResources::LoadResource(NativeHandle module, NativeHandle resource) {
  const std::shared_ptr<ModuleObject> object = FindModule(module);
  if (object == nullptr || object->Entry(resource) == nullptr) {
    return {kNullHandle, win::kInvalidHandle};
  }
  return {resource, 0};
}

ValueAnswer LinuxResources::SizeOfResource(NativeHandle module, NativeHandle resource) {
  const std::shared_ptr<ModuleObject> object = FindModule(module);
  const ResourceEntry* entry = object == nullptr ? nullptr : object->Entry(resource);
  if (entry == nullptr) {
    return {0, win::kInvalidHandle};
  }
  return {static_cast<std::uint32_t>(entry->data.size()), 0};
}

BytesAnswer LinuxResources::LockResource(NativeHandle module, NativeHandle loaded) {
  const std::shared_ptr<ModuleObject> object = FindModule(module);
  const ResourceEntry* entry = object == nullptr ? nullptr : object->Entry(loaded);
  if (entry == nullptr) {
    return {{}, win::kInvalidHandle};
  }
  // The bytes live in the module object, which the handle table keeps until
  // the module is freed.
  return {std::span<const std::uint8_t>(entry->data), 0};
}

}  // namespace kelvane::platform::linux_backend
