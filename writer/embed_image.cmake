# Turns one binary image into a C++ source that defines it as a constant
# array. Run as: cmake -DINPUT=... -DOUTPUT=... -DSYMBOL=... -DSIZE=... -P embed_image.cmake
file(SIZE "${INPUT}" actual_size)
if(NOT actual_size EQUAL SIZE)
  message(FATAL_ERROR "${INPUT} is ${actual_size} bytes; the image must be exactly ${SIZE} bytes. "
                      "Replace it with the right image (see README, Firmware images).")
endif()
file(READ "${INPUT}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
file(WRITE "${OUTPUT}.tmp"
  "// Generated from ${INPUT} at build time. Do not edit.\n"
  "#include <cstdint>\n\n"
  "namespace kelvane::writer {\n"
  "extern const std::uint8_t ${SYMBOL}[${SIZE}];\n"
  "alignas(16) const std::uint8_t ${SYMBOL}[${SIZE}] = {\n${bytes}};\n"
  "}  // namespace kelvane::writer\n")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
