// DecodeTextBytes on any bytes, with and without detection; the kinds found
// always start with StrTypeAnsi.
#include <cstdlib>

#include "framework/text_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kelvane::framework;
  const std::span<const std::uint8_t> bytes(data, size);
  std::wstring text;
  Result detection;
  DecodeTextBytes(bytes, text, &detection);
  if (detection.Codes().empty() || detection.Codes().front() != string_type::StrTypeAnsi) {
    std::abort();
  }
  std::wstring again;
  DecodeTextBytes(bytes, again);
  if (again != text) {
    std::abort();
  }
  return 0;
}
