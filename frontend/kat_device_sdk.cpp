#include "frontend/kat_device_sdk.h"

namespace kelvane::frontend {

namespace {

class KatDeviceSdk final : public DeviceSdk {
 public:
  std::int32_t InitApi(std::uint32_t* version) override { return Kat_InitAPI(version); }
  std::int32_t CloseApi() override { return Kat_CloseAPI(); }
  std::int32_t ForceHidMode(std::uint8_t force) override { return Kat_ForceHIDmode(force); }
  std::int32_t ListTokens(KatTokenRecord* tokens, std::uint32_t* count,
                          const std::uint32_t* vendors, const std::uint32_t* products,
                          std::uint32_t pairs) override {
    return Kat_ListTokens(tokens, count, vendors, products, pairs);
  }
  std::int32_t GetDeviceInfo(std::uint32_t selector, KatDeviceInfoRecord* info) override {
    return Kat_GetDeviceInfo(selector, info);
  }
};

}  // namespace

DeviceSdk& LinkedDeviceSdk() {
  static KatDeviceSdk sdk;
  return sdk;
}

}  // namespace kelvane::frontend
