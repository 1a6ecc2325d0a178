#include "framework/environment_text.h"

#include "platform/environment.h"

namespace kelvane::framework {

std::wstring GetEnvironmentText(const std::wstring& name) {
  std::optional<std::wstring> value = platform::Environment().Read(name);
  if (!value) {
    return {};
  }
  // The text ends at its first NUL, as a value read into a buffer does.
  const std::size_t end = value->find(L'\0');
  if (end != std::wstring::npos) {
    value->resize(end);
  }
  return std::move(*value);
}

}  // namespace kelvane::framework
