// Browse buttons, the quoted append to the options, and the three controls that take drops.
#include <cstring>
#include <memory>
#include <new>

#include "resource.h"
#include "ui/main_window.h"
#include "ui/shell_calls.h"
#include "ui/text_format.h"
#include "ui/texts.h"

namespace {

MainWindow* WindowOf(HWND control) {
  return reinterpret_cast<MainWindow*>(GetWindowLongPtrA(control, GWLP_USERDATA));
}

// The path of dropped file index, in a block of exactly its size; null when it has none.
std::unique_ptr<char[]> DroppedPath(HDROP drop, UINT index) {
  UINT length = shell_calls::DragQueryFileA(drop, index, nullptr, 0);
  if (length == 0) return nullptr;
  std::unique_ptr<char[]> path(new (std::nothrow) char[length + 1]);
  if (path) shell_calls::DragQueryFileA(drop, index, path.get(), length + 1);
  return path;
}

int CALLBACK BrowseCallback(HWND window, UINT message, LPARAM, LPARAM data) {
  if (message == BFFM_INITIALIZED) SendMessageA(window, BFFM_SETSELECTIONA, TRUE, data);
  return 0;
}

}  // namespace

bool MainWindow::BrowseForFileOrFolder(char* buffer) {
  char chosen[MAX_PATH] = "";
  BROWSEINFOA request = {};
  request.hwndOwner = dialog;
  request.pszDisplayName = chosen;
  request.lpszTitle = texts::kBrowseTitle;
  request.ulFlags = BIF_RETURNONLYFSDIRS | BIF_BROWSEINCLUDEFILES;
  request.lpfn = BrowseCallback;
  request.lParam = reinterpret_cast<LPARAM>(buffer);
  LPITEMIDLIST item = shell_calls::SHBrowseForFolderA(&request);
  // An item that has no file-system path counts as a cancel: the buffer keeps its text.
  bool confirmed = item != nullptr && shell_calls::SHGetPathFromIDListA(item, chosen);
  if (confirmed) std::memcpy(buffer, chosen, std::strlen(chosen) + 1);
  shell_calls::CoTaskMemFree(item);
  return confirmed;
}

bool MainWindow::BrowsePath() {
  if (BrowseForFileOrFolder(editBuffer.path)) SetWindowTextA(Control(IDC_PATH), editBuffer.path);
  return true;
}

bool MainWindow::BrowseOptions() {
  if (BrowseForFileOrFolder(editBuffer.options)) AppendQuotedPath(editBuffer.options);
  return true;
}

void MainWindow::AppendQuotedPath(const char* path) {
  char options[8192];
  GetWindowTextA(Control(IDC_OPTIONS), options, sizeof options);
  std::unique_ptr<char[]> text = AppendQuoted(options, path, sizeof editBuffer.options - 1);
  if (text) SetWindowTextA(Control(IDC_OPTIONS), text.get());
}

namespace {

// The frame of the three subclassed controls: every message but a drop goes to the control's
// own procedure; a drop is handed to takeDrop and then released.
LRESULT RouteSubclassed(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                        WNDPROC MainWindow::*saved, void (*takeDrop)(MainWindow*, HWND, HDROP)) {
  MainWindow* owner = WindowOf(window);
  if (owner == nullptr) return 0;
  if (message != WM_DROPFILES) {
    return CallWindowProcW(owner->*saved, window, message, wParam, lParam);
  }
  auto drop = reinterpret_cast<HDROP>(wParam);
  takeDrop(owner, window, drop);
  shell_calls::DragFinish(drop);
  return 0;
}

// Every dropped file is appended as a list file; those that are not add nothing, silently.
void TakeListFiles(MainWindow* owner, HWND, HDROP drop) {
  UINT files = shell_calls::DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < files; ++i) {
    if (std::unique_ptr<char[]> path = DroppedPath(drop, i)) {
      owner->list->LoadFromFile(path.get(), kListFileSignature, false);
    }
  }
  owner->RefillList();
  owner->ClearFields();
}

void TakePath(MainWindow*, HWND field, HDROP drop) {
  if (std::unique_ptr<char[]> path = DroppedPath(drop, 0)) SetWindowTextA(field, path.get());
}

void TakeQuotedOption(MainWindow* owner, HWND, HDROP drop) {
  if (std::unique_ptr<char[]> path = DroppedPath(drop, 0)) owner->AppendQuotedPath(path.get());
}

}  // namespace

LRESULT CALLBACK ListBoxSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return RouteSubclassed(window, message, wParam, lParam, &MainWindow::listBoxProc, TakeListFiles);
}

LRESULT CALLBACK PathEditSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return RouteSubclassed(window, message, wParam, lParam, &MainWindow::pathEditProc, TakePath);
}

LRESULT CALLBACK OptionsEditSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return RouteSubclassed(window, message, wParam, lParam, &MainWindow::optionsEditProc,
                         TakeQuotedOption);
}
