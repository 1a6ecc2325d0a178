// The Qt view of the updater dialog: DialogView over an UpdaterWindow.
//
// Texts cross this edge as UTF-8 with CR LF line breaks on the logic's side
// and as QString with LF line breaks on the window's side.
#pragma once

#include <QString>
#include <functional>
#include <memory>

#include "frontend/dialog_view.h"
#include "frontend/qt/updater_window.h"

namespace kelvane::frontend::qt {

class QtDialogView final : public DialogView {
 public:
  // Shows a message box; the default is a modal QMessageBox with the warning
  // icon, the OK button and the caption "Kelvane".
  using MessageBoxPresenter = std::function<void(QWidget* parent, const QString& text)>;

  // Creates its own window.
  QtDialogView();
  ~QtDialogView() override;

  int RunModal(DialogCommands& commands) override;
  void SetIcons() override;
  std::string ReadLogBox() override;
  void WriteLogBox(const std::string& text) override;
  void ShowMessageBox(const std::string& text) override;
  std::vector<ControlHandle> ChildControls() override;
  bool IsControlEnabled(ControlHandle control) override;
  void EnableControl(ControlHandle control, bool enable) override;
  // Delivers the pending events once. A quit request met on the way (the
  // application's Quit event, a close of the dialog, or Escape) is taken:
  // it does not end the dialog now, and the call returns false.
  bool PumpPendingEvents() override;
  // Ends the dialog once control returns to its event loop.
  void PostQuit(int exit_code) override;

  UpdaterWindow& Window() { return *window_; }
  void SetMessageBoxPresenter(MessageBoxPresenter presenter) { presenter_ = std::move(presenter); }

  static void ShowWarningBox(QWidget* parent, const QString& text);

 private:
  QWidget* Find(ControlHandle control) const;

  std::unique_ptr<UpdaterWindow> window_;
  MessageBoxPresenter presenter_;
};

}  // namespace kelvane::frontend::qt
