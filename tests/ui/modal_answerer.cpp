// The answers are posted, so each dialog's own modal loop takes them up as input.
#include "modal_answerer.h"

#include <shlobj.h>

#include <set>

#include "resource.h"
#include "ui/shell_calls.h"
#include "ui_test_support.h"

namespace {

ModalAnswerer* active = nullptr;
std::set<HWND> answered;

void PressKey(HWND dialog, WPARAM key) { PostMessageW(dialog, WM_KEYDOWN, key, 0); }

// The name box has the focus once the file dialog is up, in its modal loop: a thread timer, run
// by that loop, waits for it and types the path there, or presses Esc.
std::wstring pendingTitle;
std::string pendingName;

void CALLBACK TypeTimer(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND focus = GetFocus();
  wchar_t className[16] = {}, title[64] = {};
  GetClassNameW(focus, className, 16);
  GetWindowTextW(GetAncestor(focus, GA_ROOT), title, 64);
  if (lstrcmpiW(className, L"Edit") != 0 || pendingTitle != title) return;
  KillTimer(nullptr, timer);
  pendingTitle.clear();
  if (!pendingName.empty()) {
    SendMessageW(focus, EM_SETSEL, 0, -1);
    for (wchar_t character : Wide932(pendingName, CP_UTF8))
      PostMessageW(focus, WM_CHAR, character, 1);
  }
  PostMessageW(focus, WM_KEYDOWN, pendingName.empty() ? VK_ESCAPE : VK_RETURN, 1);
}

// The folder browser's request, as the program handed it over.
std::string folderTitle;
unsigned long folderFlags = 0;

HWND pendingKeysFor = nullptr;
std::string pendingKeys;

// The folder browser does not always select the item it is first given: a person picks the one
// they want, here a moment after the dialog is shown, and then presses OK.
HWND pendingBrowse = nullptr;
std::wstring pendingPick;

void CALLBACK BrowsePickTimer(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  if (pendingBrowse == nullptr || !IsWindow(pendingBrowse)) return;
  SendMessageW(pendingBrowse, BFFM_SETSELECTIONW, TRUE,
               reinterpret_cast<LPARAM>(pendingPick.c_str()));
  PostMessageW(pendingBrowse, WM_COMMAND, IDOK, 0);
  pendingBrowse = nullptr;
}

}  // namespace

ModalAnswerer::ModalAnswerer(std::vector<ModalStep> steps) : steps_(std::move(steps)) {
  active = this;
  answered.clear();
  hook_ = SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId());
  shell_calls::seeFileRequest = SeeFile;
  shell_calls::seeFolderRequest = SeeFolder;
}

ModalAnswerer::~ModalAnswerer() {
  shell_calls::seeFileRequest = nullptr;
  shell_calls::seeFolderRequest = nullptr;
  UnhookWindowsHookEx(hook_);
  active = nullptr;
}

void CALLBACK ModalAnswerer::KeyTimer(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND focus = GetFocus();
  if (active == nullptr || !IsWindow(pendingKeysFor) || pendingKeys.empty()) {
    KillTimer(nullptr, timer);
    return;
  }
  if (GetAncestor(focus, GA_ROOT) != pendingKeysFor) return;
  if (active->seen_.back().flags == 0) active->seen_.back().flags = GetDlgCtrlID(focus);
  WPARAM key = static_cast<unsigned char>(pendingKeys[0]);
  pendingKeys.erase(0, 1);
  PostMessageW(focus, WM_KEYDOWN, key, 1);
  if (key >= 'A' && key <= 'Z') PostMessageW(focus, WM_CHAR, key | 0x20, 1);  // lower case
  PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
}

void ModalAnswerer::SeeFolder(const BROWSEINFOW* request) {
  folderTitle = Narrow932(request->lpszTitle);
  folderFlags = request->ulFlags;
}

void ModalAnswerer::SeeFile(const OPENFILENAMEW* request) {
  ModalSeen seen = {ModalStep::File, Narrow932(request->lpstrTitle), {}, request->Flags};
  seen.texts.push_back(Narrow932(request->lpstrFile, CP_UTF8));
  // The filter: pairs of a name and its patterns, to an empty name.
  for (const wchar_t* item = request->lpstrFilter; *item != L'\0'; item += wcslen(item) + 1) {
    seen.texts.push_back(Narrow932(item));
    item += wcslen(item) + 1;
  }
  seen.texts.push_back(std::to_string(request->nFilterIndex > 0 ? request->nFilterIndex - 1 : 0));
  active->seen_.push_back(seen);
  // Not in the script: cancelled, and the test fails on seen().
  bool scripted = active->next_ < active->steps_.size() &&
                  active->steps_[active->next_].kind == ModalStep::File;
  pendingName = scripted ? active->steps_[active->next_++].text : "";
  pendingTitle = request->lpstrTitle;
  SetTimer(nullptr, 0, 20, TypeTimer);
}

LRESULT CALLBACK ModalAnswerer::Hook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && active != nullptr)
    active->OnActivate(reinterpret_cast<HWND>(wParam));
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void ModalAnswerer::OnActivate(HWND window) {
  wchar_t className[32] = {};
  GetClassNameW(window, className, 32);
  if (std::wstring(className) != L"#32770" || answered.count(window) > 0) return;
  wchar_t title[64] = {};
  GetWindowTextW(window, title, 64);
  if (!pendingTitle.empty() && pendingTitle == title) return;  // the file dialog, SeeFile's
  ModalSeen seen;
  seen.caption = WindowText(window);
  bool programsBox = GetDlgItem(window, 0xFFFF) != nullptr && mainWindow != nullptr &&
                     GetWindow(window, GW_OWNER) == mainWindow->dialog;  // MessageBoxAnswerer's
  if (next_ < steps_.size() && steps_[next_].kind == ModalStep::Key && !programsBox) {
    seen.kind = ModalStep::Key;
  } else if (GetDlgItem(window, IDC_CHOICE_FIRST) != nullptr) {
    seen.kind = ModalStep::Choice;
    seen.texts = {WindowText(GetDlgItem(window, IDC_CHOICE_FIRST)),
                  WindowText(GetDlgItem(window, IDC_CHOICE_SECOND))};
  } else if (FindWindowExW(window, nullptr, L"SysTreeView32", nullptr) != nullptr) {
    seen = {ModalStep::Browse, folderTitle, {}, folderFlags};  // the folder browser
  } else {
    return;  // a message box (MessageBoxAnswerer's), a file dialog (SeeFile's) or the main dialog
  }
  answered.insert(window);
  seen_.push_back(seen);
  if (next_ >= steps_.size() || steps_[next_].kind != seen.kind) {
    // Not in the script: get out of it and let the test fail on seen().
    PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    return;
  }
  const ModalStep& step = steps_[next_++];
  switch (step.kind) {
    case ModalStep::Choice:
      if (step.option == 2) PostMessageW(GetDlgItem(window, IDC_CHOICE_SECOND), BM_CLICK, 0, 0);
      PressKey(window, step.option == 0 ? VK_ESCAPE : VK_RETURN);
      break;
    case ModalStep::File:
      break;
    case ModalStep::Key:
      pendingKeysFor = window;
      pendingKeys = step.text;
      SetTimer(nullptr, 0, 50, KeyTimer);
      break;
    case ModalStep::Browse:
      if (step.text == "ok" || step.text == "cancel") {
        PostMessageW(window, WM_COMMAND, step.text == "ok" ? IDOK : IDCANCEL, 0);
        break;
      }
      pendingBrowse = window;
      pendingPick = Wide932(step.text, CP_UTF8);
      SetTimer(nullptr, 0, 100, BrowsePickTimer);
      break;
  }
}
