// Creating, editing, duplicating, reordering and deleting settings. Each command changes the
// list first and only then the rows it affected, so row i always shows record i.
#include <cstring>

#include "resource.h"
#include "ui/main_window.h"
#include "ui/message_box.h"
#include "ui/texts.h"

namespace {

void Warn(HWND dialog, const wchar_t* text, const wchar_t* caption) {
  ShowMessage(dialog, text, caption, MB_OK | MB_ICONWARNING);
}

}  // namespace

int MainWindow::SelectedRow() const {
  return static_cast<int>(SendMessageW(Control(IDC_SETTING_LIST), LB_GETCURSEL, 0, 0));
}

bool MainWindow::FetchRowIntoEditBuffer(int row) {
  currentIndex = row;
  std::memset(&editBuffer, 0, sizeof editBuffer);
  if (list->Get(currentIndex, &editBuffer)) return true;
  ReadRow(currentIndex, editBuffer.name, sizeof editBuffer.name);
  ShowMessageWithName(dialog, texts::kReadSettingFailedFormat, editBuffer.name,
                      texts::kErrorCaption, MB_OK | MB_ICONERROR);
  return false;
}

bool MainWindow::BeginNewEntry() {
  if (list->count() >= list->capacity()) {
    Warn(dialog, texts::kListFullText, texts::kNewFullCaption);
    return false;
  }
  currentIndex = SelectedRow();
  std::memset(&editBuffer, 0, sizeof editBuffer);
  ClearFields();
  SendMessageW(Control(IDC_WINDOW_STATE), CB_SETCURSEL, 0, 0);
  SendMessageW(Control(IDC_ENABLED), BM_SETCHECK, BST_CHECKED, 0);
  SetMode(UiMode::New);
  return true;
}

bool MainWindow::BeginEdit() {
  if (list->count() == 0) {
    Warn(dialog, texts::kNoSettingsText, texts::kEditNoSettingsCaption);
    return false;
  }
  int selected = SelectedRow();
  if (selected == LB_ERR) {
    Warn(dialog, texts::kNotSelectedText, texts::kEditNotSelectedCaption);
    return false;
  }
  if (!FetchRowIntoEditBuffer(selected)) return false;
  ShowSetting(editBuffer);
  SetMode(UiMode::Edit);
  return true;
}

bool MainWindow::DuplicateEntry() {
  if (list->count() == 0) {
    Warn(dialog, texts::kNoSettingsText, texts::kDuplicateNoSettingsCaption);
    return false;
  }
  if (list->count() >= list->capacity()) {
    Warn(dialog, texts::kListFullText, texts::kDuplicateFullCaption);
    return false;
  }
  int selected = SelectedRow();
  if (selected == LB_ERR) {
    Warn(dialog, texts::kNotSelectedText, texts::kDuplicateNotSelectedCaption);
    return false;
  }
  if (!FetchRowIntoEditBuffer(selected)) return false;
  if (!list->InsertAfter(currentIndex, editBuffer)) {
    ShowMessageWithName(dialog, texts::kDuplicateFailedFormat, editBuffer.name,
                        texts::kDuplicateFailedCaption, MB_OK | MB_ICONERROR);
    return false;
  }
  AddRow(currentIndex + 1, editBuffer.name);
  ShowMessageWithName(dialog, texts::kDuplicatedFormat, editBuffer.name, texts::kDuplicatedCaption,
                      MB_OK | MB_ICONINFORMATION);
  return true;
}

bool MainWindow::MoveEntry(int step) {
  if (list->count() == 0) {
    Warn(dialog, texts::kNoSettingsText, texts::kMoveNoSettingsCaption);
    return false;
  }
  int selected = SelectedRow();
  if (selected == LB_ERR) {
    Warn(dialog, texts::kNotSelectedText, texts::kMoveNotSelectedCaption);
    return false;
  }
  currentIndex = selected;
  // Down is the record below moving up.
  if (!list->MoveUp(step < 0 ? selected : selected + 1)) return true;
  HWND listBox = Control(IDC_SETTING_LIST);
  ReadRow(selected, editBuffer.name, sizeof editBuffer.name);
  SendMessageW(listBox, LB_DELETESTRING, selected, 0);
  InsertRow(selected + step, editBuffer.name);
  SelectRow(selected + step);
  return true;
}

bool MainWindow::MoveEntryUp() { return MoveEntry(-1); }

bool MainWindow::MoveEntryDown() { return MoveEntry(+1); }

bool MainWindow::RegisterEntry() {
  std::memset(&editBuffer, 0, sizeof editBuffer);
  // What the setting being edited holds now: a field the user left as shown keeps its stored
  // bytes, even those that code page 932 cannot show and would come back as something else.
  LaunchSetting before = {};
  bool editing = mode.load() == UiMode::Edit && list->Get(currentIndex, &before);
  // A character the list file cannot hold is refused, never stored as something else.
  struct Field {
    int id;
    char* text;
    const char* storedText;  // what the setting held before this edit
    size_t size;
    const wchar_t* refusal;
  } const fields[] = {
      {IDC_NAME, editBuffer.name, before.name, sizeof editBuffer.name, texts::kUnstorableNameText},
      {IDC_PATH, editBuffer.path, before.path, sizeof editBuffer.path, texts::kUnstorablePathText},
      {IDC_OPTIONS, editBuffer.options, before.options, sizeof editBuffer.options,
       texts::kUnstorableOptionsText}};
  for (const Field& field : fields) {
    if (editing && FieldShows(field.id, field.storedText)) {
      std::memcpy(field.text, field.storedText, field.size);
      continue;
    }
    if (!ReadField(field.id, field.text, field.size)) {
      Warn(dialog, field.refusal, texts::kUnstorableCaption);
      return false;
    }
  }
  if (editBuffer.name[0] == '\0' || editBuffer.path[0] == '\0') {
    Warn(dialog, texts::kRequiredText, texts::kRequiredCaption);
    return false;
  }
  LRESULT windowState = SendMessageW(Control(IDC_WINDOW_STATE), CB_GETCURSEL, 0, 0);
  if (windowState == CB_ERR) {
    Warn(dialog, texts::kWindowStateText, texts::kWindowStateCaption);
    return false;
  }
  editBuffer.windowState = static_cast<int32_t>(windowState);
  editBuffer.enabled = SendMessageW(Control(IDC_ENABLED), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;

  bool isNew = mode.load() == UiMode::New;
  bool stored;
  if (isNew && currentIndex == -1) {
    stored = list->Put(-1, editBuffer);
  } else if (isNew) {
    stored = list->InsertAfter(currentIndex, editBuffer);
  } else {
    stored = list->Put(currentIndex, editBuffer);
  }
  if (!stored) {
    ShowMessageWithName(dialog, texts::kRegisterFailedFormat, editBuffer.name,
                        texts::kRegisterFailedCaption, MB_OK | MB_ICONERROR);
    return false;
  }
  int row;
  if (currentIndex == -1) {
    row = list->count() - 1;
  } else if (isNew) {
    row = currentIndex + 1;
  } else {
    row = currentIndex;
    RemoveRow(row);
  }
  AddRow(row, editBuffer.name);
  SelectRow(row);
  ShowMessageWithName(dialog, texts::kRegisteredFormat, editBuffer.name, texts::kRegisteredCaption,
                      MB_OK | MB_ICONINFORMATION);
  SetMode(UiMode::Idle);
  return true;
}

bool MainWindow::CancelEdit() {
  if (ShowMessage(dialog, texts::kCancelEditText, texts::kCancelEditCaption,
                  MB_YESNO | MB_ICONWARNING) == IDNO) {
    return false;
  }
  if (currentIndex == -1) {
    ClearFields();
    SetMode(UiMode::Idle);
    return true;
  }
  std::memset(&editBuffer, 0, sizeof editBuffer);
  if (!list->Get(currentIndex, &editBuffer)) {
    ClearFields();
    ShowMessageWithNumber(dialog, texts::kRestoreFailedFormat, currentIndex, texts::kErrorCaption,
                          MB_OK | MB_ICONERROR);
    SetMode(UiMode::Idle);
    return false;
  }
  ShowSetting(editBuffer);
  SetMode(UiMode::Idle);
  return true;
}

bool MainWindow::DeleteEntry() {
  if (list->count() == 0) {
    Warn(dialog, texts::kNoSettingsText, texts::kDeleteNoSettingsCaption);
    return false;
  }
  if (mode.load() == UiMode::Idle) {
    int selected = SelectedRow();
    if (selected == LB_ERR) {
      Warn(dialog, texts::kNotSelectedText, texts::kDeleteNotSelectedCaption);
      return false;
    }
    currentIndex = selected;
    ReadRow(currentIndex, editBuffer.name, sizeof editBuffer.name);
    if (ShowMessageWithName(dialog, texts::kDeleteConfirmFormat, editBuffer.name,
                            texts::kDeleteConfirmCaption, MB_YESNO | MB_ICONWARNING) == IDNO) {
      return false;
    }
    if (!list->Remove(currentIndex)) {
      ShowMessageWithName(dialog, texts::kDeleteFailedFormat, editBuffer.name, texts::kErrorCaption,
                          MB_OK | MB_ICONERROR);
      return false;
    }
  } else {
    if (ShowMessage(dialog, texts::kDeleteEditingText, texts::kDeleteConfirmCaption,
                    MB_YESNO | MB_ICONWARNING) == IDNO) {
      return false;
    }
    if (!list->Remove(currentIndex)) {
      ShowMessage(dialog, texts::kDeleteEditingFailedText, texts::kErrorCaption,
                  MB_OK | MB_ICONERROR);
      return false;
    }
  }
  RemoveRow(currentIndex);
  if (list->count() > 0) {
    if (currentIndex >= list->count()) currentIndex = list->count() - 1;
    SelectRow(currentIndex);
    ShowSelected();
  } else {
    ClearFields();
  }
  SetMode(UiMode::Idle);
  return true;
}
