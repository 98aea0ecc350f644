// Browse buttons, the quoted append to the options, and the three controls that take drops.
#include <cstring>
#include <memory>
#include <new>

#include "resource.h"
#include "ui/main_window.h"
#include "ui/modal_scope.h"
#include "ui/shell_calls.h"
#include "ui/text_format.h"
#include "ui/texts.h"

namespace {

MainWindow* WindowOf(HWND control) {
  return reinterpret_cast<MainWindow*>(GetWindowLongPtrA(control, GWLP_USERDATA));
}

// The path of dropped file index in this code page, in a block of exactly its size; null when
// it has none. Read wide: the ANSI form sizes its answer in characters for a drop that carries
// Unicode names (Explorer's do), and so cuts every double-byte character short.
std::unique_ptr<char[]> DroppedPath(HDROP drop, UINT index) {
  UINT length = shell_calls::DragQueryFileW(drop, index, nullptr, 0);
  if (length == 0) return nullptr;
  std::unique_ptr<wchar_t[]> wide(new (std::nothrow) wchar_t[length + 1]);
  if (!wide || shell_calls::DragQueryFileW(drop, index, wide.get(), length + 1) == 0) {
    return nullptr;
  }
  int size = WideCharToMultiByte(CP_ACP, 0, wide.get(), -1, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return nullptr;
  std::unique_ptr<char[]> path(new (std::nothrow) char[size]);
  if (path) WideCharToMultiByte(CP_ACP, 0, wide.get(), -1, path.get(), size, nullptr, nullptr);
  return path;
}

// The whole text of a field, with its length in bytes; null when it cannot be held.
std::unique_ptr<char[]> WholeText(HWND field, size_t* length) {
  // Edit controls that keep Unicode text count characters, and each may take two bytes here.
  size_t size = static_cast<size_t>(GetWindowTextLengthW(field)) * 2 + 1;
  std::unique_ptr<char[]> text(new (std::nothrow) char[size]());
  if (!text) return text;
  GetWindowTextA(field, text.get(), static_cast<int>(size));
  *length = std::strlen(text.get());
  return text;
}

// Bytes each text field holds, without its NUL.
size_t FieldLimit(int id) {
  switch (id) {
    case IDC_NAME:
      return sizeof LaunchSetting::name - 1;
    case IDC_PATH:
      return sizeof LaunchSetting::path - 1;
    default:
      return sizeof LaunchSetting::options - 1;
  }
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
  LPITEMIDLIST item;
  {
    ModalScope modal;
    item = shell_calls::SHBrowseForFolderA(&request);
  }
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

void MainWindow::ReadField(int id, char* text, size_t size) const {
  size_t length = 0;
  std::unique_ptr<char[]> whole = WholeText(Control(id), &length);
  if (!whole) {
    GetWindowTextA(Control(id), text, static_cast<int>(size));
    length = std::strlen(text);
    text[FittingLength(text, length, size - 1)] = '\0';
    return;
  }
  size_t kept = FittingLength(whole.get(), length, size - 1);
  std::memcpy(text, whole.get(), kept);
  text[kept] = '\0';
}

bool MainWindow::KeepFieldWithinLimit(int id) {
  HWND field = Control(id);
  size_t length = 0;
  std::unique_ptr<char[]> text = WholeText(field, &length);
  if (!text) return false;
  size_t limit = FieldLimit(id);
  if (length <= limit) return true;
  text[FittingLength(text.get(), length, limit)] = '\0';
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  // Sets off one more change, which finds the text within the limit.
  SetWindowTextA(field, text.get());
  SendMessageW(field, EM_SETSEL, start, end);
  return true;
}

void MainWindow::AppendQuotedPath(const char* path) {
  // Not into editBuffer.options: BrowseOptions hands that in as the path.
  char options[sizeof LaunchSetting::options];
  ReadField(IDC_OPTIONS, options, sizeof options);
  std::unique_ptr<char[]> text = AppendQuoted(options, path, sizeof options - 1);
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
  // A disabled control takes no drops (its mode does not allow them, and in a batch the worker
  // reads the list), nor does any while a box or dialog of a command is still open.
  if (IsWindowEnabled(window) && !ModalScope::Open()) takeDrop(owner, window, drop);
  shell_calls::DragFinish(drop);
  return 0;
}

// Every dropped file is appended as a list file; those that are not add nothing, silently.
void TakeListFiles(MainWindow* owner, HWND, HDROP drop) {
  UINT files = shell_calls::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < files; ++i) {
    if (std::unique_ptr<char[]> path = DroppedPath(drop, i)) {
      owner->list->LoadFromFile(path.get(), kListFileSignature, false);
    }
  }
  owner->RefillList();
  owner->ClearFields();
  owner->currentIndex = -1;  // the rows were rebuilt: none is the one a command worked on
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
