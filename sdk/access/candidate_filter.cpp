#include "sdk/access/candidate_filter.h"

#include <algorithm>
#include <array>

#include "platform/secure_wipe.h"
#include "sdk/access/info_blocks.h"

namespace kelvane::sdk::access {

namespace {

bool Contains(std::span<const std::uint32_t> list, std::uint32_t value) {
  return std::find(list.begin(), list.end(), value) != list.end();
}

std::uint32_t BigEndian16(const std::uint8_t* bytes) {
  return (std::uint32_t{bytes[0]} << 8) | bytes[1];
}
std::uint32_t LittleEndian16(const std::uint8_t* bytes) {
  return (std::uint32_t{bytes[1]} << 8) | bytes[0];
}

bool PairMatches(const CandidateFilter& filter, const std::uint8_t* identification,
                 PairCompare compare) {
  const std::uint32_t vendor = LittleEndian16(identification + 8);
  const std::uint32_t product = LittleEndian16(identification + 10);
  const std::size_t pairs = std::min(filter.vendors.size(), filter.products.size());
  const std::uint32_t mask = compare == PairCompare::kLow16 ? 0xFFFFu : 0xFFFFFFFFu;
  for (std::size_t i = 0; i < pairs; ++i) {
    if ((filter.vendors[i] & mask) == vendor && (filter.products[i] & mask) == product) return true;
  }
  return false;
}

}  // namespace

bool PassesFilter(const CandidateFilter& filter, const std::uint8_t* info,
                  const std::uint8_t* identification, PairCompare pairs) {
  if (filter.NeedsIdentification() && identification == nullptr) return false;
  if (filter.NeedsInfo() && info == nullptr) return false;
  if (!filter.chip_codes.empty() && !Contains(filter.chip_codes, BigEndian16(identification + 382)))
    return false;
  if (!filter.firmware_codes.empty() &&
      !Contains(filter.firmware_codes, BigEndian16(identification + 154))) {
    return false;
  }
  if (!filter.modes.empty() && !Contains(filter.modes, info[172])) return false;
  if (!filter.vendors.empty() && !PairMatches(filter, identification, pairs)) return false;
  return true;
}

int MatchCandidate(const DeviceContext& context, const CandidateFilter& filter, bool& match) {
  match = false;
  std::array<std::uint8_t, kInfoBlockSize> identification{};
  std::array<std::uint8_t, kInfoBlockSize> info{};
  int result = 0;
  if (filter.NeedsIdentification() && ReadInfoBlock(context, nullptr, identification.data()) != 0)
    result = 1;
  if (result == 0 && filter.NeedsInfo() && ReadInfoBlock(context, kTagInfo, info.data()) != 0)
    result = 1;
  if (result == 0)
    match = PassesFilter(filter, info.data(), identification.data(), PairCompare::kLow16);
  platform::SecureWipe(identification.data(), identification.size());
  platform::SecureWipe(info.data(), info.size());
  return result;
}

}  // namespace kelvane::sdk::access
