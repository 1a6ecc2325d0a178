#include "frontend/qt/qt_toolkit.h"

namespace kelvane::frontend::qt {

std::unique_ptr<DialogView> QtToolkit::CreateDialogView() {
  auto view = std::make_unique<QtDialogView>();
  if (hook_) {
    hook_(*view);
  }
  return view;
}

}  // namespace kelvane::frontend::qt
