// The single-launch command: the selected row, with every refusal and failure told. The shell
// call and the wait for the program run on a thread of their own while the dialog keeps
// answering; Esc ends the wait.
#include <process.h>

#include <atomic>
#include <new>

#include "launch/start_through_shell.h"
#include "resource.h"
#include "ui/main_window.h"
#include "ui/message_box.h"
#include "ui/message_pump.h"
#include "ui/modal_scope.h"
#include "ui/shell_calls.h"
#include "ui/texts.h"

// One launch, shared by the dialog and the launch thread: whoever lets go of it last frees it,
// since after Esc the thread may still be in the shell call.
struct SingleLaunch {
  LaunchSetting setting;
  HWND owner;
  std::atomic<bool> stop{false};
  std::atomic<bool> launched{false};
  std::atomic<int> holders{2};

  void Release() {
    if (--holders == 0) delete this;
  }
};

namespace {

// Launch threads still running, counted so that the process does not end under one.
std::atomic<int> launchesUnderway{0};

bool StopRequested(void* context) { return static_cast<SingleLaunch*>(context)->stop.load(); }

unsigned __stdcall LaunchThread(void* argument) {
  auto* launch = static_cast<SingleLaunch*>(argument);
  {
    shell_calls::ComForThisThread com;
    // The thread ends after this launch: the shell must finish its work before returning.
    launch->launched =
        StartThroughShell(launch->setting, launch->owner, SEE_MASK_NOASYNC, StopRequested, launch);
  }
  launch->Release();
  --launchesUnderway;
  return 0;
}

}  // namespace

bool MainWindow::EndLaunchWait() {
  if (launchWait == nullptr) return false;
  launchWait->stop = true;
  return true;
}

bool MainWindow::RunLaunch(const LaunchSetting& setting) {
  auto* launch = new (std::nothrow) SingleLaunch;
  if (launch == nullptr) return false;
  launch->setting = setting;
  launch->owner = dialog;
  ++launchesUnderway;
  uintptr_t thread = _beginthreadex(nullptr, 0, LaunchThread, launch, 0, nullptr);
  if (thread == 0) {
    --launchesUnderway;
    delete launch;
    ModalScope modal;
    return StartThroughShell(setting, dialog, 0, nullptr, nullptr);
  }
  {
    // No command may change the list meanwhile, and a close waits for the end, as with a box.
    ModalScope modal;
    launchWait = launch;
    PumpMessagesUntil(dialog, reinterpret_cast<HANDLE>(thread), INFINITE, StopRequested, launch);
    launchWait = nullptr;
  }
  // Esc, a quit message or a failed wait end the pump while the shell may still be starting the
  // program: that launch counts as done, and its thread stops waiting once it is.
  bool finished = WaitForSingleObject(reinterpret_cast<HANDLE>(thread), 0) == WAIT_OBJECT_0;
  if (!finished) launch->stop = true;
  CloseHandle(reinterpret_cast<HANDLE>(thread));
  bool launched = !finished || launch->launched.load();
  launch->Release();
  return launched;
}

void FinishLaunchesUnderway(DWORD mostMs) {
  // Pumping: a shell request may need this thread's windows to finish.
  PumpMessagesUntil(nullptr, nullptr, mostMs, [](void*) { return launchesUnderway.load() == 0; });
}

bool MainWindow::LaunchSelected() {
  HWND button = Control(IDC_LAUNCH_ONE);
  // Disabled outside Idle, and while a launch of this command is under way.
  if (!IsWindowEnabled(button)) return false;
  if (list->count() <= 0) {
    ShowMessage(dialog, texts::kNoSettingsText, texts::kLaunchOneNoSettingsCaption,
                MB_OK | MB_ICONWARNING);
    return false;
  }
  LRESULT selected = SendMessageW(Control(IDC_SETTING_LIST), LB_GETCURSEL, 0, 0);
  if (selected == LB_ERR) {
    ShowMessage(dialog, texts::kNotSelectedText, texts::kLaunchOneNotSelectedCaption,
                MB_OK | MB_ICONWARNING);
    return false;
  }
  currentIndex = static_cast<int32_t>(selected);
  LaunchSetting setting;
  if (!list->Get(currentIndex, &setting)) {
    ShowMessageWithNumber(dialog, texts::kInvalidSettingFormat, currentIndex, texts::kErrorCaption,
                          MB_OK | MB_ICONERROR);
    return false;
  }

  // The focus leaves the button before it is disabled, for the row being launched, so that the
  // keyboard (Esc among it) still works; it comes back with the button.
  HWND listBox = Control(IDC_SETTING_LIST);
  bool buttonHadFocus = GetFocus() == button;
  if (buttonHadFocus) FocusControl(IDC_SETTING_LIST);
  EnableWindow(button, FALSE);
  bool launched = RunLaunch(setting);
  if (!launched) {
    ShowMessageWithName(dialog, texts::kLaunchFailedFormat, setting.name,
                        texts::kLaunchFailedCaption, MB_OK | MB_ICONERROR);
  }
  EnableWindow(button, TRUE);
  if (buttonHadFocus && (GetFocus() == listBox || GetFocus() == nullptr)) GiveFocusBack(button);
  // A row picked meanwhile is shown now: its selection change was held off during the wait.
  if (SelectedRow() != currentIndex) ShowSelected();
  return launched;
}
