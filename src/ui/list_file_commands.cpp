// List file commands and the window title; only the close question is built yet.
#include "resource.h"
#include "ui/main_window.h"
#include "ui/message_box.h"
#include "ui/texts.h"

bool MainWindow::NewList() { return false; }
bool MainWindow::LoadList() { return false; }
bool MainWindow::SaveList() { return false; }
void MainWindow::UpdateTitle() {}

bool MainWindow::ConfirmClose() {
  UiMode current = mode.load();
  if (current == UiMode::Batch || current == UiMode::BatchEnd) return false;
  if (list->modified()) {
    switch (ShowMessage(dialog, texts::kSaveBeforeExitText, texts::kSaveBeforeExitCaption,
                        MB_YESNOCANCEL | MB_ICONQUESTION)) {
      case IDYES:
        if (!SaveList()) return false;
        break;
      case IDNO:
        break;
      default:
        return false;
    }
  }
  EndDialog(dialog, IDCANCEL);
  return true;
}
