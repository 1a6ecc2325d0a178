// The device SDK operations the front end calls, behind an interface so that
// a search can run over the SDK linked into the program or over a stand-in.
#pragma once

#include <cstdint>

#include "sdk/kat_api.h"

namespace kelvane::frontend {

// Each method is the SDK operation of the same name with the same contract
// (sdk/kat_api.h); every one returns an SDK return code.
class DeviceSdk {
 public:
  virtual ~DeviceSdk() = default;

  virtual std::int32_t InitApi(std::uint32_t* version) = 0;
  virtual std::int32_t CloseApi() = 0;
  virtual std::int32_t ForceHidMode(std::uint8_t force) = 0;
  virtual std::int32_t ListTokens(KatTokenRecord* tokens, std::uint32_t* count,
                                  const std::uint32_t* vendors, const std::uint32_t* products,
                                  std::uint32_t pairs) = 0;
  virtual std::int32_t GetDeviceInfo(std::uint32_t selector, KatDeviceInfoRecord* info) = 0;
};

}  // namespace kelvane::frontend
