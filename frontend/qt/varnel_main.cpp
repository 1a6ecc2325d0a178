// varnel: the updater's dialog. Searches for the one supported security
// drive, reports what it found, and on request runs the writer tolvak from
// its own folder and reports the outcome.
#include <QApplication>
#include <QString>

#include "framework/embedded_settings.h"
#include "framework/named_mutex.h"
#include "frontend/kat_device_sdk.h"
#include "frontend/qt/app_icon.h"
#include "frontend/qt/qt_toolkit.h"
#include "frontend/updater_app.h"

int main(int argc, char** argv) {
  using namespace kelvane;
  QApplication application(argc, argv);
  frontend::qt::QtToolkit toolkit;
  frontend::UpdaterApp updater(
      toolkit, frontend::DeviceAccess{frontend::LinkedDeviceSdk(), framework::kDeviceMutexTimeoutMs,
                                      [] { return framework::LoadEmbeddedSettings(); }});
  QApplication::setApplicationName(QString::fromUtf8(updater.Name()));
  QApplication::setWindowIcon(frontend::qt::ApplicationIcon());
  return updater.InitInstance() ? QApplication::exec() : 0;
}
