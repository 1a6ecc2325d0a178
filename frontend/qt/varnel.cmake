# The Qt dialog (kelvane_frontend_qt) and the program varnel.
find_package(Qt6 REQUIRED COMPONENTS Widgets)

add_library(kelvane_frontend_qt STATIC
  ${CMAKE_CURRENT_LIST_DIR}/app_icon.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dialog_font.cpp
  ${CMAKE_CURRENT_LIST_DIR}/qt_dialog_view.cpp
  ${CMAKE_CURRENT_LIST_DIR}/qt_toolkit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/updater_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/updater_window.h
)
set_target_properties(kelvane_frontend_qt PROPERTIES AUTOMOC ON)
target_link_libraries(kelvane_frontend_qt PUBLIC kelvane_frontend Qt6::Widgets)
kelvane_warnings(kelvane_frontend_qt)

add_executable(varnel ${CMAKE_CURRENT_LIST_DIR}/varnel_main.cpp)
target_link_libraries(varnel PRIVATE kelvane_frontend_qt kelvane_frontend_sdk)
kelvane_warnings(varnel)
kelvane_embed_settings(varnel ${KELVANE_VARNEL_SETTINGS})
