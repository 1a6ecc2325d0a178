// The decipher step of the settings resource on any bytes, with the
// program's own key; whatever it accepts is no larger than what came in.
#include <cstdlib>
#include <vector>

#include "framework/settings_cipher.h"
#include "framework/settings_key.h"
#include "framework/text_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kelvane::framework;
  static const SettingsCipherKey key = [] {
    SettingsCipherKey k{};
    const SettingsKeyBytes bytes = BuildSettingsKeyBytes();
    SetUpSettingsKey(bytes, k);
    return k;
  }();
  std::vector<std::uint8_t> bytes(data, data + size);
  if (DecipherSettings(key, bytes).IsSuccess()) {
    if (bytes.size() + 32 > size) {
      std::abort();
    }
    std::wstring text;
    DecodeTextBytes(bytes, text);
  }
  return 0;
}
