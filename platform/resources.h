// Resources of a program file, read without running it (LoadLibraryW as a
// resource module, EnumResourceTypesW, FindResourceExW, LoadResource,
// SizeofResource, LockResource, FreeLibrary).
//
// On Linux a program file carries its resources in a resource table appended
// to the file (platform/linux/resource_table.h); a program file without one
// is a module without resources.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "platform/kernel_objects.h"
#include "platform/port_slot.h"

namespace kelvane::platform {

// The neutral language.
inline constexpr std::uint16_t kLanguageNeutral = 0;

struct BytesAnswer {
  // Valid until the module is freed.
  std::span<const std::uint8_t> bytes;
  std::uint32_t error = 0;
};

class ResourcePort {
 public:
  virtual ~ResourcePort() = default;

  // Loads a program file as a resource module: the module handle, or null
  // with 126 (missing file), 5 (unreadable) or 193 (not a program file).
  // Each load must be matched by FreeModule.
  virtual HandleAnswer LoadModule(const std::wstring& path) = 0;
  virtual void FreeModule(NativeHandle module) = 0;

  // Calls `visit` with each resource type of the module while it returns
  // true. Returns 0, or 1812 when the module has no resource table.
  virtual std::uint32_t EnumerateTypes(NativeHandle module,
                                       const std::function<bool(const std::wstring&)>& visit) = 0;

  // Finds a resource by type and name. Names of the form "#<decimal>" are
  // numeric names; other names and types match without regard to case. The
  // neutral language takes the first resource of that type and name when
  // none is marked neutral. Null with 1812, 1813 (type), 1814 (name) or 1815
  // (language) when missing.
  virtual HandleAnswer FindResource(NativeHandle module, const std::wstring& type,
                                    const std::wstring& name, std::uint16_t language) = 0;

  // The loaded resource of a found one (null with 6 for a bad handle).
  virtual HandleAnswer LoadResource(NativeHandle module, NativeHandle resource) = 0;

  // The size of a found resource in bytes (0 with 6 for a bad handle).
  virtual ValueAnswer SizeOfResource(NativeHandle module, NativeHandle resource) = 0;

  // The bytes of a loaded resource (empty with 6 for a bad handle).
  virtual BytesAnswer LockResource(NativeHandle module, NativeHandle loaded) = 0;
};

PortSlot<ResourcePort>& ResourceSlot();
ResourcePort& Resources();

}  // namespace kelvane::platform
