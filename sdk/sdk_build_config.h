// The two builds of the SDK differ only here, set by the build system:
// the writer's build (128 records, three listing passes, 0x20151020) and the
// front end's build (32 records, one pass, 0x20171018).
#pragma once

#include <cstdint>

#ifndef KAT_DEVICE_LIST_CAPACITY
#error "KAT_DEVICE_LIST_CAPACITY must be set by the build"
#endif
#ifndef KAT_LISTING_PASSES
#error "KAT_LISTING_PASSES must be set by the build"
#endif
#ifndef KAT_VERSION_CODE
#error "KAT_VERSION_CODE must be set by the build"
#endif

namespace kelvane::sdk {

inline constexpr std::uint32_t kDeviceListCapacity = KAT_DEVICE_LIST_CAPACITY;
inline constexpr int kListingPasses = KAT_LISTING_PASSES;
inline constexpr std::uint32_t kVersionCode = KAT_VERSION_CODE;

}  // namespace kelvane::sdk
