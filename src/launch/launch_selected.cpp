// The single-launch command: the selected row, with every refusal and failure told.
#include "resource.h"
#include "ui/main_window.h"
#include "ui/message_box.h"
#include "ui/modal_scope.h"
#include "ui/texts.h"

bool MainWindow::LaunchSelected() {
  HWND button = Control(IDC_LAUNCH_ONE);
  // Disabled outside Idle, and while a launch of this command is under way.
  if (!IsWindowEnabled(button)) return false;
  if (list->count() <= 0) {
    ShowMessage(dialog, texts::kNoSettingsText, texts::kLaunchOneNoSettingsCaption,
                MB_OK | MB_ICONWARNING);
    return false;
  }
  LRESULT selected = SendMessageA(Control(IDC_SETTING_LIST), LB_GETCURSEL, 0, 0);
  if (selected == LB_ERR) {
    ShowMessage(dialog, texts::kNotSelectedText, texts::kLaunchOneNotSelectedCaption,
                MB_OK | MB_ICONWARNING);
    return false;
  }
  currentIndex = static_cast<int32_t>(selected);

  EnableWindow(button, FALSE);
  bool launched;
  {
    // The shell may talk to a handler through COM or DDE, which pumps this thread's messages.
    ModalScope modal;
    launched = list->Launch(currentIndex);
  }
  if (!launched) {
    LaunchSetting setting;
    if (list->Get(currentIndex, &setting)) {
      ShowMessageWithName(dialog, texts::kLaunchFailedFormat, setting.name,
                          texts::kLaunchFailedCaption, MB_OK | MB_ICONERROR);
    } else {
      ShowMessageWithNumber(dialog, texts::kInvalidSettingFormat, currentIndex,
                            texts::kErrorCaption, MB_OK | MB_ICONERROR);
    }
  }
  EnableWindow(button, TRUE);
  return launched;
}
