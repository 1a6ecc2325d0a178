// The Qt dialog: its layout from the template, its font, its accessibility,
// its icon, its message box, and the busy state with real input events.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleInterface>
#include <QAccessibleTextInterface>
#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QMessageBox>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "frontend/dialog_template.h"
#include "frontend/qt/app_icon.h"
#include "frontend/qt/dialog_font.h"
#include "frontend/qt/qt_dialog_view.h"
#include "frontend/updater_dialog.h"
#include "tests/frontend/fake_device_sdk.h"
#include "tests/frontend/program_folder.h"
#include "tests/support/fake_runtime.h"

namespace kelvane::frontend::qt {
namespace {

using ::testing::ElementsAre;

QString Q(const char* text) {
  return QString::fromUtf8(text);
}

TEST(QtDialogLayoutTest, TheWindowFollowsTemplate103) {
  UpdaterWindow window;
  EXPECT_EQ(window.windowTitle(), Q("Kelvane"));
  const DialogBaseUnits base = BaseUnitsOf(window.font());
  ASSERT_GT(base.x, 0);
  ASSERT_GT(base.y, 0);
  const DialogRect frame = DialogUnitsToPixels({0, 0, 265, 129}, base);
  EXPECT_EQ(window.size(), QSize(frame.width, frame.height));
  EXPECT_EQ(window.minimumSize(), window.maximumSize());

  std::vector<int> ids;
  for (const auto& control : window.Controls()) {
    ids.push_back(control.id);
  }
  EXPECT_THAT(ids, ElementsAre(kSearchButtonId, kLogBoxId, kUpdateButtonId));
  EXPECT_EQ(window.SearchButton()->text(), Q("デバイス検索"));
  EXPECT_EQ(window.UpdateButton()->text(), Q("アップデート実行"));
  const DialogRect search = DialogUnitsToPixels({28, 96, 96, 26}, base);
  const DialogRect log = DialogUnitsToPixels({7, 7, 251, 73}, base);
  const DialogRect update = DialogUnitsToPixels({139, 96, 96, 26}, base);
  EXPECT_EQ(window.SearchButton()->geometry(),
            QRect(search.x, search.y, search.width, search.height));
  EXPECT_EQ(window.LogBox()->geometry(), QRect(log.x, log.y, log.width, log.height));
  EXPECT_EQ(window.UpdateButton()->geometry(),
            QRect(update.x, update.y, update.width, update.height));

  // No default button (a focused button takes Return, as on Windows); an
  // editable log box without scroll bars or wrapping.
  EXPECT_FALSE(window.SearchButton()->isDefault());
  EXPECT_FALSE(window.UpdateButton()->isDefault());
  EXPECT_FALSE(window.LogBox()->isReadOnly());
  EXPECT_EQ(window.LogBox()->lineWrapMode(), QPlainTextEdit::NoWrap);
  EXPECT_EQ(window.LogBox()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  EXPECT_EQ(window.LogBox()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  EXPECT_EQ(window.LogBox()->tabStopDistance(), DialogUnitsToPixels({0, 0, 32, 0}, base).width);
  // Tab order: the template's order, starting at the first button.
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  EXPECT_EQ(QApplication::focusWidget(), window.SearchButton());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), window.LogBox());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), window.UpdateButton());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), window.SearchButton());
}

TEST(QtDialogLayoutTest, DialogUnitsScaleWithTheBaseUnits) {
  EXPECT_EQ(BaseUnitsFromFont(52 * 6, 12).x, 6);
  EXPECT_EQ(BaseUnitsFromFont(52 * 6 + 51, 12).x, 7);  // Windows rounds the half-width up
  EXPECT_EQ(DialogUnitsToPixels({28, 96, 96, 26}, {6, 12}), (DialogRect{42, 144, 144, 39}));
  EXPECT_EQ(DialogUnitsToPixels({7, 7, 251, 73}, {7, 15}), (DialogRect{12, 13, 439, 137}));
}

TEST(QtDialogFontTest, TheDialogFontRendersJapanese) {
  UpdaterWindow window;
  const QFontInfo info(window.font());
  EXPECT_TRUE(info.family().startsWith(Q("IPA"))) << info.family().toStdString();
  EXPECT_EQ(window.font().pointSize(), 9);
  const QFontMetrics metrics(window.font());
  for (const char32_t character : {U'デ', U'検', U'索', U'実', U'行', U'ド'}) {
    EXPECT_TRUE(metrics.inFontUcs4(character)) << static_cast<unsigned>(character);
  }
}

TEST(QtDialogAccessibilityTest, ButtonsAreFoundByTheirTextsAndTheLogBoxByItsName) {
  UpdaterWindow window;
  window.show();
  QAccessibleInterface* dialog = QAccessible::queryAccessibleInterface(&window);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->text(QAccessible::Name), Q("Kelvane"));
  std::map<QString, QAccessibleInterface*> by_name;
  for (int i = 0; i < dialog->childCount(); ++i) {
    QAccessibleInterface* child = dialog->child(i);
    by_name[child->text(QAccessible::Name)] = child;
  }
  ASSERT_TRUE(by_name.count(Q("デバイス検索")));
  ASSERT_TRUE(by_name.count(Q("アップデート実行")));
  ASSERT_TRUE(by_name.count(Q("ログ")));
  EXPECT_EQ(by_name[Q("デバイス検索")]->role(), QAccessible::Button);
  EXPECT_TRUE(by_name[Q("アップデート実行")]->actionInterface()->actionNames().contains(
      QAccessibleActionInterface::pressAction()));

  // A screen reader reads the report from the log box.
  window.LogBox()->setPlainText(Q("アップデート対象のデバイスが見つかりました"));
  QAccessibleTextInterface* text = by_name[Q("ログ")]->textInterface();
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->text(0, text->characterCount()), Q("アップデート対象のデバイスが見つかりました"));

  // Automation presses a button through its action.
  QSignalSpy pressed(&window, &UpdaterWindow::Command);
  by_name[Q("デバイス検索")]->actionInterface()->doAction(
      QAccessibleActionInterface::pressAction());
  if (pressed.count() == 0) {
    pressed.wait(5000);  // the press is animated
  }
  ASSERT_EQ(pressed.count(), 1);
  EXPECT_EQ(pressed.at(0).at(0).toInt(), kSearchButtonId);
}

TEST(QtDialogIconTest, TheIconHasThePicturesOf16_32And48Pixels) {
  const QIcon icon = ApplicationIcon();
  EXPECT_THAT(icon.availableSizes(), ElementsAre(QSize(16, 16), QSize(32, 32), QSize(48, 48)));
  for (const int size : kIconSizes) {
    const QImage picture = DrawApplicationIcon(size).toImage();
    int opaque = 0;
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        opaque += qAlpha(picture.pixel(x, y)) > 0 ? 1 : 0;
      }
    }
    EXPECT_GT(opaque, size * size / 4) << size;
    EXPECT_LT(opaque, size * size) << size;  // transparent around the drive
  }
}

TEST(QtDialogViewTest, TheLogBoxHoldsCrLfTextOnTheLogicsSide) {
  QtDialogView view;
  view.WriteLogBox("\r\nCD\t\t: e ドライブ\r\n");
  EXPECT_EQ(view.Window().LogBox()->toPlainText(), Q("\nCD\t\t: e ドライブ\n"));
  view.Window().LogBox()->setPlainText(Q("typed\nby hand"));
  EXPECT_EQ(view.ReadLogBox(), "typed\r\nby hand");
}

TEST(QtDialogViewTest, TheChildControlsAreTheTemplatesControls) {
  QtDialogView view;
  const std::vector<ControlHandle> controls = view.ChildControls();
  ASSERT_EQ(controls.size(), 3u);
  EXPECT_EQ(controls[0], reinterpret_cast<ControlHandle>(view.Window().SearchButton()));
  EXPECT_EQ(controls[1], reinterpret_cast<ControlHandle>(view.Window().LogBox()));
  EXPECT_EQ(controls[2], reinterpret_cast<ControlHandle>(view.Window().UpdateButton()));
  view.EnableControl(controls[2], false);
  EXPECT_FALSE(view.IsControlEnabled(controls[2]));
  EXPECT_FALSE(view.Window().UpdateButton()->isEnabled());
  view.EnableControl(controls[2], true);
  EXPECT_TRUE(view.IsControlEnabled(controls[2]));
  EXPECT_FALSE(view.IsControlEnabled(0x1234));  // not a control of the dialog
}

TEST(QtDialogViewTest, ThePumpTakesAQuitRequestAndTheDialogStaysOpenUntilPostQuit) {
  QtDialogView view;
  view.Window().show();
  EXPECT_TRUE(view.PumpPendingEvents());
  QCoreApplication::postEvent(&view.Window(), new QCloseEvent);
  EXPECT_FALSE(view.PumpPendingEvents());
  EXPECT_TRUE(view.Window().isVisible());
  QCoreApplication::postEvent(QCoreApplication::instance(), new QEvent(QEvent::Quit));
  EXPECT_FALSE(view.PumpPendingEvents());
  EXPECT_TRUE(view.Window().isVisible());
  QCoreApplication::postEvent(&view.Window(),
                              new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
  EXPECT_FALSE(view.PumpPendingEvents());
  EXPECT_TRUE(view.Window().isVisible());
  QCoreApplication::postEvent(&view.Window(),
                              new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier));
  EXPECT_TRUE(view.PumpPendingEvents());

  QSignalSpy finished(&view.Window(), &QDialog::finished);
  view.PostQuit(0);
  EXPECT_EQ(finished.count(), 0);  // not before the event loop runs again
  QCoreApplication::processEvents();
  EXPECT_EQ(finished.count(), 1);
  EXPECT_FALSE(view.Window().isVisible());
}

TEST(QtDialogViewTest, TheMessageBoxIsAWarningWithOkAndTheApplicationName) {
  QtDialogView view;
  QString title;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    title = box->windowTitle();
    text = box->text();
    icon = box->icon();
    buttons = box->standardButtons();
    box->button(QMessageBox::Ok)->click();
  });
  view.ShowMessageBox("失敗しました\r\n0x7fcc0003:InvalidEnumValue,");
  EXPECT_EQ(title, Q("Kelvane"));
  EXPECT_EQ(text, Q("失敗しました\n0x7fcc0003:InvalidEnumValue,"));
  EXPECT_EQ(icon, QMessageBox::Warning);
  EXPECT_EQ(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

struct KeyCase {
  Qt::Key key;
  bool on_log_box;
  bool ends;
};

void PrintTo(const KeyCase& c, std::ostream* os) {
  *os << "key 0x" << std::hex << static_cast<int>(c.key)
      << (c.on_log_box ? " on the log box" : " on a button");
}

class QtDialogKeyTest : public ::testing::TestWithParam<KeyCase> {};

TEST_P(QtDialogKeyTest, EscapeAndReturnOutsideAButtonEndTheDialog) {
  UpdaterWindow window;
  QSignalSpy finished(&window, &QDialog::finished);
  QSignalSpy pressed(&window, &UpdaterWindow::Command);
  window.show();
  QWidget* target =
      GetParam().on_log_box ? static_cast<QWidget*>(window.LogBox()) : window.SearchButton();
  target->setFocus();
  QTest::keyClick(target, GetParam().key);
  EXPECT_EQ(finished.count(), GetParam().ends ? 1 : 0);
  // Return on a focused button presses it.
  EXPECT_EQ(pressed.count(), !GetParam().on_log_box && GetParam().key == Qt::Key_Return ? 1 : 0);
  EXPECT_EQ(window.LogBox()->toPlainText(), QString());
}

INSTANTIATE_TEST_SUITE_P(Keys, QtDialogKeyTest,
                         ::testing::Values(KeyCase{Qt::Key_Escape, true, true},
                                           KeyCase{Qt::Key_Return, true, true},
                                           KeyCase{Qt::Key_Enter, true, true},
                                           KeyCase{Qt::Key_Escape, false, true},
                                           KeyCase{Qt::Key_Return, false, false}));

// The dialog logic over the Qt view with real input events.
class QtDialogRunTest : public ::testing::Test {
 protected:
  QtDialogRunTest() {
    folder.PlaceWriter("exit 0");
    sdk.AddDrive('e', 'f');
    view.SetMessageBoxPresenter(
        [this](QWidget*, const QString& text) { messages.push_back(text); });
  }

  // Runs the dialog modally with `script` as the user, then closes it.
  void Run(std::function<void()> script) {
    UpdaterDialog dialog(view, DeviceAccess{sdk, 2000, {}});
    QTimer::singleShot(0, [&] {
      script();
      view.Window().reject();
    });
    dialog.DoModal();
  }

  // Queues a full click on `button`, to be delivered by the event loop.
  static void PostClick(QPushButton* button) {
    const QPointF centre(button->width() / 2.0, button->height() / 2.0);
    const QPointF global = button->mapToGlobal(centre);
    QCoreApplication::postEvent(
        button, new QMouseEvent(QEvent::MouseButtonPress, centre, global, Qt::LeftButton,
                                Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(
        button, new QMouseEvent(QEvent::MouseButtonRelease, centre, global, Qt::LeftButton,
                                Qt::NoButton, Qt::NoModifier));
  }

  testing::FakeRuntime runtime;
  testing::FakeDeviceSdk sdk;
  testing::ProgramFolder folder;
  QtDialogView view;
  std::vector<QString> messages;
};

TEST_F(QtDialogRunTest, TheDialogOpensWithTheReportAndTheIcon) {
  QString at_start;
  Run([&] { at_start = view.Window().LogBox()->toPlainText(); });
  EXPECT_EQ(at_start, Q("\nアップデート対象のデバイスが見つかりました\nCD\t\t: e "
                        "ドライブ\nリムーバブル\t: f ドライブ\n"));
  EXPECT_FALSE(view.Window().windowIcon().isNull());
}

TEST_F(QtDialogRunTest, AQueuedClickReachesAnIdleDialog) {
  Run([&] {
    PostClick(view.Window().UpdateButton());
    QCoreApplication::processEvents();
  });
  EXPECT_EQ(folder.WriterRuns(), 1);
  EXPECT_THAT(messages, ElementsAre(Q("アップデートしました")));
}

TEST_F(QtDialogRunTest, ClicksQueuedWhenAnOperationStartsAreLost) {
  Run([&] {
    PostClick(view.Window().UpdateButton());
    QTest::mouseClick(view.Window().SearchButton(), Qt::LeftButton);
    QCoreApplication::processEvents();
  });
  EXPECT_EQ(folder.WriterRuns(), 0);
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(sdk.Count("ListTokens"), 2);
  EXPECT_TRUE(view.Window().UpdateButton()->isEnabled());
  EXPECT_TRUE(view.Window().SearchButton()->isEnabled());
}

TEST_F(QtDialogRunTest, AControlDisabledBeforeAnUpdateStaysDisabled) {
  std::vector<bool> enabled_during;
  view.SetMessageBoxPresenter([&](QWidget*, const QString& text) {
    messages.push_back(text);
    enabled_during = {view.Window().SearchButton()->isEnabled(),
                      view.Window().LogBox()->isEnabled(),
                      view.Window().UpdateButton()->isEnabled()};
  });
  Run([&] {
    view.Window().LogBox()->setEnabled(false);
    QTest::mouseClick(view.Window().UpdateButton(), Qt::LeftButton);
  });
  EXPECT_THAT(messages, ElementsAre(Q("アップデートしました")));
  EXPECT_THAT(enabled_during, ElementsAre(false, false, false));
  EXPECT_TRUE(view.Window().SearchButton()->isEnabled());
  EXPECT_FALSE(view.Window().LogBox()->isEnabled());
  EXPECT_TRUE(view.Window().UpdateButton()->isEnabled());
}

}  // namespace
}  // namespace kelvane::frontend::qt
