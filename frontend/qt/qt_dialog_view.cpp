#include "frontend/qt/qt_dialog_view.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMetaObject>
#include <QObject>

#include "frontend/dialog_template.h"
#include "frontend/qt/app_icon.h"

namespace kelvane::frontend::qt {

namespace {

QString FromLogicText(const std::string& text) {
  QString converted = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  converted.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return converted;
}

std::string ToLogicText(QString text) {
  text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
  const QByteArray bytes = text.toUtf8();
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// Takes the requests to end the program or the dialog that arrive while it
// is installed: the application's Quit event, a close of the dialog (its
// close box), and Escape, which would cancel the dialog.
class QuitCatcher final : public QObject {
 public:
  explicit QuitCatcher(QWidget* dialog) : dialog_(dialog) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    const bool quit = event->type() == QEvent::Quit;
    const bool close = event->type() == QEvent::Close && watched == dialog_;
    const bool escape = event->type() == QEvent::KeyPress &&
                        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape &&
                        IsInDialog(watched);
    if (quit || close || escape) {
      met_quit = true;
      event->ignore();
      return true;
    }
    return false;
  }

  bool met_quit = false;

 private:
  bool IsInDialog(QObject* object) const {
    for (; object != nullptr; object = object->parent()) {
      if (object == dialog_) {
        return true;
      }
    }
    return false;
  }

  QWidget* dialog_;
};

}  // namespace

QtDialogView::QtDialogView()
    : window_(std::make_unique<UpdaterWindow>()), presenter_(&QtDialogView::ShowWarningBox) {}

QtDialogView::~QtDialogView() = default;

int QtDialogView::RunModal(DialogCommands& commands) {
  const QMetaObject::Connection routed =
      QObject::connect(window_.get(), &UpdaterWindow::Command, window_.get(),
                       [&commands](int control_id) { commands.OnCommand(control_id); });
  commands.OnInitDialog();
  const int code = window_->exec();
  QObject::disconnect(routed);
  return code;
}

void QtDialogView::SetIcons() {
  window_->setWindowIcon(ApplicationIcon());
}

std::string QtDialogView::ReadLogBox() {
  return ToLogicText(window_->LogBox()->toPlainText());
}

void QtDialogView::WriteLogBox(const std::string& text) {
  window_->LogBox()->setPlainText(FromLogicText(text));
}

void QtDialogView::ShowMessageBox(const std::string& text) {
  presenter_(window_.get(), FromLogicText(text));
}

void QtDialogView::ShowWarningBox(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::Warning, QString::fromUtf8(kApplicationName), text, QMessageBox::Ok,
                  parent);
  box.exec();
}

std::vector<ControlHandle> QtDialogView::ChildControls() {
  std::vector<ControlHandle> controls;
  for (QWidget* child : window_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (!child->isWindow()) {
      controls.push_back(reinterpret_cast<ControlHandle>(child));
    }
  }
  return controls;
}

QWidget* QtDialogView::Find(ControlHandle control) const {
  for (QWidget* child : window_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (reinterpret_cast<ControlHandle>(child) == control) {
      return child;
    }
  }
  return nullptr;
}

bool QtDialogView::IsControlEnabled(ControlHandle control) {
  const QWidget* widget = Find(control);
  return widget != nullptr && widget->isEnabled();
}

void QtDialogView::EnableControl(ControlHandle control, bool enable) {
  if (QWidget* widget = Find(control)) {
    widget->setEnabled(enable);
  }
}

bool QtDialogView::PumpPendingEvents() {
  QuitCatcher catcher(window_.get());
  QCoreApplication::instance()->installEventFilter(&catcher);
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  QCoreApplication::instance()->removeEventFilter(&catcher);
  return !catcher.met_quit;
}

void QtDialogView::PostQuit(int exit_code) {
  UpdaterWindow* window = window_.get();
  QMetaObject::invokeMethod(
      window, [window, exit_code] { window->done(exit_code); }, Qt::QueuedConnection);
}

}  // namespace kelvane::frontend::qt
