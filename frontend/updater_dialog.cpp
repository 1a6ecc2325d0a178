#include "frontend/updater_dialog.h"

#include <utility>

#include "framework/text_format.h"
#include "framework/text_replace.h"
#include "frontend/control_disabler.h"
#include "frontend/device_search.h"
#include "frontend/dialog_template.h"
#include "frontend/writer_run.h"

namespace kelvane::frontend {

namespace {

constexpr char kGateFailedText[] =
    "失敗しました。\nアップデートを行うデバイスを1本のみ接続してから実行してください";
constexpr char kUpdatedText[] = "アップデートしました";
constexpr char kWriterFailedFormat[] = "失敗しました\n%s";

}  // namespace

UpdaterDialog::UpdaterDialog(DialogView& view, DeviceAccess access)
    : view_(view), access_(std::move(access)) {}

int UpdaterDialog::DoModal() {
  return view_.RunModal(*this);
}

void UpdaterDialog::OnInitDialog() {
  view_.SetIcons();
  SearchAndReport(*this);
}

void UpdaterDialog::OnCommand(int control_id) {
  switch (control_id) {
    case kUpdateButtonId:
      OnUpdateButton();
      break;
    case kSearchButtonId:
      OnSearchButton();
      break;
    default:
      break;
  }
}

void UpdaterDialog::OnSearchButton() {
  ControlDisabler busy(view_);
  PumpPendingMessages();
  SearchAndReport(*this);
  busy.Release();
}

void UpdaterDialog::OnUpdateButton() {
  ControlDisabler busy(view_);
  PumpPendingMessages();
  if (SearchAndReport(*this).LastCode() != framework::Success) {
    MessageBox(kGateFailedText);
    busy.Release();
    return;
  }
  const framework::Result written = RunWriter();
  const std::string text =
      written.LastCode() != framework::Success
          ? framework::FormatNarrow(kWriterFailedFormat, written.ToNarrowText().c_str())
          : std::string(kUpdatedText);
  SetLogText(text);
  MessageBox(log_text_);
  busy.Release();
}

void UpdaterDialog::PumpPendingMessages() {
  if (!view_.PumpPendingEvents()) {
    view_.PostQuit(0);
  }
}

void UpdaterDialog::SetLogText(const std::string& text) {
  std::string converted = text;
  framework::ReplaceAll(converted, std::string("\n"), std::string("\r\n"));
  DoDataExchange(true);
  log_text_ = converted;
  DoDataExchange(false);
}

void UpdaterDialog::MessageBox(const std::string& text) {
  view_.ShowMessageBox(text);
}

void UpdaterDialog::DoDataExchange(bool save) {
  if (save) {
    log_text_ = view_.ReadLogBox();
  } else {
    view_.WriteLogBox(log_text_);
  }
}

}  // namespace kelvane::frontend
