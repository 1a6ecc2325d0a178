# The secure mechanism of the device access layer.
#
# The host key table and the built-in passwords do not depend on the SDK
# build, so they form one library, kelvane_sdk_secrets, that both SDK builds
# link and that the virtual drive uses for its default area passwords. The
# rest joins the SDK sources.

add_library(kelvane_sdk_secrets STATIC
  ${CMAKE_CURRENT_LIST_DIR}/builtin_passwords.cpp
  ${CMAKE_CURRENT_LIST_DIR}/builtin_password_pieces.cpp
  ${CMAKE_CURRENT_LIST_DIR}/host_table_key.cpp
  ${CMAKE_CURRENT_LIST_DIR}/host_key_table.cpp
  ${CMAKE_CURRENT_LIST_DIR}/host_key_set.cpp
)
target_include_directories(kelvane_sdk_secrets PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(kelvane_sdk_secrets PUBLIC kelvane_platform kelvane_crypto)
kelvane_warnings(kelvane_sdk_secrets)

list(APPEND KELVANE_SDK_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/secure_command.cpp
  ${CMAKE_CURRENT_LIST_DIR}/key_exchange_commands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bounding_rule.cpp
  ${CMAKE_CURRENT_LIST_DIR}/session_key_exchange.cpp
  ${CMAKE_CURRENT_LIST_DIR}/secure_commands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/secure_area.cpp
  ${CMAKE_CURRENT_LIST_DIR}/configured_password.cpp
)
