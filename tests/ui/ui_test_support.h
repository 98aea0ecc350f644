// Drives the real main dialog: hosts it and records what the dialog receives.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "resource.h"
#include "support/answerer.h"
#include "support/cp932_text.h"
#include "ui/main_window.h"

// The main dialog from the real template and dialog procedure, modeless so a test can drive it.
class MainDialogHost {
 public:
  MainDialogHost();
  ~MainDialogHost();
  HWND dialog() const { return dialog_; }
  MainWindow* window() const { return mainWindow; }
  HWND Control(int id) const { return GetDlgItem(dialog_, id); }

  // A click as the control's parent receives it.
  void Click(int id);
  void ListNotify(int notification);
  // A key through the dialog manager, as the message loop would hand it over where Windows sends
  // it.
  void Key(UINT message, WPARAM key, LPARAM flags = 0);
  // Fills the list and the list box with settings named name0, name1, ...
  void AddSettings(int count, const char* path = "C:\\windows\\notepad.exe");
  std::vector<std::string> Rows() const { return ListRows(Control(IDC_SETTING_LIST)); }
  // A row picked in the list, as a click on it tells the dialog; the one selected, or LB_ERR.
  void Select(int row);
  int Selection() const {
    return static_cast<int>(SendMessageW(Control(IDC_SETTING_LIST), LB_GETCURSEL, 0, 0));
  }
  bool IsEnabled(int id) const { return IsWindowEnabled(Control(id)) != FALSE; }
  std::string Text(int id) const;
  bool Topmost() const;

 private:
  HWND dialog_;
};

// Every WM_COMMAND that reaches the dialog while it lives, and every caption it is given.
class CommandRecorder {
 public:
  explicit CommandRecorder(HWND dialog);
  ~CommandRecorder();
  std::vector<int> ids() const { return ids_; }
  const std::vector<std::string>& captions() const { return captions_; }
  // Only IDOK and IDCANCEL: the commands the keyboard makes, without controls' notifications.
  std::vector<int> keyCommands() const;

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
  HHOOK hook_;
  HWND dialog_;
  std::vector<int> ids_;
  std::vector<std::string> captions_;
};

// A real drop block, as the shell hands it over, of UTF-8 paths: in the system's code page or,
// as Explorer's drops carry them, in Unicode.
HDROP MakeDrop(const std::vector<std::string>& files, bool wide);

// Text on the clipboard, as a copy in another program puts it there.
bool PutOnClipboard(HWND owner, const std::wstring& text);

// A press and release of the left button on a control, as the mouse gives them: a button takes
// the focus, and clicks.
void RealClick(HWND control);

// A key as Windows delivers it to the dialog's thread: to the focused window, or with none, to
// the active window as a system key, which the dialog manager does not read.
MSG KeyAsWindowsSendsIt(HWND dialog, UINT message, WPARAM key, LPARAM flags);
// Whether the keyboard reaches something on the dialog's thread: its focus is on an enabled,
// visible control, or on the dialog itself.
bool FocusUsable(HWND dialog);
// Posts a key's press and release from any thread, as Windows delivers them.
void PostKey(HWND dialog, WPARAM key);

// Whether the tests run under Wine rather than Windows, which some checks need.
inline bool UnderWine() {
  return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// Wine's folder browser (Wine 8, seen at code page 1252) never selects a path with a name the
// system's code page cannot spell; Windows' does.
constexpr char kWineCannotBrowseThere[] =
    "Wine's folder browser cannot select a path the system's code page cannot spell";
inline bool WineCannotBrowseTo(const std::string& path) {
  std::wstring wide = Wide932(path, CP_UTF8);
  return UnderWine() && Wide932(Narrow932(wide, CP_ACP), CP_ACP) != wide;
}
