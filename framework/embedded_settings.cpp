#include "framework/embedded_settings.h"

#include "framework/file_path.h"
#include "framework/resource_reader.h"
#include "framework/settings_key.h"
#include "platform/secure_wipe.h"

namespace kelvane::framework {

namespace {

constexpr wchar_t kInvalidText[] = L"INVALID";

struct EmbeddedSettingsState {
  SettingsStore store;
  bool load_needed = true;
  std::wstring cached_module;
  std::wstring cached_text;
  bool cache_valid = false;
};

// Process-wide, destroyed at exit; used from the one GUI thread only.
EmbeddedSettingsState& State() {
  static EmbeddedSettingsState state;
  return state;
}

}  // namespace

std::wstring LoadEmbeddedSettingsText() {
  EmbeddedSettingsState& state = State();
  std::wstring module;
  GetModuleFilePath(nullptr, module);
  if (state.cache_valid && state.cached_module == module) {
    if (state.cached_text == kInvalidText) {
      return {};
    }
    if (!state.cached_text.empty()) {
      return state.cached_text;
    }
  }
  state.cached_module = module;

  SettingsKeyBytes key = BuildSettingsKeyBytes();
  std::wstring text;
  {
    ResourceReader reader(kSettingsResourceType, key, false);
    if (reader.Open(L"").IsSuccess()) {
      text = reader.ReadText(kSettingsResourceId);
    }
  }
  platform::SecureWipeObject(key);
  if (text.empty()) {
    text = kInvalidText;
  }
  state.cached_text = text;
  state.cache_valid = true;
  return text;
}

SettingsStore LoadEmbeddedSettings() {
  EmbeddedSettingsState& state = State();
  static const bool reset_once = [&state] {
    state.store.Reset();
    return true;
  }();
  (void)reset_once;
  if (state.load_needed) {
    state.store.Parse(LoadEmbeddedSettingsText());
    state.load_needed = false;
  }
  SettingsStore copy;
  copy.Parse(state.store.Serialize());
  return copy;
}

}  // namespace kelvane::framework
