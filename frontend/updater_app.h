// UpdaterApp: the application object of the updater. It runs the one modal
// dialog and ends the program when the dialog ends.
#pragma once

#include <memory>

#include "frontend/device_access.h"
#include "frontend/dialog_view.h"

namespace kelvane::frontend {

// The toolkit that shows the dialog.
class DialogToolkit {
 public:
  virtual ~DialogToolkit() = default;
  // A new, not yet shown dialog window of template 103 without a parent.
  virtual std::unique_ptr<DialogView> CreateDialogView() = 0;
};

class UpdaterApp {
 public:
  // The application's name, "Kelvane", is also every message box's caption.
  UpdaterApp(DialogToolkit& toolkit, DeviceAccess access);

  // Constructs the dialog, runs it modally (its end code is not looked at),
  // destroys it and returns false: the program ends instead of entering an
  // event loop of its own.
  bool InitInstance();

  const char* Name() const;

 private:
  DialogToolkit& toolkit_;
  DeviceAccess access_;
};

}  // namespace kelvane::frontend
