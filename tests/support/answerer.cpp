// The answers are posted, so each box's or dialog's own modal loop takes them up as input.
#include "support/answerer.h"

#include <algorithm>

#include "resource.h"
#include "support/cp932_text.h"
#include "ui/shell_calls.h"

namespace {

Answerer* active = nullptr;

// Wine's and Windows' message boxes: the text in static 0xFFFF; the icon in the static of SS_ICON
// style, whose id is 0x14 on Windows and 0x440 under Wine.
constexpr int kBoxTextId = 0xFFFF;

// At activation the box itself is not shown yet, so only the child's own style tells.
bool HasVisibleStyle(HWND child) { return (GetWindowLongPtrW(child, GWL_STYLE) & WS_VISIBLE) != 0; }

bool ClassIs(HWND window, const wchar_t* name) {
  wchar_t className[32] = {};
  GetClassNameW(window, className, 32);
  return lstrcmpiW(className, name) == 0;
}

// The program's own message boxes are owned by its main dialog; a file dialog's question is not.
bool IsProgramsBox(HWND window) {
  HWND owner = GetWindow(window, GW_OWNER);
  return GetDlgItem(window, kBoxTextId) != nullptr && owner != nullptr && IsMainDialog(owner);
}

std::string IconName(HWND box) {
  HWND iconControl = nullptr;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (ClassIs(child, L"Static") && HasVisibleStyle(child) &&
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

void PostKeys(HWND focus, WPARAM key) {
  PostMessageW(focus, WM_KEYDOWN, key, 1);
  if (key >= 'A' && key <= 'Z') PostMessageW(focus, WM_CHAR, key | 0x20, 1);  // lower case
  PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
}

void Dispatch() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace

bool IsMainDialog(HWND window) { return GetDlgItem(window, IDC_SETTING_LIST) != nullptr; }

Seen ReadBox(HWND box) {
  Seen seen;
  seen.caption = WindowText932(box);
  seen.text = WindowText932(GetDlgItem(box, kBoxTextId));
  for (int id : {IDOK, IDCANCEL, IDYES, IDNO}) {
    HWND button = GetDlgItem(box, id);
    if (button != nullptr && HasVisibleStyle(button)) seen.buttons.push_back(id);
  }
  seen.icon = IconName(box);
  return seen;
}

Answerer::Answerer(std::vector<Step> steps, DWORD process)
    : previous_(active),
      thread_(GetCurrentThreadId()),
      process_(process),
      steps_(std::move(steps)) {
  active = this;
  hook_ = SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId());
  shell_calls::seeFileRequest = SeeFile;
  shell_calls::seeFolderRequest = SeeFolder;
}

Answerer::~Answerer() {
  if (timer_ != 0) KillTimer(nullptr, timer_);
  UnhookWindowsHookEx(hook_);
  active = previous_;
  if (active == nullptr) {
    shell_calls::seeFileRequest = nullptr;
    shell_calls::seeFolderRequest = nullptr;
  }
}

std::vector<Seen> Answerer::boxes() const {
  std::vector<Seen> boxes;
  for (const Seen& seen : seen_)
    if (seen.kind == Step::Box) boxes.push_back(seen);
  return boxes;
}

bool Answerer::Fits(Step::Kind kind) const {
  return next_ < steps_.size() &&
         (steps_[next_].kind == kind || steps_[next_].kind == Step::Cancel);
}

LRESULT CALLBACK Answerer::Hook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && active != nullptr) active->Meet(reinterpret_cast<HWND>(wParam));
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void Answerer::SeeFolder(const BROWSEINFOW* request) {
  active->folderTitle_ = Narrow932(request->lpszTitle);
  active->folderFlags_ = request->ulFlags;
}

void Answerer::SeeFile(const OPENFILENAMEW* request) {
  Answerer* self = active;
  Seen seen = {Step::File, Narrow932(request->lpstrTitle), "", {}, "", {}, request->Flags};
  seen.texts.push_back(Narrow932(request->lpstrFile, CP_UTF8));
  // The filter: pairs of a name and its patterns, to an empty name.
  for (const wchar_t* item = request->lpstrFilter; *item != L'\0'; item += wcslen(item) + 1) {
    seen.texts.push_back(Narrow932(item));
    item += wcslen(item) + 1;
  }
  seen.texts.push_back(std::to_string(request->nFilterIndex > 0 ? request->nFilterIndex - 1 : 0));
  self->seen_.push_back(seen);
  // Cancelled when out of the script: the test fails on seen().
  self->fileName_ = self->Fits(Step::File) ? self->steps_[self->next_++].text : "";
  self->fileTitle_ = request->lpstrTitle;
  if (self->timer_ == 0) self->timer_ = SetTimer(nullptr, 0, 20, Tick);
}

// Runs in whichever modal loop is up on this thread, until the work it waits for is done.
void CALLBACK Answerer::Tick(HWND, UINT, UINT_PTR, DWORD) {
  Answerer* self = active;
  if (self == nullptr) return;
  HWND focus = GetFocus();
  wchar_t title[64] = {};
  GetWindowTextW(GetAncestor(focus, GA_ROOT), title, 64);
  if (!self->fileTitle_.empty() && ClassIs(focus, L"Edit") && self->fileTitle_ == title) {
    self->fileTitle_.clear();
    SendMessageW(focus, EM_SETSEL, 0, -1);
    for (wchar_t character : Wide932(self->fileName_, CP_UTF8))
      PostMessageW(focus, WM_CHAR, character, 1);
    PostMessageW(focus, WM_KEYDOWN, self->fileName_.empty() ? VK_ESCAPE : VK_RETURN, 1);
  }
  if (!IsWindow(self->keysFor_)) self->keysFor_ = nullptr;
  if (self->keysFor_ != nullptr && GetAncestor(focus, GA_ROOT) == self->keysFor_) {
    if (self->seen_.back().flags == 0) self->seen_.back().flags = GetDlgCtrlID(focus);
    PostKeys(focus, static_cast<unsigned char>(self->keys_[0]));
    self->keys_.erase(0, 1);
    if (self->keys_.empty()) self->keysFor_ = nullptr;
  }
  // The folder browser does not always select the item it is first given: a person picks the one
  // they want once it is shown, and then presses OK.
  if (!IsWindow(self->browser_)) self->browser_ = nullptr;
  if (self->browser_ != nullptr && IsWindowVisible(self->browser_)) {
    SendMessageW(self->browser_, BFFM_SETSELECTIONW, TRUE,
                 reinterpret_cast<LPARAM>(self->pick_.c_str()));
    PostMessageW(self->browser_, WM_COMMAND, IDOK, 0);
    self->browser_ = nullptr;
  }
  if (self->fileTitle_.empty() && self->keysFor_ == nullptr && self->browser_ == nullptr) {
    KillTimer(nullptr, self->timer_);
    self->timer_ = 0;
  }
}

void Answerer::Meet(HWND window) {
  if (std::count(known_.begin(), known_.end(), window) > 0 || !ClassIs(window, L"#32770")) return;
  if (IsMainDialog(window)) {
    known_.push_back(window);
    return;
  }
  wchar_t title[64] = {};
  GetWindowTextW(window, title, 64);
  if (!fileTitle_.empty() && fileTitle_ == title) {  // the file dialog, met in SeeFile
    known_.push_back(window);
    if (onOpen) onOpen(seen_.back());
    return;
  }
  Seen seen;
  seen.caption = WindowText932(window);
  if (next_ < steps_.size() && steps_[next_].kind == Step::Keys && !IsProgramsBox(window)) {
    seen.kind = Step::Keys;
  } else if (GetDlgItem(window, IDC_CHOICE_FIRST) != nullptr) {
    seen.kind = Step::Choice;
    seen.texts = {WindowText932(GetDlgItem(window, IDC_CHOICE_FIRST)),
                  WindowText932(GetDlgItem(window, IDC_CHOICE_SECOND))};
  } else if (FindWindowExW(window, nullptr, L"SysTreeView32", nullptr) != nullptr) {
    seen = {Step::Folder, folderTitle_, "", {}, "", {}, folderFlags_};
  } else if (GetDlgItem(window, kBoxTextId) != nullptr) {
    seen = ReadBox(window);
  } else {
    return;  // not yet a dialog of its own kind, or another program's file dialog
  }
  known_.push_back(window);
  seen_.push_back(seen);
  if (onOpen) onOpen(seen);
  Answer(window, Fits(seen.kind) ? steps_[next_++] : CancelIt());
}

void Answerer::Answer(HWND window, const Step& step) {
  switch (step.kind) {
    case Step::Box:
      PostMessageW(window, WM_COMMAND, MAKEWPARAM(step.value, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(window, step.value)));
      return;
    case Step::Choice:
      if (step.value == 2) PostMessageW(GetDlgItem(window, IDC_CHOICE_SECOND), BM_CLICK, 0, 0);
      PostMessageW(window, WM_KEYDOWN, VK_RETURN, 0);
      return;
    case Step::Keys:
      keysFor_ = window;
      keys_ = step.text;
      break;
    case Step::Folder:
      if (step.text.empty()) {
        PostMessageW(window, WM_COMMAND, IDOK, 0);
        return;
      }
      browser_ = window;
      pick_ = Wide932(step.text, CP_UTF8);
      break;
    case Step::Cancel:
    case Step::File:
      if (GetDlgItem(window, IDC_CHOICE_FIRST) != nullptr) {
        PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);  // a person's Esc
      } else if (GetDlgItem(window, kBoxTextId) != nullptr &&
                 FindWindowExW(window, nullptr, L"SysTreeView32", nullptr) == nullptr) {
        Answer(window, Press(GetDlgItem(window, IDCANCEL) != nullptr ? IDCANCEL
                             : GetDlgItem(window, IDNO) != nullptr   ? IDNO
                                                                     : IDOK));
      } else {
        PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
      }
      return;
  }
  if (timer_ == 0) timer_ = SetTimer(nullptr, 0, 20, Tick);
}

void Answerer::MeetOthers() {
  if (active == nullptr || active->thread_ != GetCurrentThreadId()) return;
  struct Found {
    Answerer* self;
    std::vector<HWND> windows;
  } found = {active, {}};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto* f = reinterpret_cast<Found*>(data);
        DWORD process = 0;
        DWORD thread = GetWindowThreadProcessId(window, &process);
        // This thread's own are met as they are activated.
        if (process == f->self->process_ && thread != GetCurrentThreadId() &&
            IsWindowVisible(window))
          f->windows.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  for (HWND window : found.windows) active->Meet(window);
}

bool WaitUntil(const std::function<bool()>& condition, DWORD ms) {
  for (ULONGLONG start = GetTickCount64();;) {
    if (condition()) return true;
    if (GetTickCount64() - start > ms) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    Dispatch();
    Answerer::MeetOthers();
  }
}

void PumpMessages() {
  Dispatch();
  WaitUntil([] { return false; }, 15);
}

std::vector<std::string> ListRows(HWND listBox) {
  std::vector<std::string> rows;
  LRESULT count = SendMessageW(listBox, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    // The buffer is as long as the row says it is; the text read may be shorter.
    std::wstring text(std::max<LRESULT>(SendMessageW(listBox, LB_GETTEXTLEN, i, 0), 0) + 1, L'\0');
    SendMessageW(listBox, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
    rows.push_back(Narrow932(text.c_str()));
  }
  return rows;
}
