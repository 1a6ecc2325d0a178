// ControlDisabler: the busy state of the dialog.
#pragma once

#include <vector>

#include "frontend/dialog_view.h"

namespace kelvane::frontend {

// On construction disables every enabled child control of the dialog,
// remembering them in the order met; controls already disabled are neither
// remembered nor touched. Release re-enables exactly the remembered controls,
// in that order, once; destruction releases if that has not happened.
class ControlDisabler {
 public:
  explicit ControlDisabler(DialogView& owner);
  ~ControlDisabler();
  ControlDisabler(const ControlDisabler&) = delete;
  ControlDisabler& operator=(const ControlDisabler&) = delete;

  void Release();

  const std::vector<ControlHandle>& Disabled() const { return disabled_; }

 private:
  DialogView& owner_;
  std::vector<ControlHandle> disabled_;
};

}  // namespace kelvane::frontend
