// Keeps the list box rows and the entry pane in step with the list.
#include <cstring>
#include <memory>
#include <new>

#include "resource.h"
#include "ui/main_window.h"
#include "ui/message_box.h"
#include "ui/texts.h"

bool MainWindow::ReadRow(int row, char* text, size_t size) const {
  text[0] = '\0';
  HWND listBox = Control(IDC_SETTING_LIST);
  LRESULT length = SendMessageA(listBox, LB_GETTEXTLEN, row, 0);
  // LB_GETTEXT takes no size. What a Unicode list box tells an ANSI caller may be up to twice
  // the text's length (room for two bytes a character), never less: the buffer is sized by it
  // and the text kept up to its NUL. A row too long to be a name even so is not read.
  if (length == LB_ERR || static_cast<size_t>(length) > 2 * (size - 1)) return false;
  size_t room = static_cast<size_t>(length) + 1;
  std::unique_ptr<char[]> whole(new (std::nothrow) char[room]());
  if (!whole) return false;
  if (SendMessageA(listBox, LB_GETTEXT, row, reinterpret_cast<LPARAM>(whole.get())) == LB_ERR) {
    return false;
  }
  size_t got = strnlen(whole.get(), room - 1);
  if (got >= size) return false;
  std::memcpy(text, whole.get(), got + 1);
  return true;
}

bool MainWindow::ClearFields() {
  SetWindowTextA(Control(IDC_NAME), "");
  SetWindowTextA(Control(IDC_PATH), "");
  SetWindowTextA(Control(IDC_OPTIONS), "");
  SendMessageA(Control(IDC_WINDOW_STATE), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  SendMessageA(Control(IDC_ENABLED), BM_SETCHECK, BST_UNCHECKED, 0);
  return true;
}

void MainWindow::ShowSetting(const LaunchSetting& setting) {
  SetWindowTextA(Control(IDC_NAME), setting.name);
  SetWindowTextA(Control(IDC_PATH), setting.path);
  SetWindowTextA(Control(IDC_OPTIONS), setting.options);
  SendMessageA(Control(IDC_WINDOW_STATE), CB_SETCURSEL, setting.windowState, 0);
  SendMessageA(Control(IDC_ENABLED), BM_SETCHECK, setting.enabled ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool MainWindow::SelectRow(int index) {
  // The list box answers LB_ERR to -1 although it removed the selection.
  LRESULT answer = SendMessageA(Control(IDC_SETTING_LIST), LB_SETCURSEL, index, 0);
  return index == -1 || answer != LB_ERR;
}

void MainWindow::RefillList() {
  HWND listBox = Control(IDC_SETTING_LIST);
  SendMessageA(listBox, LB_RESETCONTENT, 0, 0);
  int32_t count = list->count();
  for (int32_t i = 0; i < count; ++i) {
    LaunchSetting setting;
    if (!list->Get(i, &setting)) continue;
    SendMessageA(listBox, LB_INSERTSTRING, i, reinterpret_cast<LPARAM>(setting.name));
  }
  UpdateHorizontalExtent();
}

void MainWindow::UpdateHorizontalExtent() {
  HWND listBox = Control(IDC_SETTING_LIST);
  LRESULT rows = SendMessageA(listBox, LB_GETCOUNT, 0, 0);
  if (rows == LB_ERR) rows = 0;
  HDC screen = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
  HGDIOBJ previousFont =
      SelectObject(screen, reinterpret_cast<HGDIOBJ>(SendMessageA(listBox, WM_GETFONT, 0, 0)));
  LONG widest = 0;
  for (LRESULT row = 0; row < rows; ++row) {
    char text[sizeof LaunchSetting::name + 1];  // the longest name, a space and a NUL
    if (!ReadRow(static_cast<int>(row), text, sizeof text - 1)) continue;
    size_t length = std::strlen(text);
    text[length] = ' ';
    SIZE extent = {};
    GetTextExtentPoint32A(screen, text, static_cast<int>(length + 1), &extent);
    if (extent.cx > widest) widest = extent.cx;
  }
  SelectObject(screen, previousFont);
  DeleteDC(screen);
  SendMessageA(listBox, LB_SETHORIZONTALEXTENT, widest, 0);
}

bool MainWindow::ShowSelected() {
  HWND listBox = Control(IDC_SETTING_LIST);
  currentIndex = static_cast<int32_t>(SendMessageA(listBox, LB_GETCURSEL, 0, 0));
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
