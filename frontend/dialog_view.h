// The window side of the updater dialog: what the dialog logic asks of the
// toolkit that shows it. One implementation per toolkit (the Qt dialog on
// Linux); tests use a fake.
//
// All methods are called on the one GUI thread. Texts are narrow text of the
// program's code page (UTF-8 on Linux) with CR LF line breaks, as a Windows
// edit control and message box hold them; a view converts at its own edge.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kelvane::frontend {

// Identifies one child control of the dialog while the dialog exists.
using ControlHandle = std::uintptr_t;

// The dialog's commands, which the view routes to the dialog logic.
class DialogCommands {
 public:
  virtual ~DialogCommands() = default;
  // Runs once before the dialog is first shown.
  virtual void OnInitDialog() = 0;
  // A control reported a command (a button press): its control id.
  virtual void OnCommand(int control_id) = 0;
};

class DialogView {
 public:
  virtual ~DialogView() = default;

  // Shows the dialog modally: calls commands.OnInitDialog() before it is
  // first visible, routes the button presses to commands.OnCommand, and
  // returns when the dialog ends (close box, Escape, Enter outside a
  // button, or a quit request). Returns the dialog's end code.
  virtual int RunModal(DialogCommands& commands) = 0;

  // Sets the dialog's large and small icons to the application icon.
  virtual void SetIcons() = 0;

  // The text of the log box (control 1002) as the user sees it, and its
  // replacement.
  virtual std::string ReadLogBox() = 0;
  virtual void WriteLogBox(const std::string& text) = 0;

  // A message box with `text`, the OK button only, the exclamation icon and
  // the application name as its caption; returns when it is dismissed.
  virtual void ShowMessageBox(const std::string& text) = 0;

  // Every descendant control of the dialog, in the order the toolkit
  // enumerates them (creation order).
  virtual std::vector<ControlHandle> ChildControls() = 0;
  virtual bool IsControlEnabled(ControlHandle control) = 0;
  virtual void EnableControl(ControlHandle control, bool enable) = 0;

  // Delivers the events waiting for the GUI thread once (input to disabled
  // controls is thereby lost, and the disabled state is painted). Returns
  // false when it met a request to quit the program, which it then took.
  virtual bool PumpPendingEvents() = 0;

  // Asks the program to quit with `exit_code` once control returns to the
  // event loop; this ends the modal dialog.
  virtual void PostQuit(int exit_code) = 0;
};

}  // namespace kelvane::frontend
