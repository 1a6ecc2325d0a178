kelvane_add_bench(secure_login_bench
  SOURCES secure_login_bench.cpp
  LIBS kelvane_sdk_writer kelvane_test_support)
