// Hosting, message-box answering and recording for the dialog tests.
#include "ui_test_support.h"

#include <shlobj.h>

#include <cstdio>
#include <cstring>

#include "resource.h"
#include "support/cp932_text.h"

namespace {

MessageBoxAnswerer* activeAnswerer = nullptr;
CommandRecorder* activeRecorder = nullptr;

// Wine's and Windows' message boxes: text in static 0xFFFF; the icon in the static of SS_ICON
// style, whose id is 0x14 on Windows and 0x440 under Wine.
constexpr int kBoxTextId = 0xFFFF;

// At activation the box itself is not shown yet, so only the child's own style tells.
bool HasVisibleStyle(HWND child) { return (GetWindowLongPtrA(child, GWL_STYLE) & WS_VISIBLE) != 0; }

std::string IconName(HWND box) {
  HWND iconControl = nullptr;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t className[16] = {};
    GetClassNameW(child, className, 16);
    if (lstrcmpiW(className, L"Static") == 0 && HasVisibleStyle(child) &&
        (GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
      iconControl = child;
  }
  if (iconControl == nullptr) return "none";
  auto icon = reinterpret_cast<HICON>(SendMessageW(iconControl, STM_GETICON, 0, 0));
  if (icon == nullptr) return "none";
  struct Known {
    LPCSTR id;
    const char* name;
  } const known[] = {{IDI_WARNING, "warning"},
                     {IDI_ERROR, "error"},
                     {IDI_INFORMATION, "information"},
                     {IDI_QUESTION, "question"}};
  for (const Known& k : known) {
    if (LoadIconA(nullptr, k.id) == icon) return k.name;
  }
  return "unknown";
}

}  // namespace

MessageBoxAnswerer::MessageBoxAnswerer(std::vector<int> answers) : answers_(std::move(answers)) {
  activeAnswerer = this;
  hook_ = SetWindowsHookExA(WH_CBT, Hook, nullptr, GetCurrentThreadId());
}

MessageBoxAnswerer::~MessageBoxAnswerer() {
  UnhookWindowsHookEx(hook_);
  activeAnswerer = nullptr;
}

size_t MessageBoxAnswerer::unanswered() const { return answers_.size() - next_; }

LRESULT CALLBACK MessageBoxAnswerer::Hook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && activeAnswerer != nullptr) {
    auto box = reinterpret_cast<HWND>(wParam);
    wchar_t className[32] = {};
    GetClassNameW(box, className, 32);
    // The program's own boxes, owned by its dialog; a file dialog's question is the test's to
    // answer by its key.
    if (std::wstring(className) == L"#32770" && GetDlgItem(box, kBoxTextId) != nullptr &&
        (mainWindow == nullptr || GetWindow(box, GW_OWNER) == mainWindow->dialog)) {
      activeAnswerer->OnActivate(box);
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

BoxSeen ReadBox(HWND box) {
  BoxSeen seen;
  seen.caption = WindowText(box);
  seen.text = WindowText(GetDlgItem(box, kBoxTextId));
  for (int id : {IDOK, IDCANCEL, IDYES, IDNO}) {
    HWND button = GetDlgItem(box, id);
    if (button != nullptr && HasVisibleStyle(button)) seen.buttons.push_back(id);
  }
  seen.icon = IconName(box);
  return seen;
}

void MessageBoxAnswerer::OnActivate(HWND box) {
  seen_.push_back(ReadBox(box));
  int answer;
  if (next_ < answers_.size()) {
    answer = answers_[next_++];
  } else {
    answer = GetDlgItem(box, IDCANCEL) != nullptr ? IDCANCEL
             : GetDlgItem(box, IDNO) != nullptr   ? IDNO
                                                  : IDOK;
  }
  // Posted, so the box's own modal loop takes it up as a click.
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(box, answer)));
}

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

std::vector<std::string> MainDialogHost::Rows() const {
  std::vector<std::string> rows;
  HWND listBox = Control(IDC_SETTING_LIST);
  LRESULT count = SendMessageW(listBox, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    std::wstring text(SendMessageW(listBox, LB_GETTEXTLEN, i, 0) + 1, L'\0');
    SendMessageW(listBox, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
    rows.push_back(Narrow932(text.c_str()));  // the told length may be more than the text's
  }
  return rows;
}

std::string MainDialogHost::Text(int id) const { return WindowText(Control(id)); }

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

void PumpMessages() {
  MSG msg;
  for (int round = 0; round < 3; ++round) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(5);
  }
}

bool WaitUntil(const std::function<bool()>& condition, DWORD ms) {
  for (ULONGLONG start = GetTickCount64();; PumpMessages()) {
    if (condition()) return true;
    if (GetTickCount64() - start > ms) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

std::string WindowText(HWND window) { return WindowText932(window); }
