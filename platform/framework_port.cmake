# The concerns the front end's framework takes from the system: kernel
# handles, environment, code pages, system message texts, the program's own
# file and long paths, file attributes and reading, resources of a program
# file, processes and named mutexes. Target kelvane_platform_framework.
add_library(kelvane_platform_framework STATIC
  ${CMAKE_CURRENT_LIST_DIR}/framework_port_slots.cpp
  ${CMAKE_CURRENT_LIST_DIR}/linux/code_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/linux/command_line.cpp
  ${CMAKE_CURRENT_LIST_DIR}/linux/environment.cpp
  ${CMAKE_CURRENT_LIST_DIR}/linux/file_access.cpp
  ${CMAKE_CURRENT_LIST_DIR}/linux/handle_table.cpp
  ${CMAKE_CURRENT_LIST_DIR}/linux/module_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/linux/named_mutex.cpp
  ${CMAKE_CURRENT_LIST_DIR}/linux/native_path.cpp
  ${CMAKE_CURRENT_LIST_DIR}/linux/process.cpp
  ${CMAKE_CURRENT_LIST_DIR}/linux/resource_table.cpp
  ${CMAKE_CURRENT_LIST_DIR}/linux/resources.cpp
  ${CMAKE_CURRENT_LIST_DIR}/linux/system_message.cpp
  ${CMAKE_CURRENT_LIST_DIR}/linux/utf8.cpp
)
target_include_directories(kelvane_platform_framework PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(kelvane_platform_framework PUBLIC Threads::Threads ${CMAKE_DL_LIBS})
kelvane_warnings(kelvane_platform_framework)
