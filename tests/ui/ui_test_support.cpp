// Hosting and recording for the dialog tests.
#include "ui_test_support.h"

#include <shlobj.h>

#include <cstdio>
#include <cstring>

#include "resource.h"
#include "support/cp932_text.h"

namespace {

CommandRecorder* activeRecorder = nullptr;

}  // namespace

MainDialogHost::MainDialogHost() {
  static DialogStart start = {GetModuleHandleA(nullptr)};
  dialog_ = CreateDialogParamW(start.instance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, MainDialogProc,
                               reinterpret_cast<LPARAM>(&start));
  ShowWindow(dialog_, SW_SHOW);
  // A program an earlier test started may have taken the foreground; a person's window has it.
  SetForegroundWindow(dialog_);
  PumpMessages();
}

MainDialogHost::~MainDialogHost() {
  if (mainWindow != nullptr) {
    // Leave without any question: the tests' lists are scratch.
    mainWindow->mode = UiMode::Idle;
    mainWindow->list->Clear();
    SendMessageW(dialog_, WM_CLOSE, 0, 0);
  }
  DestroyWindow(dialog_);
  PumpMessages();
}

void MainDialogHost::Click(int id) {
  SendMessageW(dialog_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(Control(id)));
}

void RealClick(HWND control) {
  SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  SendMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

void MainDialogHost::ListNotify(int notification) {
  SendMessageW(dialog_, WM_COMMAND, MAKEWPARAM(IDC_SETTING_LIST, notification),
               reinterpret_cast<LPARAM>(Control(IDC_SETTING_LIST)));
}

MSG KeyAsWindowsSendsIt(HWND dialog, UINT message, WPARAM key, LPARAM flags) {
  GUITHREADINFO thread = {};
  thread.cbSize = sizeof thread;
  GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &thread);
  MSG msg = {};
  msg.hwnd = thread.hwndFocus;
  msg.message = message;
  msg.wParam = key;
  msg.lParam = flags;
  if (msg.hwnd == nullptr) {
    // With no window focused, keys go to the active window as system keys.
    msg.hwnd = thread.hwndActive;
    msg.message = message == WM_KEYDOWN ? WM_SYSKEYDOWN
                  : message == WM_KEYUP ? WM_SYSKEYUP
                  : message == WM_CHAR  ? WM_SYSCHAR
                                        : message;
  }
  return msg;
}

bool FocusUsable(HWND dialog) {
  GUITHREADINFO thread = {};
  thread.cbSize = sizeof thread;
  GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &thread);
  // The window itself is disabled only while a box of its own, which has the keys, is open.
  return thread.hwndFocus != nullptr && IsWindowVisible(thread.hwndFocus) &&
         (IsWindowEnabled(thread.hwndFocus) || thread.hwndFocus == dialog);
}

void PostKey(HWND dialog, WPARAM key) {
  for (UINT message : {WM_KEYDOWN, WM_KEYUP}) {
    MSG msg = KeyAsWindowsSendsIt(dialog, message, key, message == WM_KEYUP ? 0xC0000001 : 1);
    PostMessageW(msg.hwnd, msg.message, msg.wParam, msg.lParam);
  }
}

void MainDialogHost::Key(UINT message, WPARAM key, LPARAM flags) {
  MSG msg = KeyAsWindowsSendsIt(dialog_, message, key, flags);
  if (!IsDialogMessageW(dialog_, &msg)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  PumpMessages();
}

void MainDialogHost::AddSettings(int count, const char* path) {
  for (int i = 0; i < count; ++i) {
    LaunchSetting setting = {};
    std::snprintf(setting.name, sizeof setting.name, "name%d", i);
    std::snprintf(setting.path, sizeof setting.path, "%s", path);
    setting.enabled = 1;
    mainWindow->list->Put(-1, setting);
  }
  mainWindow->RefillList();
}

void MainDialogHost::Select(int row) {
  SendMessageW(Control(IDC_SETTING_LIST), LB_SETCURSEL, row, 0);
  ListNotify(LBN_SELCHANGE);
}

std::string MainDialogHost::Text(int id) const { return WindowText932(Control(id)); }

bool MainDialogHost::Topmost() const {
  return (GetWindowLongPtrA(dialog_, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

CommandRecorder::CommandRecorder(HWND dialog) : dialog_(dialog) {
  activeRecorder = this;
  hook_ = SetWindowsHookExW(WH_CALLWNDPROC, Hook, nullptr, GetCurrentThreadId());
}

CommandRecorder::~CommandRecorder() {
  UnhookWindowsHookEx(hook_);
  activeRecorder = nullptr;
}

std::vector<int> CommandRecorder::keyCommands() const {
  std::vector<int> keys;
  for (int id : ids_) {
    if (id == IDOK || id == IDCANCEL) keys.push_back(id);
  }
  return keys;
}

LRESULT CALLBACK CommandRecorder::Hook(int code, WPARAM wParam, LPARAM lParam) {
  auto* call = reinterpret_cast<CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && activeRecorder != nullptr && call->hwnd == activeRecorder->dialog_ &&
      call->message == WM_COMMAND) {
    activeRecorder->ids_.push_back(LOWORD(call->wParam));
  }
  if (code == HC_ACTION && activeRecorder != nullptr && call->hwnd == activeRecorder->dialog_ &&
      call->message == WM_SETTEXT) {
    activeRecorder->captions_.push_back(Narrow932(reinterpret_cast<const wchar_t*>(call->lParam)));
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

HDROP MakeDrop(const std::vector<std::string>& files, bool wide) {
  std::vector<char> names;
  for (const std::string& file : files) {
    if (!wide) {
      // The ANSI form carries names in the system's code page, as an ANSI program drops them.
      std::string name = Narrow932(Wide932(file, CP_UTF8), CP_ACP);
      names.insert(names.end(), name.c_str(), name.c_str() + name.size() + 1);
      continue;
    }
    std::wstring name = Wide932(file, CP_UTF8);
    auto* bytes = reinterpret_cast<const char*>(name.c_str());
    names.insert(names.end(), bytes, bytes + (name.size() + 1) * sizeof(wchar_t));
  }
  names.insert(names.end(), wide ? sizeof(wchar_t) : 1, '\0');  // the closing empty name
  HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size());
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = wide;
  std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), names.data(), names.size());
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

bool PutOnClipboard(HWND owner, const std::wstring& text) {
  if (!OpenClipboard(owner)) return false;
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  std::memcpy(GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
  GlobalUnlock(memory);
  bool put = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
  CloseClipboard();
  return put;
}
