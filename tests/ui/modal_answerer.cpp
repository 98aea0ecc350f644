// The answers are posted, so each dialog's own modal loop takes them up as input.
#include "modal_answerer.h"

#include <shlobj.h>

#include <set>

#include "resource.h"
#include "ui_test_support.h"

namespace {

ModalAnswerer* active = nullptr;
std::set<HWND> answered;

// Common dialog controls: the file-name combo and edit, the file-type combo.
constexpr int kFileNameCombo = 0x47C;
constexpr int kFileNameEdit = 0x480;
constexpr int kFileTypeCombo = 0x470;

void PressKey(HWND dialog, WPARAM key) { PostMessageW(dialog, WM_KEYDOWN, key, 0); }

// The file dialog fills its boxes after it is activated: a thread timer, run by the dialog's
// own modal loop, reads them a moment later and then types the name.
HWND pendingFile = nullptr;
std::string pendingName;
ModalSeen* pendingSeen = nullptr;

void CALLBACK FileTimer(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  HWND window = pendingFile;
  if (window == nullptr || !IsWindow(window)) return;
  pendingFile = nullptr;
  HWND nameBox = GetDlgItem(window, kFileNameCombo);
  if (nameBox == nullptr) nameBox = GetDlgItem(window, kFileNameEdit);
  pendingSeen->texts.push_back(WindowText(nameBox));
  HWND types = GetDlgItem(window, kFileTypeCombo);
  LRESULT count = SendMessageW(types, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    wchar_t item[256] = {};
    SendMessageW(types, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
    pendingSeen->texts.push_back(Narrow932(item));
  }
  pendingSeen->texts.push_back(std::to_string(SendMessageW(types, CB_GETCURSEL, 0, 0)));
  if (pendingName.empty()) {
    PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
  } else {
    SetWindowTextW(nameBox, Wide932(pendingName, CP_UTF8).c_str());  // a path, UTF-8
    PostMessageW(window, WM_COMMAND, IDOK, 0);
  }
}

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
  hook_ = SetWindowsHookExA(WH_CBT, Hook, nullptr, GetCurrentThreadId());
}

ModalAnswerer::~ModalAnswerer() {
  UnhookWindowsHookEx(hook_);
  active = nullptr;
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
  ModalSeen seen;
  seen.caption = WindowText(window);
  HWND nameBox = GetDlgItem(window, kFileNameCombo);
  if (nameBox == nullptr) nameBox = GetDlgItem(window, kFileNameEdit);
  if (GetDlgItem(window, IDC_CHOICE_FIRST) != nullptr) {
    seen.kind = ModalStep::Choice;
    seen.texts = {WindowText(GetDlgItem(window, IDC_CHOICE_FIRST)),
                  WindowText(GetDlgItem(window, IDC_CHOICE_SECOND))};
  } else if (nameBox != nullptr) {
    seen.kind = ModalStep::File;  // read once the dialog has filled itself, see FileTimer
  } else if (FindWindowExW(window, nullptr, L"SysTreeView32", nullptr) != nullptr) {
    seen.kind = ModalStep::Browse;  // the folder browser
  } else {
    return;  // a message box (MessageBoxAnswerer's) or the main dialog itself
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
      pendingFile = window;
      pendingName = step.text;
      pendingSeen = &seen_.back();
      SetTimer(nullptr, 0, 100, FileTimer);
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
