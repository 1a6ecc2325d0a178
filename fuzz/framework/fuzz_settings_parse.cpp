// SettingsStore::Parse on any text, then the lookups and a round trip: once
// written out and parsed back (which drops sections whose values are all
// empty), the text is a fixed point of writing and parsing.
#include <cstdlib>

#include "framework/settings_store.h"
#include "fuzz/framework/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using kelvane::framework::SettingsStore;
  const std::wstring text = kelvane::fuzz::WideFromBytes(data, size);
  SettingsStore store;
  if (!store.Parse(text).IsSuccess()) {
    std::abort();
  }
  SettingsStore copy;
  copy.Parse(store.Serialize());
  const std::wstring written = copy.Serialize();
  SettingsStore second;
  second.Parse(written);
  if (second.Serialize() != written) {
    std::abort();
  }
  store.GetKeys(L"VPFilter");
  store.GetInt(L"MaxOpenRetry", 3, 10);
  store.GetInt(L"IsHid", 0, 16);
  store.GetText(L"Message", L"", L"Text");
  store.Get(L"IsHid", L"0", L"DeviceModel");
  return 0;
}
