// The updater dialog over a fake view and a scripted SDK, with a program
// folder that holds a stand-in writer.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "frontend/updater_dialog.h"
#include "tests/frontend/fake_device_sdk.h"
#include "tests/frontend/fake_view.h"
#include "tests/frontend/program_folder.h"
#include "tests/support/fake_runtime.h"

namespace kelvane::testing {

// The found-device report for CD-ROM E: and removable disk F:, as the log
// box holds it.
inline const std::string kFoundReport =
    "\r\nアップデート対象のデバイスが見つかりました\r\nCD\t\t: e ドライブ\r\nリムーバブル\t: f "
    "ドライブ\r\n";

class DialogTest : public ::testing::Test {
 protected:
  DialogTest() { folder.PlaceWriter("exit 0"); }

  frontend::DeviceAccess Access() { return frontend::DeviceAccess{sdk, 2000, {}}; }

  // Runs the dialog: the start-up search, then `script` as the user.
  void Run(std::function<void(FakeView&)> script = {}) {
    view.script = std::move(script);
    frontend::UpdaterDialog dialog(view, Access());
    dialog.DoModal();
  }

  FakeRuntime runtime;
  FakeDeviceSdk sdk;
  ProgramFolder folder;
  FakeView view;
};

}  // namespace kelvane::testing
