// UpdaterDialog: the logic of the updater's one modal dialog (template 103),
// independent of the toolkit that shows it.
//
// The dialog is idle or busy. Each button handler makes it busy from the
// construction of its ControlDisabler to its release: every enabled control
// is disabled, pending events are delivered once (so clicks already queued
// reach disabled controls and are lost), and the work then runs on the GUI
// thread without pumping events.
#pragma once

#include <string>

#include "framework/result.h"
#include "frontend/device_access.h"
#include "frontend/dialog_view.h"

namespace kelvane::frontend {

class UpdaterDialog final : public DialogCommands {
 public:
  // `view` must outlive the dialog. The log text starts empty.
  UpdaterDialog(DialogView& view, DeviceAccess access);

  // Runs the dialog modally; returns the view's end code.
  int DoModal();

  // Sets the icons, then runs the start-up search (its Result dropped),
  // outside the busy state, before the dialog is first shown.
  void OnInitDialog() override;
  // The command map: 1001 to OnUpdateButton, 1000 to OnSearchButton; other
  // commands are not handled here.
  void OnCommand(int control_id) override;

  // Button "デバイス検索": one search in the busy state; its Result is dropped
  // (the report is in the log box).
  void OnSearchButton();

  // Button "アップデート実行": in the busy state, the search as a gate, then the
  // writer, and the outcome in the log box and a message box.
  void OnUpdateButton();

  // Delivers the pending events once; a quit request met on the way is
  // posted again, so that it ends the dialog after the current operation.
  void PumpPendingMessages();

  // Shows `text` in the log box, every "\n" turned into "\r\n"; whatever the
  // user typed there is replaced.
  void SetLogText(const std::string& text);

  // The message box with the OK button, caption "Kelvane" and the
  // exclamation icon.
  void MessageBox(const std::string& text);

  // Exchanges the log text with the log box: from the control into the
  // member (`save`), or back.
  void DoDataExchange(bool save);

  const std::string& LogText() const { return log_text_; }
  const DeviceAccess& Access() const { return access_; }
  DialogView& View() { return view_; }

 private:
  DialogView& view_;
  DeviceAccess access_;
  std::string log_text_;
};

}  // namespace kelvane::frontend
