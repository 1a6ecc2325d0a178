// What a device search needs from its surroundings.
#pragma once

#include <cstdint>
#include <functional>

#include "framework/named_mutex.h"
#include "framework/settings_store.h"
#include "frontend/device_sdk.h"

namespace kelvane::frontend {

struct DeviceAccess {
  // The SDK the searches run over; must outlive them.
  DeviceSdk& sdk;
  // How long each device step waits to own the device mutex.
  std::uint32_t mutex_timeout_ms = framework::kDeviceMutexTimeoutMs;
  // A fresh copy of the program's settings for each search (empty: no
  // settings, so every lookup gives its default).
  std::function<framework::SettingsStore()> load_settings;

  framework::SettingsStore LoadSettings() const {
    return load_settings ? load_settings() : framework::SettingsStore();
  }
};

}  // namespace kelvane::frontend
