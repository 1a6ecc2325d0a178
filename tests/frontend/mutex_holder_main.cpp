// A helper process for the tests: owns the device mutex until told to let
// go.
//
//   frontend_mutex_holder <held-file> <release-file>
//
// Creates <held-file> once it owns the mutex, then holds it until
// <release-file> exists (at most 60 seconds) and ends with 0. Ends with 1
// when it cannot own the mutex.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "framework/named_mutex.h"

int main(int argc, char** argv) {
  using namespace kelvane;
  if (argc != 3) {
    return 2;
  }
  framework::NamedMutex handle;
  framework::NamedMutex owner;
  if (!handle.CreateOpenToAll(framework::kDeviceMutexName, false).IsSuccess() ||
      !owner.OpenAndLock(framework::kDeviceMutexName, 30000, false).IsSuccess()) {
    return 1;
  }
  std::ofstream(argv[1]) << "held\n";
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (!std::filesystem::exists(argv[2]) && std::chrono::steady_clock::now() < give_up) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return 0;
}
