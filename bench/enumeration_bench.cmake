# Kat_ListTokens with 1, 4 and 16 drives through the kelvane-vdrive server.
kelvane_add_bench(enumeration_bench
  SOURCES enumeration_bench.cpp
  LIBS kelvane_sdk_writer kelvane_test_support)
add_dependencies(enumeration_bench kelvane-vdrive)
