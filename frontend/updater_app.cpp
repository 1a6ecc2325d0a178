#include "frontend/updater_app.h"

#include <utility>

#include "frontend/dialog_template.h"
#include "frontend/updater_dialog.h"

namespace kelvane::frontend {

UpdaterApp::UpdaterApp(DialogToolkit& toolkit, DeviceAccess access)
    : toolkit_(toolkit), access_(std::move(access)) {}

bool UpdaterApp::InitInstance() {
  const std::unique_ptr<DialogView> view = toolkit_.CreateDialogView();
  {
    UpdaterDialog dialog(*view, access_);
    dialog.DoModal();
  }
  return false;
}

const char* UpdaterApp::Name() const {
  return kApplicationName;
}

}  // namespace kelvane::frontend
