// Keeps the list box rows and the entry pane in step with the list.
#include <cstring>
#include <memory>
#include <new>

#include "resource.h"
#include "ui/cp932.h"
#include "ui/main_window.h"
#include "ui/message_box.h"
#include "ui/texts.h"

namespace {

// A row's text, with room for one more unit; null when there is no such row or it is longer than
// most units (what the list box tells may be more than the text's length, never less).
std::unique_ptr<wchar_t[]> RowText(HWND listBox, int row, size_t most, size_t* length) {
  LRESULT told = SendMessageW(listBox, LB_GETTEXTLEN, row, 0);
  if (told == LB_ERR || static_cast<size_t>(told) > most) return nullptr;
  // LB_GETTEXT takes no size: the buffer is sized by what the list box told.
  std::unique_ptr<wchar_t[]> text(new (std::nothrow) wchar_t[told + 2]());
  if (!text ||
      SendMessageW(listBox, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text.get())) == LB_ERR) {
    return nullptr;
  }
  *length = wcsnlen(text.get(), static_cast<size_t>(told));
  return text;
}

// Twice a name's bytes: each unit is at least one byte, and the told length may be doubled.
constexpr size_t kLongestRow = 2 * (sizeof LaunchSetting::name - 1);

void SetText(HWND window, const char* text) {
  std::unique_ptr<wchar_t[]> wide = cp932::ToWide(text);
  SetWindowTextW(window, wide ? wide.get() : L"");
}

}  // namespace

bool MainWindow::ReadRow(int row, char* text, size_t size) const {
  text[0] = '\0';
  size_t length = 0;
  std::unique_ptr<wchar_t[]> wide = RowText(Control(IDC_SETTING_LIST), row, kLongestRow, &length);
  if (!wide) return false;
  size_t bytes = 0;
  std::unique_ptr<char[]> narrow = cp932::FromWide(wide.get(), length, &bytes);
  if (!narrow || bytes >= size) return false;
  std::memcpy(text, narrow.get(), bytes + 1);
  return true;
}

bool MainWindow::InsertRow(int row, const char* name) {
  std::unique_ptr<wchar_t[]> wide = cp932::ToWide(name);
  LRESULT answer = SendMessageW(Control(IDC_SETTING_LIST), LB_INSERTSTRING, row,
                                reinterpret_cast<LPARAM>(wide ? wide.get() : L""));
  return answer != LB_ERR && answer != LB_ERRSPACE;
}

bool MainWindow::ClearFields() {
  SetWindowTextW(Control(IDC_NAME), L"");
  SetWindowTextW(Control(IDC_PATH), L"");
  SetWindowTextW(Control(IDC_OPTIONS), L"");
  SendMessageW(Control(IDC_WINDOW_STATE), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  SendMessageW(Control(IDC_ENABLED), BM_SETCHECK, BST_UNCHECKED, 0);
  return true;
}

void MainWindow::ShowSetting(const LaunchSetting& setting) {
  SetText(Control(IDC_NAME), setting.name);
  SetText(Control(IDC_PATH), setting.path);
  SetText(Control(IDC_OPTIONS), setting.options);
  SendMessageW(Control(IDC_WINDOW_STATE), CB_SETCURSEL, setting.windowState, 0);
  SendMessageW(Control(IDC_ENABLED), BM_SETCHECK, setting.enabled ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool MainWindow::SelectRow(int index) {
  // The list box answers LB_ERR to -1 although it removed the selection.
  LRESULT answer = SendMessageW(Control(IDC_SETTING_LIST), LB_SETCURSEL, index, 0);
  return index == -1 || answer != LB_ERR;
}

void MainWindow::RefillList() {
  SendMessageW(Control(IDC_SETTING_LIST), LB_RESETCONTENT, 0, 0);
  int32_t count = list->count();
  for (int32_t i = 0; i < count; ++i) {
    LaunchSetting setting;
    if (list->Get(i, &setting)) InsertRow(i, setting.name);
  }
  UpdateHorizontalExtent();
}

void MainWindow::UpdateHorizontalExtent() {
  HWND listBox = Control(IDC_SETTING_LIST);
  LRESULT rows = SendMessageW(listBox, LB_GETCOUNT, 0, 0);
  if (rows == LB_ERR || rows == 0) {
    // Nothing to measure, and no device context to make for it (an empty list at start-up).
    SendMessageW(listBox, LB_SETHORIZONTALEXTENT, 0, 0);
    return;
  }
  HDC screen = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
  HGDIOBJ previousFont =
      SelectObject(screen, reinterpret_cast<HGDIOBJ>(SendMessageW(listBox, WM_GETFONT, 0, 0)));
  LONG widest = 0;
  for (LRESULT row = 0; row < rows; ++row) {
    size_t length = 0;
    std::unique_ptr<wchar_t[]> text = RowText(listBox, static_cast<int>(row), kLongestRow, &length);
    if (!text) continue;
    text[length] = L' ';  // so the last letter is not flush with the edge
    SIZE extent = {};
    GetTextExtentPoint32W(screen, text.get(), static_cast<int>(length + 1), &extent);
    if (extent.cx > widest) widest = extent.cx;
  }
  SelectObject(screen, previousFont);
  DeleteDC(screen);
  SendMessageW(listBox, LB_SETHORIZONTALEXTENT, widest, 0);
}

bool MainWindow::ShowSelected() {
  HWND listBox = Control(IDC_SETTING_LIST);
  currentIndex = static_cast<int32_t>(SendMessageW(listBox, LB_GETCURSEL, 0, 0));
  std::memset(&editBuffer, 0, sizeof editBuffer);
  if (list->Get(currentIndex, &editBuffer)) {
    ShowSetting(editBuffer);
    return true;
  }
  ReadRow(currentIndex, editBuffer.name, sizeof editBuffer.name);
  ShowMessageWithName(dialog, texts::kReadSettingFailedFormat, editBuffer.name,
                      texts::kErrorCaption, MB_OK | MB_ICONERROR);
  return false;
}
