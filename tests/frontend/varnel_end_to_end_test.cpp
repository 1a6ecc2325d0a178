// The whole dialog against the virtual drive server with the real writer
// beside it: the window opens with the found-device report, "アップデート実行"
// updates the drive, and "デバイス検索" then finds it updated. The window is
// grabbed to a PNG file at each step (the folder is printed).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QString>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "frontend/kat_device_sdk.h"
#include "frontend/qt/qt_toolkit.h"
#include "frontend/updater_app.h"
#include "platform/module_file.h"
#include "platform/virtual/socket_channel.h"
#include "platform/virtual/virtual_drives.h"
#include "tests/support/server_process.h"

namespace kelvane::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

QString Q(const char* text) {
  return QString::fromUtf8(text);
}

// The running program is reported as varnel in the build's program folder,
// where the writer tolvak lies.
class ProgramInBinDir final : public platform::ModuleFilePort {
 public:
  platform::PathAnswer ModuleFileName(platform::ModuleHandle) override {
    return {(fs::path(BinDir()) / "varnel").wstring(), 0};
  }
  platform::PathAnswer LongPathName(const std::wstring& path) override { return {path, 0}; }
};

fs::path ScreenshotFolder() {
  const char* chosen = std::getenv("KELVANE_SCREENSHOT_DIR");
  fs::path folder = chosen != nullptr && chosen[0] != '\0'
                        ? fs::path(chosen)
                        : fs::path(KELVANE_SCREENSHOT_DEFAULT_DIR);
  fs::create_directories(folder);
  return folder;
}

struct Step {
  QString log;
  std::vector<QString> messages;
  fs::path picture;
};

TEST(VarnelEndToEndTest, SearchUpdateAndSearchAgainAgainstTheVirtualDrive) {
  const fs::path bin(BinDir());
  for (const char* program : {"tolvak", "kelvane-vdrive", "varnel"}) {
    if (!fs::exists(bin / program)) {
      GTEST_SKIP() << program << " is not built in " << bin;
    }
  }
  ServerProcess server((bin / "profiles" / "default.json").string());
  ASSERT_TRUE(server.ready()) << "kelvane-vdrive did not start";
  // The drive backend is chosen once per process; nothing has asked yet.
  ::setenv("KELVANE_VDRIVE", server.socket_path().c_str(), 1);
  ProgramInBinDir program;
  platform::ScopedPortOverride<platform::ModuleFilePort> in_bin(platform::ModuleFileSlot(),
                                                                program);

  const fs::path folder = ScreenshotFolder();
  std::vector<Step> steps;
  std::vector<QString> messages;

  frontend::qt::QtToolkit toolkit([&](frontend::qt::QtDialogView& view) {
    view.SetMessageBoxPresenter(
        [&messages](QWidget*, const QString& text) { messages.push_back(text); });
    frontend::qt::UpdaterWindow* window = &view.Window();
    const auto record = [&steps, &messages, window, folder](const char* name) {
      QCoreApplication::processEvents();
      const fs::path picture = folder / name;
      window->grab().save(QString::fromStdString(picture.string()), "PNG");
      steps.push_back(Step{window->LogBox()->toPlainText(), messages, picture});
      messages.clear();
    };
    QTimer::singleShot(0, window, [window, record] {
      record("varnel-found.png");
      QTest::mouseClick(window->UpdateButton(), Qt::LeftButton);
      record("varnel-updated.png");
      QTest::mouseClick(window->SearchButton(), Qt::LeftButton);
      record("varnel-already-updated.png");
      window->reject();
    });
  });
  frontend::UpdaterApp updater(toolkit,
                               frontend::DeviceAccess{frontend::LinkedDeviceSdk(), 40000, {}});
  EXPECT_FALSE(updater.InitInstance());

  std::cout << "window pictures: " << folder.string() << std::endl;
  ASSERT_EQ(steps.size(), 3u);
  EXPECT_EQ(steps[0].log, Q("\nアップデート対象のデバイスが見つかりました\nCD\t\t: e "
                            "ドライブ\nリムーバブル\t: f ドライブ\n"));
  EXPECT_TRUE(steps[0].messages.empty());
  EXPECT_EQ(steps[1].log, Q("アップデートしました"));
  EXPECT_THAT(steps[1].messages, ElementsAre(Q("アップデートしました")));
  EXPECT_EQ(steps[2].log, Q("\nアップデート済みのデバイスが見つかりました\n"));
  EXPECT_TRUE(steps[2].messages.empty());
  for (const Step& step : steps) {
    EXPECT_TRUE(fs::exists(step.picture)) << step.picture;
    EXPECT_GT(fs::file_size(step.picture), 0u) << step.picture;
  }

  platform::SocketChannel channel(server.socket_path());
  platform::VirtualDrives control(channel);
  const nlohmann::json state = control.Call({{"op", "drive_state"}, {"drive", 0}});
  EXPECT_EQ(state["state"]["firmware_version"], "01.03.10") << state.dump();
}

}  // namespace
}  // namespace kelvane::testing
