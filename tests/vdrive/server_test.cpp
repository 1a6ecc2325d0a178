// The kelvane-vdrive program: started on a temporary socket, reached through
// the SDK's virtual backend, stopped by SIGTERM.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/virtual/socket_channel.h"
#include "platform/virtual/virtual_drives.h"
#include "sdk/access/info_blocks.h"
#include "sdk/access/standard_commands.h"
#include "tests/support/server_process.h"

namespace kelvane::testing {
namespace {

std::string ExchangeRaw(const std::string& socket_path, const std::string& lines, int responses) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, socket_path.c_str(), sizeof(address.sun_path) - 1);
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) return "";
  ::send(fd, lines.data(), lines.size(), MSG_NOSIGNAL);
  std::string got;
  char chunk[4096];
  while (std::count(got.begin(), got.end(), '\n') < responses) {
    const ssize_t n = ::recv(fd, chunk, sizeof(chunk), 0);
    if (n <= 0) break;
    got.append(chunk, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return got;
}

TEST(VdriveServerTest, ServesTheSdkAndStopsCleanly) {
  ServerProcess server;
  ASSERT_TRUE(server.ready()) << "kelvane-vdrive did not start";
  platform::SocketChannel channel(server.socket_path());
  platform::VirtualDrives drives(channel);
  platform::ScopedPortOverride<platform::DrivePort> use(platform::DriveSlot(), drives);

  const auto letters = drives.ListDrives();
  ASSERT_EQ(letters.size(), 3u);
  EXPECT_EQ(letters[1].letter, 'E');
  EXPECT_EQ(letters[1].type, platform::DriveType::kCdRom);

  sdk::access::DeviceContext context;
  context.BindLetter('E');
  std::uint8_t inquiry[44] = {};
  ASSERT_EQ(sdk::access::Inquiry(context, inquiry), 0);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(inquiry + 36), 8), "PMAP1234");
  std::uint8_t block[528] = {};
  ASSERT_EQ(sdk::access::ReadInfoBlock(context, sdk::access::kTagInfo, block), 0);
  EXPECT_EQ(block[172], 21);

  EXPECT_EQ(server.Stop(), 0);
  EXPECT_FALSE(std::filesystem::exists(server.socket_path())) << "the socket is removed";
  EXPECT_EQ(sdk::access::ReadInfoBlock(context, sdk::access::kTagInfo, block), 2)
      << "a server that is gone opens no drive";
}

TEST(VdriveServerTest, MalformedLineGetsErrorAndTheConnectionGoesOn) {
  ServerProcess server;
  ASSERT_TRUE(server.ready());
  const std::string answer =
      ExchangeRaw(server.socket_path(), "{\"op\":\nnot json\n{\"op\":\"hello\",\"version\":1}\n", 3);
  EXPECT_EQ(answer,
            "{\"error\":87,\"ok\":false}\n{\"error\":87,\"ok\":false}\n{\"ok\":true,\"version\":1}\n");
}

TEST(VdriveServerTest, ServesSeveralClientsInRequestOrder) {
  ServerProcess server;
  ASSERT_TRUE(server.ready());
  platform::SocketChannel first(server.socket_path());
  platform::SocketChannel second(server.socket_path());
  platform::VirtualDrives a(first);
  platform::VirtualDrives b(second);
  a.Call({{"op", "inject_fault"}, {"kind", "vanish"}, {"prefix", "12"}});
  platform::ScsiRequest request;
  std::uint8_t cdb[12] = {0x12, 0, 0, 0, 44};
  std::uint8_t data[44];
  request.letter = 'E';
  request.cdb = cdb;
  request.direction = platform::DataDirection::kIn;
  request.buffer = data;
  EXPECT_EQ(b.ScsiPassThrough(request).error, 1167u) << "b sees a's fault";
  EXPECT_EQ(a.ListDrives().size(), 1u) << "a sees b's command";
}

TEST(VdriveServerTest, RefusesABadProfileFile) {
  const std::string path = std::filesystem::temp_directory_path() / "kelvane-bad-profile.json";
  std::ofstream(path) << R"({"drives":[{"units":[{"letter":"E"},{"letter":"E"}]}]})";
  ServerProcess server(path);
  EXPECT_FALSE(server.ready());
  std::filesystem::remove(path);
}

}  // namespace
}  // namespace kelvane::testing
