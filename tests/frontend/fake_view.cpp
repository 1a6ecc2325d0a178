#include "tests/frontend/fake_view.h"

namespace kelvane::testing {

FakeView::FakeView()
    : controls{{frontend::kSearchButtonId, true},
               {frontend::kLogBoxId, true},
               {frontend::kUpdateButtonId, true},
               {1003, false}} {}

int FakeView::RunModal(frontend::DialogCommands& commands) {
  commands_ = &commands;
  commands.OnInitDialog();
  log_at_init = log_box;
  if (script) {
    script(*this);
  }
  commands_ = nullptr;
  return 0;
}

void FakeView::ShowMessageBox(const std::string& text) {
  message_boxes.push_back(text);
  states_at_message_box.push_back(EnabledStates());
}

std::vector<frontend::ControlHandle> FakeView::ChildControls() {
  std::vector<frontend::ControlHandle> handles;
  for (std::size_t i = 0; i < controls.size(); ++i) {
    handles.push_back(i);
  }
  return handles;
}

void FakeView::EnableControl(frontend::ControlHandle control, bool enable) {
  controls.at(control).enabled = enable;
  enable_calls.emplace_back(controls.at(control).id, enable);
}

bool FakeView::PumpPendingEvents() {
  ++pumps;
  const std::vector<int> clicks = std::move(queued_clicks);
  queued_clicks.clear();
  for (const int id : clicks) {
    Click(id);
  }
  if (quit_pending) {
    quit_pending = false;
    return false;
  }
  return true;
}

void FakeView::Click(int control_id) {
  if (Enabled(control_id) && commands_ != nullptr) {
    commands_->OnCommand(control_id);
  }
}

bool FakeView::Enabled(int control_id) const {
  for (const Control& control : controls) {
    if (control.id == control_id) {
      return control.enabled;
    }
  }
  return false;
}

std::vector<bool> FakeView::EnabledStates() const {
  std::vector<bool> states;
  for (const Control& control : controls) {
    states.push_back(control.enabled);
  }
  return states;
}

}  // namespace kelvane::testing
