// A dialog view without a window: it keeps the log box text, records message
// boxes, icons and quit requests, and holds a list of child controls with
// their enabled state. Clicks queued on it are delivered by the next pump,
// and only to controls that are enabled then, as a toolkit delivers them.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "frontend/dialog_template.h"
#include "frontend/dialog_view.h"

namespace kelvane::testing {

class FakeView final : public frontend::DialogView {
 public:
  struct Control {
    int id = 0;
    bool enabled = true;
  };

  // The template's three controls, then a control of the test's own (id
  // 1003) that is disabled from the start.
  FakeView();

  int RunModal(frontend::DialogCommands& commands) override;
  void SetIcons() override { ++icons_set; }
  std::string ReadLogBox() override { return log_box; }
  void WriteLogBox(const std::string& text) override { log_box = text; }
  void ShowMessageBox(const std::string& text) override;
  std::vector<frontend::ControlHandle> ChildControls() override;
  bool IsControlEnabled(frontend::ControlHandle control) override {
    return controls.at(control).enabled;
  }
  void EnableControl(frontend::ControlHandle control, bool enable) override;
  bool PumpPendingEvents() override;
  void PostQuit(int exit_code) override { posted_quits.push_back(exit_code); }

  // Presses a button as the user does: routed to the commands when it is
  // enabled, lost otherwise.
  void Click(int control_id);
  // Queues a click to be delivered by the next pump.
  void QueueClick(int control_id) { queued_clicks.push_back(control_id); }

  bool Enabled(int control_id) const;
  // The enabled state of every control, in list order.
  std::vector<bool> EnabledStates() const;

  std::vector<Control> controls;
  std::string log_box;
  std::vector<std::string> message_boxes;
  // The enabled states at the time each message box was shown.
  std::vector<std::vector<bool>> states_at_message_box;
  std::vector<int> queued_clicks;
  std::vector<int> posted_quits;
  // Every EnableControl call: the control's id and the new state.
  std::vector<std::pair<int, bool>> enable_calls;
  // The next pump meets a quit request.
  bool quit_pending = false;
  int pumps = 0;
  int icons_set = 0;
  // Run by RunModal after the dialog is initialised, as the user's actions.
  std::function<void(FakeView&)> script;
  // The log box text when the dialog was initialised.
  std::string log_at_init;

 private:
  frontend::DialogCommands* commands_ = nullptr;
};

}  // namespace kelvane::testing
