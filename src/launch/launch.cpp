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

}  // namespace

bool LaunchSettingList::Launch(int32_t index) const {
  LaunchSetting setting;
  if (!Get(index, &setting)) return false;

  SHELLEXECUTEINFOA request = {};
  request.cbSize = sizeof request;
  request.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
  request.lpFile = setting.path;
  request.lpParameters = setting.options;
  request.nShow = ShowCommandFor(setting.windowState);
  if (!shell_calls::ShellExecuteExA(&request)) return false;

  // A document taken by a running program gives no process handle; the launch still counts.
  WaitForInputIdle(request.hProcess, INFINITE);
  CloseHandle(request.hProcess);
  return true;
}
