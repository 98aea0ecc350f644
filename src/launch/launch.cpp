// Starting one setting through the shell's default action, and waiting until it takes input.
#include "launch/start_through_shell.h"

#include <memory>

#include "ui/cp932.h"
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

// Slices of a stoppable wait: a stop is seen within this time.
constexpr DWORD kStopCheckMs = 100;

}  // namespace

bool StartThroughShell(const LaunchSetting& setting, HWND owner, ULONG extraMask,
                       LaunchSettingList::StopCheck stopRequested, void* context) {
  std::unique_ptr<wchar_t[]> path = cp932::ToWide(setting.path);
  std::unique_ptr<wchar_t[]> options = cp932::ToWide(setting.options);
  if (!path || !options) return false;

  SHELLEXECUTEINFOW request = {};
  request.cbSize = sizeof request;
  request.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | extraMask;
  // A UAC prompt or the shell's own window then comes up in front of the launcher.
  request.hwnd = owner;
  request.lpFile = path.get();
  request.lpParameters = options.get();
  request.nShow = ShowCommandFor(setting.windowState);
  if (!shell_calls::ShellExecuteExW(&request)) return false;

  // A document taken by a running program gives no process handle; the launch still counts.
  if (request.hProcess == nullptr) return true;
  if (stopRequested == nullptr) {
    WaitForInputIdle(request.hProcess, INFINITE);
  } else {
    // Still no time-out, but a program that never reads its messages must not hold anyone.
    while (WaitForInputIdle(request.hProcess, kStopCheckMs) == WAIT_TIMEOUT &&
           !stopRequested(context)) {
    }
  }
  CloseHandle(request.hProcess);
  return true;
}

bool LaunchSettingList::Launch(int32_t index) const {
  LaunchSetting setting;
  return Get(index, &setting) && StartThroughShell(setting, nullptr, 0, nullptr, nullptr);
}
