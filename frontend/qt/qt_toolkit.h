// The Qt toolkit of the updater: makes QtDialogView windows.
#pragma once

#include <functional>
#include <memory>

#include "frontend/qt/qt_dialog_view.h"
#include "frontend/updater_app.h"

namespace kelvane::frontend::qt {

class QtToolkit final : public DialogToolkit {
 public:
  // Called with each view right after it is made (tests replace its message
  // box or script it).
  using ViewHook = std::function<void(QtDialogView&)>;

  QtToolkit() = default;
  explicit QtToolkit(ViewHook hook) : hook_(std::move(hook)) {}

  std::unique_ptr<DialogView> CreateDialogView() override;

 private:
  ViewHook hook_;
};

}  // namespace kelvane::frontend::qt
