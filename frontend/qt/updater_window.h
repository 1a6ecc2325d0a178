// UpdaterWindow: the Qt dialog of template 103. Its caption is "Kelvane";
// its controls, in template and tab order, are the "デバイス検索" button
// (1000), the log box (1002) and the "アップデート実行" button (1001). The
// window is laid out from the template's dialog units with the dialog font's
// base units and cannot be resized.
//
// Keys behave as in a Windows dialog without a default button: Escape ends
// the dialog; Return on a focused button presses it; Return in the log box
// (which does not take Return) ends the dialog.
#pragma once

#include <QDialog>
#include <QPlainTextEdit>
#include <QPushButton>
#include <vector>

namespace kelvane::frontend::qt {

class UpdaterWindow final : public QDialog {
  Q_OBJECT

 public:
  explicit UpdaterWindow(QWidget* parent = nullptr);

  QPushButton* SearchButton() const { return search_button_; }
  QPushButton* UpdateButton() const { return update_button_; }
  QPlainTextEdit* LogBox() const { return log_box_; }

  // The dialog's controls in template order, with the control id of each.
  struct Control {
    int id;
    QWidget* widget;
  };
  const std::vector<Control>& Controls() const { return controls_; }

 signals:
  // A button of the dialog was pressed: its control id.
  void Command(int control_id);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPushButton* search_button_ = nullptr;
  QPushButton* update_button_ = nullptr;
  QPlainTextEdit* log_box_ = nullptr;
  std::vector<Control> controls_;
};

}  // namespace kelvane::frontend::qt
