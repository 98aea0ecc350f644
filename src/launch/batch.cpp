// The batch launch: a detached worker walks the list; mode is the one signal between threads.
// The worker's last steps run on the user-interface thread, posted there, so that neither a
// close nor a new batch can interleave with them.
#include <process.h>

#include <cstring>
#include <memory>
#include <new>

#include "launch/start_through_shell.h"
#include "resource.h"
#include "ui/cp932.h"
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
  int32_t enabled = 0;
  for (const LaunchSettingNode* node = window->list->head(); node != nullptr; node = node->next) {
    if (node->setting.enabled != 0) ++enabled;
  }
  int32_t started = 0;
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
    // Posted: the caption and the taskbar follow without this thread waiting on the window.
    PostMessageW(window->dialog, kBatchProgressMessage, static_cast<WPARAM>(i),
                 static_cast<LPARAM>(++started) | (static_cast<LPARAM>(enabled) << 32));
    // Owned by the window, as every shell request is: an elevation prompt or a downloaded file's
    // warning then comes up in front of the topmost launcher, not behind it. The thread ends after
    // its last launch, so the shell must finish its work before returning.
    if (!StartThroughShell(setting, window->dialog, SEE_MASK_NOASYNC, stopRequested, window)) {
      PostMessageW(window->dialog, kBatchPausedMessage, TRUE, 0);
      ShowMessageWithName(window->dialog, texts::kLaunchFailedFormat, setting.name,
                          texts::kLaunchFailedCaption, MB_OK | MB_ICONERROR);
      PostMessageW(window->dialog, kBatchPausedMessage, FALSE, 0);
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
  focusBeforeBatch = GetFocus();
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

void MainWindow::ShowBatchProgress(int32_t index, int32_t started, int32_t enabled) {
  LaunchSetting setting;
  std::unique_ptr<wchar_t[]> name =
      list->Get(index, &setting) ? cp932::ToWide(setting.name) : nullptr;
  if (!name || !title) return;
  // The progress leads, so that even a narrow taskbar button shows it. A name is at most 255
  // units: the start stays far below wsprintfW's 1024.
  wchar_t start[512];
  int length = wsprintfW(start, texts::kBatchProgressFormat, started, enabled, name.get());
  size_t titleLength = wcslen(title.get());
  std::unique_ptr<wchar_t[]> caption(new (std::nothrow) wchar_t[length + titleLength + 1]);
  if (!caption) return;
  std::memcpy(caption.get(), start, length * sizeof(wchar_t));
  std::memcpy(caption.get() + length, title.get(), (titleLength + 1) * sizeof(wchar_t));
  SetWindowTextW(dialog, caption.get());
  taskbar.Progress(started, enabled);
}

void MainWindow::FinishBatch() {
  RestoreTitle();
  taskbar.Clear();
  SelectRow(currentIndex);
  if (currentIndex == -1) {
    ClearFields();
  } else {
    ShowSelected();
  }
  SetMode(UiMode::Idle);
  // Back where the user was, if that control is usable again.
  GiveFocusBack(focusBeforeBatch);
}
