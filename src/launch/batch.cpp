// The batch launch: a detached worker walks the list; mode is the one signal between threads.
// The worker's last steps run on the user-interface thread, posted there, so that neither a
// close nor a new batch can interleave with them.
#include <process.h>

#include "resource.h"
#include "ui/main_window.h"
#include "ui/message_box.h"
#include "ui/shell_calls.h"
#include "ui/texts.h"

namespace {

unsigned __stdcall BatchWorker(void* argument) {
  auto* window = static_cast<MainWindow*>(argument);
  shell_calls::ComForThisThread com;
  auto stopRequested = [](void* context) {
    return static_cast<MainWindow*>(context)->mode.load() == UiMode::BatchEnd;
  };
  int32_t positions = window->list->count();
  SendMessageW(window->Control(IDC_SETTING_LIST), LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  window->ClearFields();

  bool stopped = false;
  for (int32_t i = 0; i < positions; ++i) {
    if (stopRequested(window)) {
      stopped = true;
      break;
    }
    LaunchSetting setting;
    if (!window->list->Get(i, &setting)) {
      ShowMessageWithNumber(window->dialog, texts::kInvalidSettingFormat, i, texts::kErrorCaption,
                            MB_OK | MB_ICONERROR);
      continue;
    }
    if (setting.enabled == 0) continue;
    SendMessageW(window->Control(IDC_SETTING_LIST), LB_SETCURSEL, i, 0);
    window->ShowSetting(setting);
    if (!window->list->LaunchForBatch(i, stopRequested, window)) {
      ShowMessageWithName(window->dialog, texts::kLaunchFailedFormat, setting.name,
                          texts::kLaunchFailedCaption, MB_OK | MB_ICONERROR);
    }
  }
  if (!stopped && stopRequested(window)) stopped = true;
  if (stopped) {
    ShowMessage(window->dialog, texts::kBatchStoppedText, texts::kBatchStoppedCaption,
                MB_OK | MB_ICONWARNING);
  } else {
    window->SetMode(UiMode::BatchEnd);
    ShowMessage(window->dialog, texts::kBatchDoneText, texts::kBatchDoneCaption,
                MB_OK | MB_ICONINFORMATION);
  }
  // The last touch of the window from this thread.
  PostMessageW(window->dialog, kBatchFinishedMessage, 0, 0);
  return 0;
}

}  // namespace

bool MainWindow::ToggleBatch() {
  if (list->count() <= 0) {
    ShowMessage(dialog, texts::kNoSettingsText, texts::kBatchNoSettingsCaption,
                MB_OK | MB_ICONWARNING);
    return false;
  }
  if (mode.load() == UiMode::Batch) {
    SetMode(UiMode::BatchEnd);
    return true;
  }
  HWND focus = GetFocus();
  focusBeforeBatch = IsChild(dialog, focus) ? GetDlgCtrlID(focus) : 0;
  SetMode(UiMode::Batch);
  uintptr_t thread = _beginthreadex(nullptr, 0, BatchWorker, this, 0, nullptr);
  if (thread == 0) {
    // No worker to bring the window back: do it here and say so.
    SetMode(UiMode::Idle);
    ShowMessage(dialog, texts::kBatchThreadFailedText, texts::kErrorCaption, MB_OK | MB_ICONERROR);
    return false;
  }
  CloseHandle(reinterpret_cast<HANDLE>(thread));  // detached: nobody waits for it
  return true;
}

void MainWindow::FinishBatch() {
  SelectRow(currentIndex);
  if (currentIndex == -1) {
    ClearFields();
  } else {
    ShowSelected();
  }
  SetMode(UiMode::Idle);
  // Back where the user was, if that control is usable again.
  if (focusBeforeBatch != 0 && IsWindowEnabled(Control(focusBeforeBatch))) {
    FocusControl(focusBeforeBatch);
  }
  focusBeforeBatch = 0;
}
