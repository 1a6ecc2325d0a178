#include "frontend/control_disabler.h"

namespace kelvane::frontend {

ControlDisabler::ControlDisabler(DialogView& owner) : owner_(owner) {
  for (const ControlHandle control : owner_.ChildControls()) {
    if (owner_.IsControlEnabled(control)) {
      disabled_.push_back(control);
      owner_.EnableControl(control, false);
    }
  }
}

ControlDisabler::~ControlDisabler() {
  Release();
}

void ControlDisabler::Release() {
  for (const ControlHandle control : disabled_) {
    owner_.EnableControl(control, true);
  }
  disabled_.clear();
}

}  // namespace kelvane::frontend
