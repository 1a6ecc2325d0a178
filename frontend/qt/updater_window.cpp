#include "frontend/qt/updater_window.h"

#include <QKeyEvent>
#include <QRect>
#include <QString>

#include "frontend/dialog_template.h"
#include "frontend/qt/dialog_font.h"

namespace kelvane::frontend::qt {

namespace {

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QRect ToQRect(const DialogRect& rect) {
  return QRect(rect.x, rect.y, rect.width, rect.height);
}

}  // namespace

UpdaterWindow::UpdaterWindow(QWidget* parent) : QDialog(parent) {
  const DialogTemplate& layout = kUpdaterDialogTemplate;
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  setWindowTitle(Text(layout.caption));
  setFont(DialogFont());
  const DialogBaseUnits base = BaseUnitsOf(font());
  const DialogRect frame = DialogUnitsToPixels(layout.frame, base);
  setFixedSize(frame.width, frame.height);

  for (const ControlTemplate& control : layout.controls) {
    QWidget* widget = nullptr;
    if (control.kind == ControlKind::kPushButton) {
      auto* button = new QPushButton(Text(control.text), this);
      // Plain push buttons: none is the dialog's default button, and a
      // focused button takes Return, as a focused Windows button does.
      button->setDefault(false);
      button->setAutoDefault(true);
      const int id = control.id;
      connect(button, &QPushButton::clicked, this, [this, id] { emit Command(id); });
      (control.id == kSearchButtonId ? search_button_ : update_button_) = button;
      widget = button;
    } else {
      log_box_ = new QPlainTextEdit(this);
      log_box_->setReadOnly(false);
      log_box_->setLineWrapMode(QPlainTextEdit::NoWrap);
      log_box_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
      log_box_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
      log_box_->setTabChangesFocus(true);
      // An edit control's tab stops: every 32 horizontal dialog units.
      log_box_->setTabStopDistance(DialogUnitsToPixels({0, 0, kEditTabStopUnits, 0}, base).width);
      log_box_->setAccessibleName(QStringLiteral("ログ"));
      log_box_->installEventFilter(this);
      widget = log_box_;
    }
    widget->setObjectName(QStringLiteral("control%1").arg(control.id));
    widget->setGeometry(ToQRect(DialogUnitsToPixels(control.rect, base)));
    widget->setFocusPolicy(Qt::StrongFocus);
    controls_.push_back(Control{control.id, widget});
  }
  for (std::size_t i = 1; i < controls_.size(); ++i) {
    setTabOrder(controls_[i - 1].widget, controls_[i].widget);
  }
}

bool UpdaterWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == log_box_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      accept();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace kelvane::frontend::qt
