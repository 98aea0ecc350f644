// List file commands, the close question and the window title.
#include <cstring>
#include <memory>
#include <new>

#include "resource.h"
#include "store/file_layer.h"
#include "store/wide_path.h"
#include "ui/choice_dialog.h"
#include "ui/main_window.h"
#include "ui/message_box.h"
#include "ui/message_pump.h"
#include "ui/modal_scope.h"
#include "ui/shell_calls.h"
#include "ui/text_format.h"
#include "ui/texts.h"
#include "ui/title_text.h"

namespace {

// The units of a path the file dialogs take: as many as the list keeps.
constexpr DWORD kDialogPathUnits = 1024;

// The file-name buffer of the open dialog, kept for the whole run.
wchar_t lastLoadPath[kDialogPathUnits] = L"";

int32_t RunChoice(MainWindow* window, const wchar_t* title, const wchar_t* first,
                  const wchar_t* second) {
  ChoiceDialogParams params(title, first, second);
  ModalScope modal;
  DialogBoxParamW(window->instance, MAKEINTRESOURCEW(IDD_CHOICE), window->dialog, ChoiceDialogProc,
                  reinterpret_cast<LPARAM>(&params));
  return params.result;
}

// The classic structure without the trailing extension fields, at this architecture's size.
OPENFILENAMEW ListFileDialog(HWND owner, wchar_t* buffer, DWORD size, const wchar_t* title,
                             DWORD flags) {
  OPENFILENAMEW dialog = {};
  dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = texts::kListFileFilter;
  dialog.lpstrFile = buffer;
  dialog.nMaxFile = size;
  dialog.lpstrTitle = title;
  dialog.lpstrDefExt = texts::kListFileExtension;
  dialog.Flags = flags;
  return dialog;
}

// The open and save dialogs move the process's current folder to the chosen file's, and every
// later launch would inherit it; programs must inherit the folder the launcher started in.
class CurrentFolderKept {
 public:
  CurrentFolderKept() {
    DWORD size = GetCurrentDirectoryW(0, nullptr);
    saved_.reset(new (std::nothrow) wchar_t[size]);
    if (saved_ && GetCurrentDirectoryW(size, saved_.get()) == 0) saved_.reset();
  }
  ~CurrentFolderKept() {
    if (saved_) SetCurrentDirectoryW(saved_.get());
  }
  CurrentFolderKept(const CurrentFolderKept&) = delete;
  CurrentFolderKept& operator=(const CurrentFolderKept&) = delete;

 private:
  std::unique_ptr<wchar_t[]> saved_;  // wide: the folder's name need not fit code page 932
};

bool RunFileDialog(OPENFILENAMEW* request, BOOL (*run)(OPENFILENAMEW*)) {
  CurrentFolderKept folder;
  ModalScope modal;
  if (shell_calls::seeFileRequest != nullptr) shell_calls::seeFileRequest(request);
  return run(request) != FALSE;
}

bool IsExistingFolder(const char* prefix, void*) {
  std::unique_ptr<wchar_t[]> wide = WidePath(prefix);
  DWORD attributes = wide ? GetFileAttributesW(wide.get()) : INVALID_FILE_ATTRIBUTES;
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

ListFileWork::ListFileWork(MainWindow* window) : window_(window), hold_(Wait, this) {
  window->listFileWork = this;
}

ListFileWork::~ListFileWork() {
  Refuse(false);
  window_->listFileWork = nullptr;
  // Done: only changes not yet saved still hold up the session's end.
  if (!window_->list->modified()) window_->ShowShutdownReason(nullptr);
}

void ListFileWork::Wait(void* work, unsigned ms) {
  auto* self = static_cast<ListFileWork*>(work);
  self->Refuse(true);
  PumpMessagesUntil(self->window_->dialog, nullptr, ms);
}

void ListFileWork::Refuse(bool refuse) {
  if (refuse == refusing_) return;
  refusing_ = refuse;
  // Disabling takes the focus away; it is given back afterwards.
  if (refuse) focus_ = GetFocus();
  HWND dialog = window_->dialog;
  EnableWindow(dialog, refuse ? FALSE : TRUE);
  // Without the style the shell shows a drop refused rather than letting it fall unheard.
  for (int id : kDropTargets) {
    HWND control = window_->Control(id);
    LONG_PTR style = GetWindowLongPtrW(control, GWL_EXSTYLE);
    SetWindowLongPtrW(control, GWL_EXSTYLE,
                      refuse ? style & ~WS_EX_ACCEPTFILES : style | WS_EX_ACCEPTFILES);
  }
  if (!refuse) window_->GiveFocusBack(focus_);
  // The cursor as the window now sets it, rather than at the mouse's next move. Windows shows the
  // cursor of the thread whose window is under it: elsewhere this changes nothing.
  SendMessageW(dialog, WM_SETCURSOR, reinterpret_cast<WPARAM>(dialog),
               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

std::unique_ptr<wchar_t[]> MainWindow::TitleText() const {
  const char* path = list->filePath();
  std::unique_ptr<wchar_t[]> name =
      path[0] == '\0' ? nullptr : WidePath(path + TitleNameStart(path, IsExistingFolder, nullptr));
  // Built by hand, so a long path is not cut at wsprintfW's 1024 characters.
  return FormatWithText(texts::kTitleFormat, name ? name.get() : texts::kUntitled);
}

void MainWindow::UpdateTitle() {
  if (std::unique_ptr<wchar_t[]> text = TitleText()) title = std::move(text);
  RestoreTitle();
}

void MainWindow::RestoreTitle() {
  if (title) SetWindowTextW(dialog, title.get());
}

bool MainWindow::NewList() {
  if (ShowMessage(dialog, texts::kDiscardListText, texts::kDiscardListCaption,
                  MB_YESNO | MB_ICONWARNING) == IDNO) {
    return false;
  }
  list->Clear();
  SendMessageW(Control(IDC_SETTING_LIST), LB_RESETCONTENT, 0, 0);
  UpdateHorizontalExtent();  // no rows: nothing is measured
  ClearFields();
  currentIndex = -1;  // the row a command worked on is gone
  UpdateTitle();
  return true;
}

bool MainWindow::LoadList() {
  int32_t choice =
      RunChoice(this, texts::kLoadChoiceTitle, texts::kLoadAppend, texts::kLoadReplace);
  if (choice != IDC_CHOICE_FIRST && choice != IDC_CHOICE_SECOND) return false;
  if (!ChooseOpenPath(lastLoadPath, kDialogPathUnits)) return false;
  std::unique_ptr<char[]> path = Utf8Path(lastLoadPath);
  bool loaded;
  {
    ListFileWork work(this);
    loaded =
        path && list->LoadFromFile(path.get(), kListFileSignature, choice == IDC_CHOICE_SECOND);
  }
  // A load that fails part-way has changed the list too: show what it now holds.
  RefillList();
  ClearFields();
  currentIndex = -1;  // the rows were rebuilt: none is the one a command worked on
  UpdateTitle();
  if (!loaded) {
    ShowMessage(dialog, texts::kLoadFailedText, texts::kLoadFailedCaption, MB_ICONERROR);
  }
  return loaded;
}

bool MainWindow::SaveList() {
  std::unique_ptr<char[]> path(new (std::nothrow) char[LaunchSettingList::kFilePathSize]);
  if (!path) return false;
  std::memcpy(path.get(), list->filePath(), LaunchSettingList::kFilePathSize);
  bool chooseName = path[0] == '\0';
  if (!chooseName) {
    int32_t choice =
        RunChoice(this, texts::kSaveChoiceTitle, texts::kSaveOverwrite, texts::kSaveAs);
    if (choice != IDC_CHOICE_FIRST && choice != IDC_CHOICE_SECOND) return false;
    chooseName = choice == IDC_CHOICE_SECOND;
  }
  if (chooseName) {
    // The dialog starts from the list's own file, and takes a path as long as the list keeps.
    wchar_t chosen[kDialogPathUnits] = L"";
    std::unique_ptr<wchar_t[]> current = WidePath(path.get());
    if (current && wcslen(current.get()) < kDialogPathUnits) wcscpy(chosen, current.get());
    if (!ChooseSavePath(chosen, kDialogPathUnits)) return false;
    path = Utf8Path(chosen);
    if (!path) return false;
  }
  bool saved;
  {
    ListFileWork work(this);
    saved = list->SaveToFile(path.get(), kListFileSignature);
  }
  if (!saved) {
    ShowMessage(dialog, texts::kSaveFailedText, texts::kSaveFailedCaption, MB_ICONERROR);
    return false;
  }
  UpdateTitle();
  return true;
}

bool MainWindow::ChooseOpenPath(wchar_t* buffer, DWORD size) {
  OPENFILENAMEW request =
      ListFileDialog(dialog, buffer, size, texts::kOpenTitle, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY);
  return RunFileDialog(&request, shell_calls::GetOpenFileNameW);
}

bool MainWindow::ChooseSavePath(wchar_t* buffer, DWORD size) {
  OPENFILENAMEW request = ListFileDialog(dialog, buffer, size, texts::kSaveTitle,
                                         OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY);
  return RunFileDialog(&request, shell_calls::GetSaveFileNameW);
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
