// A drive backend over the same virtual PC as the fixture's, whose channel
// keeps every scsi request and its answer, so a test can see the data-in
// bytes the command log leaves out. It can also answer the secure status
// query (FF 02 01) itself with scripted words. Installed for its lifetime,
// on top of the fixture's backend.
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/virtual/hex.h"
#include "platform/virtual/virtual_drives.h"
#include "vdrive/in_process_channel.h"
#include "vdrive/virtual_pc.h"

namespace kelvane::testing {

class RecordingDrives {
 public:
  explicit RecordingDrives(vdrive::VirtualPc& pc)
      : channel_(pc, *this), drives_(channel_), override_(platform::DriveSlot(), drives_) {}

  struct Reply {
    std::vector<std::uint8_t> cdb;
    std::vector<std::uint8_t> data_in;
  };

  // The data-in bytes of the first command whose CDB starts with a, b.
  std::vector<std::uint8_t> DataIn(std::uint8_t a, std::uint8_t b) const {
    for (const Reply& reply : replies) {
      if (reply.cdb.size() >= 2 && reply.cdb[0] == a && reply.cdb[1] == b) return reply.data_in;
    }
    return {};
  }

  std::vector<Reply> replies;
  // When set: the (detail, category) that FF 02 01 answers.
  std::optional<std::pair<std::uint16_t, std::uint16_t>> status_words;

 private:
  class Channel final : public platform::VdriveChannel {
   public:
    Channel(vdrive::VirtualPc& pc, RecordingDrives& owner) : inner_(pc), owner_(owner) {}
    std::optional<std::string> Exchange(const std::string& line) override {
      const nlohmann::json request = nlohmann::json::parse(line, nullptr, false);
      if (!request.is_object() || request.value("op", "") != "scsi") return inner_.Exchange(line);
      const std::vector<std::uint8_t> cdb =
          platform::FromHex(request.value("cdb", "")).value_or(std::vector<std::uint8_t>{});
      if (owner_.status_words && cdb.size() >= 3 && cdb[0] == 0xFF && cdb[1] == 0x02 &&
          cdb[2] == 0x01) {
        std::vector<std::uint8_t> data(512, 0);
        const auto [detail, category] = *owner_.status_words;
        data[0] = static_cast<std::uint8_t>(detail & 0xFF);
        data[1] = static_cast<std::uint8_t>(detail >> 8);
        data[2] = static_cast<std::uint8_t>(category & 0xFF);
        data[3] = static_cast<std::uint8_t>(category >> 8);
        owner_.replies.push_back({cdb, data});
        return nlohmann::json{
            {"ok", true}, {"scsi_status", 0}, {"data", platform::ToHex(data)}, {"sense", ""}}
            .dump();
      }
      std::optional<std::string> answer = inner_.Exchange(line);
      const nlohmann::json parsed = nlohmann::json::parse(answer.value_or(""), nullptr, false);
      std::vector<std::uint8_t> data_in;
      if (parsed.is_object() && parsed.contains("data") && parsed["data"].is_string()) {
        data_in = platform::FromHex(parsed["data"].get<std::string>())
                      .value_or(std::vector<std::uint8_t>{});
      }
      owner_.replies.push_back({cdb, std::move(data_in)});
      return answer;
    }

   private:
    vdrive::InProcessChannel inner_;
    RecordingDrives& owner_;
  };

  Channel channel_;
  platform::VirtualDrives drives_;
  platform::ScopedPortOverride<platform::DrivePort> override_;
};

}  // namespace kelvane::testing
