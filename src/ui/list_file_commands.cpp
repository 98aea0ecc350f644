// List file commands and the window title; the title and the close question are built so far.
#include "resource.h"
#include "ui/main_window.h"
#include "ui/message_box.h"
#include "ui/text_format.h"
#include "ui/texts.h"
#include "ui/title_text.h"

bool MainWindow::NewList() { return false; }
bool MainWindow::LoadList() { return false; }
bool MainWindow::SaveList() { return false; }
namespace {

bool IsExistingFolder(const char* prefix, void*) {
  DWORD attributes = GetFileAttributesA(prefix);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

void MainWindow::UpdateTitle() {
  const char* path = list->filePath();
  const char* name =
      path[0] == '\0' ? texts::kUntitled : path + TitleNameStart(path, IsExistingFolder, nullptr);
  // Built by hand, so a long path is not cut at wsprintfA's 1024 bytes.
  std::unique_ptr<char[]> title = FormatWithText(texts::kTitleFormat, name);
  if (title) SetWindowTextA(dialog, title.get());
}

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
