// What a person sees of kmlaunch on the screen, for the end-to-end test: where a control or a list
// row is, the rows the list shows, and the open message boxes' texts. It only looks at windows,
// as an accessibility tool would; every action is the test's own X input.
//
//   screen_reader center ID [CAPTION]  screen point at the middle of control ID
//   screen_reader text ID [CAPTION]    the text that control ID shows
//   screen_reader row N                screen point at the middle of list row N
//   screen_reader rows                 the list's rows, one a line
//   screen_reader boxes                each open message box as caption TAB text
//   screen_reader close-probes         closes every probe program, as its close box would
// CAPTION names another window than the main one, for instance an open box or dialog.
#include <windows.h>

#include <shellapi.h>

#include <cwchar>
#include <string>

#include "resource.h"
#include "support/tool_output.h"

namespace {

void Print(const std::wstring& text) { WriteOut(Utf8(text) + "\n"); }

// By WM_GETTEXT: for another process's window GetWindowText gives only the caption it was created
// or set with, never what was typed into an edit box.
std::wstring TextOf(HWND window) {
  wchar_t text[4096] = {};
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                      2000, &copied);
  return text;
}

bool IsMessageBox(HWND window) {
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  return std::wcscmp(className, L"#32770") == 0 && GetDlgItem(window, 0xFFFF) != nullptr;
}

// The main window: the visible dialog whose caption begins with the product name.
BOOL CALLBACK FindMain(HWND window, LPARAM found) {
  // By its list, not its caption: during a batch the caption leads with the progress.
  if (IsWindowVisible(window) && !IsMessageBox(window) &&
      GetDlgItem(window, IDC_SETTING_LIST) != nullptr) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK PrintBox(HWND window, LPARAM) {
  if (IsWindowVisible(window) && IsMessageBox(window)) {
    Print(TextOf(window) + L"\t" + TextOf(GetDlgItem(window, 0xFFFF)));
  }
  return TRUE;
}

void PrintPoint(HWND window, POINT point) {
  ClientToScreen(window, &point);
  Print(std::to_wstring(point.x) + L" " + std::to_wstring(point.y));
}

}  // namespace

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv == nullptr || argc < 2) return 2;
  std::wstring command = argv[1];
  if (command == L"close-probes") {
    EnumWindows(CloseProbe, 0);
    return 0;
  }
  if (command == L"boxes") {
    EnumWindows(PrintBox, 0);
    return 0;
  }
  HWND main = nullptr;
  if (argc == 4) {
    main = FindWindowW(nullptr, argv[3]);
  } else {
    EnumWindows(FindMain, reinterpret_cast<LPARAM>(&main));
  }
  if (main == nullptr) return 1;
  HWND list = GetDlgItem(main, IDC_SETTING_LIST);
  HWND control = argc >= 3 ? GetDlgItem(main, _wtoi(argv[2])) : nullptr;
  if (command == L"center" && control != nullptr) {
    RECT rect;
    GetClientRect(control, &rect);
    PrintPoint(control, {rect.right / 2, rect.bottom / 2});
    return 0;
  }
  if (command == L"text" && control != nullptr) {
    Print(TextOf(control));
    return 0;
  }
  if (command == L"row" && argc == 3) {
    int row = _wtoi(argv[2]);
    int top = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
    int height = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
    PrintPoint(list, {20, (row - top) * height + height / 2});
    return 0;
  }
  if (command == L"rows") {
    int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
      // The W form: between processes Wine hands back only the first byte of the A form.
      int length = static_cast<int>(SendMessageW(list, LB_GETTEXTLEN, row, 0));
      std::wstring text(length + 1, L'\0');
      SendMessageW(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text.data()));
      text.resize(std::wcslen(text.c_str()));  // the length asked for may be the ANSI one
      Print(text);
    }
    return 0;
  }
  return 2;
}
