# The crypto adapter: AES, SHA-256 and raw RSA arithmetic over libgcrypt.
add_library(kelvane_crypto STATIC
  ${CMAKE_CURRENT_LIST_DIR}/crypto_gcrypt.cpp
)
target_include_directories(kelvane_crypto PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(kelvane_crypto PUBLIC PkgConfig::GCRYPT PRIVATE kelvane_platform)
kelvane_warnings(kelvane_crypto)
