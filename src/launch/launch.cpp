// Starting one setting through the shell's default action, and waiting until it takes input.
#include "store/launch_setting_list.h"
#include "ui/shell_calls.h"

namespace {

int ShowCommandFor(int32_t windowState) {
  switch (static_cast<WindowState>(windowState)) {
    case WindowState::Minimized:
      return SW_MINIMIZE;
    case WindowState::Maximized:
      return SW_SHOWMAXIMIZED;
    default:
      return SW_RESTORE;
  }
}

// Slices of the batch's wait: a stop is seen within this time.
constexpr DWORD kStopCheckMs = 100;

bool LaunchThroughShell(const LaunchSettingList& list, int32_t index, ULONG extraMask,
                        const std::function<bool()>& stopRequested) {
  LaunchSetting setting;
  if (!list.Get(index, &setting)) return false;

  SHELLEXECUTEINFOA request = {};
  request.cbSize = sizeof request;
  request.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | extraMask;
  request.lpFile = setting.path;
  request.lpParameters = setting.options;
  request.nShow = ShowCommandFor(setting.windowState);
  if (!shell_calls::ShellExecuteExA(&request)) return false;

  // A document taken by a running program gives no process handle; the launch still counts.
  if (request.hProcess == nullptr) return true;
  if (!stopRequested) {
    WaitForInputIdle(request.hProcess, INFINITE);
  } else {
    // Still no time-out, but a program that never reads its messages must not hold the batch.
    while (WaitForInputIdle(request.hProcess, kStopCheckMs) == WAIT_TIMEOUT && !stopRequested()) {
    }
  }
  CloseHandle(request.hProcess);
  return true;
}

}  // namespace

bool LaunchSettingList::Launch(int32_t index) const {
  return LaunchThroughShell(*this, index, 0, nullptr);
}

bool LaunchSettingList::LaunchForBatch(int32_t index,
                                       const std::function<bool()>& stopRequested) const {
  return LaunchThroughShell(*this, index, SEE_MASK_NOASYNC, stopRequested);
}
