# Drive discovery, token enumeration, identification and the
# device-information query.
list(APPEND KELVANE_SDK_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/mode_table.cpp
  ${CMAKE_CURRENT_LIST_DIR}/device_lookup.cpp
  ${CMAKE_CURRENT_LIST_DIR}/list_tokens.cpp
  ${CMAKE_CURRENT_LIST_DIR}/device_info.cpp
  ${CMAKE_CURRENT_LIST_DIR}/access/serial_identifier.cpp
  ${CMAKE_CURRENT_LIST_DIR}/access/candidate_filter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/access/signature_gate.cpp
  ${CMAKE_CURRENT_LIST_DIR}/access/storage_units.cpp
  ${CMAKE_CURRENT_LIST_DIR}/access/scsi_discovery.cpp
  ${CMAKE_CURRENT_LIST_DIR}/access/hid_discovery.cpp
  ${CMAKE_CURRENT_LIST_DIR}/access/device_identification.cpp
  ${CMAKE_CURRENT_LIST_DIR}/access/device_strings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/access/vendor_reads.cpp
)
