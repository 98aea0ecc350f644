// Browse buttons, the quoted append to the options, the text fields' byte limits, and the three
// controls that take drops.
#include <cstring>
#include <cwchar>
#include <memory>
#include <new>

#include "resource.h"
#include "store/wide_path.h"
#include "ui/cp932.h"
#include "ui/main_window.h"
#include "ui/message_box.h"
#include "ui/modal_scope.h"
#include "ui/shell_calls.h"
#include "ui/text_format.h"
#include "ui/texts.h"

namespace {

MainWindow* WindowOf(HWND control) {
  return reinterpret_cast<MainWindow*>(GetWindowLongPtrW(control, GWLP_USERDATA));
}

// The path of dropped file index, exactly sized; null when it has none.
std::unique_ptr<wchar_t[]> DroppedPath(HDROP drop, UINT index) {
  UINT length = shell_calls::DragQueryFileW(drop, index, nullptr, 0);
  if (length == 0) return nullptr;
  std::unique_ptr<wchar_t[]> path(new (std::nothrow) wchar_t[length + 1]);
  if (!path || shell_calls::DragQueryFileW(drop, index, path.get(), length + 1) == 0) {
    return nullptr;
  }
  return path;
}

// The whole text of a field, with its length in units; null when it cannot be held.
std::unique_ptr<wchar_t[]> WholeText(HWND field, size_t* length) {
  auto told = static_cast<size_t>(SendMessageW(field, WM_GETTEXTLENGTH, 0, 0));
  std::unique_ptr<wchar_t[]> text(new (std::nothrow) wchar_t[told + 1]);
  if (!text) return text;
  *length = static_cast<size_t>(
      SendMessageW(field, WM_GETTEXT, told + 1, reinterpret_cast<LPARAM>(text.get())));
  text[*length] = L'\0';
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

// What a single-line field keeps of text, in place: the text up to its first line break, as
// Windows' own single-line edit pastes it, each tab a space and no other control character,
// which a launch would hand on unseen. Its new length.
size_t KeepOneLine(wchar_t* text, size_t length) {
  size_t kept = 0;
  for (size_t i = 0; i < length && text[i] != L'\r' && text[i] != L'\n'; ++i) {
    wchar_t unit = text[i] == L'\t' ? L' ' : text[i];
    if (unit >= L' ' && unit != 0x7F) text[kept++] = unit;
  }
  text[kept] = L'\0';
  return kept;
}

// The first units of text, as a text of their own; null when it cannot be held.
std::unique_ptr<wchar_t[]> StartOf(const wchar_t* text, size_t units) {
  std::unique_ptr<wchar_t[]> start(new (std::nothrow) wchar_t[units + 1]);
  if (!start) return start;
  std::memcpy(start.get(), text, units * sizeof(wchar_t));
  start[units] = L'\0';
  return start;
}

// The selection, as units from the start of the text.
void GetSelection(HWND field, DWORD* start, DWORD* end) {
  SendMessageW(field, EM_GETSEL, reinterpret_cast<WPARAM>(start), reinterpret_cast<LPARAM>(end));
}

// The bytes the field has room for in place of its selection.
size_t RoomForSelection(HWND field, size_t limit) {
  size_t length = 0;
  std::unique_ptr<wchar_t[]> text = WholeText(field, &length);
  if (!text) return 0;
  DWORD start = 0;
  DWORD end = 0;
  GetSelection(field, &start, &end);
  if (end > length) end = static_cast<DWORD>(length);
  if (start > end) start = end;
  size_t kept =
      cp932::ByteLength(text.get(), start) + cp932::ByteLength(text.get() + end, length - end);
  return kept < limit ? limit - kept : 0;
}

int CALLBACK BrowseCallback(HWND window, UINT message, LPARAM, LPARAM data) {
  if (message == BFFM_INITIALIZED) SendMessageW(window, BFFM_SETSELECTIONW, TRUE, data);
  return 0;
}

}  // namespace

bool MainWindow::BrowseForFileOrFolder(char* buffer, wchar_t* chosen) {
  chosen[0] = L'\0';
  std::unique_ptr<wchar_t[]> start = cp932::ToWide(buffer);
  BROWSEINFOW request = {};
  request.hwndOwner = dialog;
  request.pszDisplayName = chosen;
  request.lpszTitle = texts::kBrowseTitle;
  request.ulFlags = BIF_RETURNONLYFSDIRS | BIF_BROWSEINCLUDEFILES;
  request.lpfn = BrowseCallback;
  request.lParam = reinterpret_cast<LPARAM>(start ? start.get() : L"");
  LPITEMIDLIST item;
  {
    ModalScope modal;
    item = shell_calls::SHBrowseForFolderW(&request);
  }
  // An item that has no file-system path counts as a cancel: the buffer keeps its text.
  bool confirmed = item != nullptr && shell_calls::SHGetPathFromIDListW(item, chosen);
  shell_calls::CoTaskMemFree(item);
  if (!confirmed) return false;
  // The buffer keeps what code page 932 can hold; the field gets the whole path.
  size_t bytes = 0;
  std::unique_ptr<char[]> narrow = cp932::FromWide(chosen, wcslen(chosen), &bytes);
  if (narrow && bytes < MAX_PATH) std::memcpy(buffer, narrow.get(), bytes + 1);
  return true;
}

bool MainWindow::BrowsePath() {
  wchar_t chosen[MAX_PATH];
  if (BrowseForFileOrFolder(editBuffer.path, chosen) && !SetFieldText(IDC_PATH, chosen)) {
    WarnPathTooLong(IDC_PATH, texts::kBrowseTooLongCaption);
  }
  return true;
}

bool MainWindow::BrowseOptions() {
  wchar_t chosen[MAX_PATH];
  if (BrowseForFileOrFolder(editBuffer.options, chosen) && !AppendQuotedPath(chosen)) {
    WarnPathTooLong(IDC_OPTIONS, texts::kBrowseTooLongCaption);
  }
  return true;
}

void MainWindow::WarnPathTooLong(int id, const wchar_t* caption) {
  ShowMessage(dialog, id == IDC_PATH ? texts::kPathTooLongText : texts::kOptionsTooLongText,
              caption, MB_OK | MB_ICONWARNING);
}

bool MainWindow::ReadField(int id, char* text, size_t size) const {
  text[0] = '\0';
  size_t length = 0;
  std::unique_ptr<wchar_t[]> whole = WholeText(Control(id), &length);
  if (!whole) return true;
  length = KeepOneLine(whole.get(), length);
  size_t bytes = 0;
  std::unique_ptr<char[]> narrow = cp932::FromWide(whole.get(), length, &bytes);
  if (!narrow) return false;
  size_t kept = FittingLength(narrow.get(), bytes, size - 1);
  std::memcpy(text, narrow.get(), kept);
  text[kept] = '\0';
  return true;
}

bool MainWindow::FieldShows(int id, const char* text) const {
  size_t length = 0;
  std::unique_ptr<wchar_t[]> whole = WholeText(Control(id), &length);
  std::unique_ptr<wchar_t[]> shown = cp932::ToWide(text);
  return whole && shown && std::wcscmp(whole.get(), shown.get()) == 0;
}

bool MainWindow::SetFieldText(int id, const wchar_t* text) {
  size_t length = wcslen(text);
  if (cp932::FittingLength(text, length, FieldLimit(id)) != length) return false;
  SetWindowTextW(Control(id), text);
  return true;
}

bool MainWindow::KeepFieldStorable(int id) {
  HWND field = Control(id);
  size_t length = 0;
  std::unique_ptr<wchar_t[]> text = WholeText(field, &length);
  if (!text) return false;
  // Another program's text, or a dropped name, with a line break or a control character: the
  // field shows at once what registering it would store. Sets off one more change.
  if (KeepOneLine(text.get(), length) != length) {
    SetWindowTextW(field, text.get());
    return true;
  }
  size_t limit = FieldLimit(id);
  size_t bytes = cp932::ByteLength(text.get(), length);
  if (bytes <= limit) return true;
  // What came in ends at the caret: only its end, just before the caret, is taken away, and the
  // text before and after it stays whole.
  DWORD start = 0;
  DWORD caret = 0;
  GetSelection(field, &start, &caret);
  if (caret > length) caret = static_cast<DWORD>(length);
  size_t after = cp932::ByteLength(text.get() + caret, length - caret);
  size_t keep = after < limit ? limit - after : 0;
  size_t cut = cp932::FittingLength(text.get(), caret, keep);
  size_t end = caret;
  if (cut == caret) {  // set as a whole, with the caret at the start: the tail goes
    cut = cp932::FittingLength(text.get(), length, limit);
    end = length;
  }
  SendMessageW(field, EM_SETSEL, cut, end);
  // Sets off one more change, which finds the text within the limit.
  SendMessageW(field, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L""));
  return true;
}

bool MainWindow::AppendQuotedPath(const wchar_t* path) {
  size_t length = 0;
  std::unique_ptr<wchar_t[]> options = WholeText(Control(IDC_OPTIONS), &length);
  if (!options) return false;
  std::unique_ptr<wchar_t[]> text =
      AppendQuoted(options.get(), path, FieldLimit(IDC_OPTIONS), cp932::FittingLength);
  if (!text) return false;
  SetWindowTextW(Control(IDC_OPTIONS), text.get());
  return true;
}

namespace {

// A paste is cut to the room the field has, where it goes in, as one step that undo takes back.
bool PasteWithinLimit(HWND field, size_t limit) {
  if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(field)) return false;
  std::unique_ptr<wchar_t[]> piece;
  bool shortened = false;
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  if (auto* text = data != nullptr ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr) {
    size_t length = wcsnlen(text, GlobalSize(data) / sizeof(wchar_t));
    piece = StartOf(text, length);
    GlobalUnlock(data);
    if (piece) {
      length = KeepOneLine(piece.get(), length);
      size_t fits = cp932::FittingLength(piece.get(), length, RoomForSelection(field, limit));
      piece[fits] = L'\0';
      shortened = fits < length;
    }
  }
  CloseClipboard();
  if (!piece) return false;
  if (shortened) MessageBeep(MB_OK);
  SendMessageW(field, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(piece.get()));
  return true;
}

// A typed character that does not fit is refused, as a full edit control refuses one.
bool CharacterFits(HWND field, wchar_t typed, size_t limit) {
  if (typed < 0x20 || (typed >= 0xD800 && typed <= 0xDFFF))
    return true;  // keys, and halves checked on change
  return cp932::ByteLength(&typed, 1) <= RoomForSelection(field, limit);
}

// Where a control's own procedure is kept in MainWindow.
using SavedProcedure = WNDPROC MainWindow::*;

// The frame of the subclassed controls: typing and pasting into a text field stop at its bytes;
// a drop is handed to takeDrop and then released; everything else goes to the control's own
// procedure.
LRESULT RouteSubclassed(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                        SavedProcedure saved, void (*takeDrop)(MainWindow*, HWND, HDROP),
                        int fieldId = 0) {
  MainWindow* owner = WindowOf(window);
  if (owner == nullptr) return 0;
  // A text field's context menu runs its loop on the field.
  ModalScope::TrackSystemLoop(message);
  if (fieldId != 0 && (message == WM_PASTE || message == WM_CHAR)) {
    size_t limit = FieldLimit(fieldId);
    if (message == WM_PASTE && PasteWithinLimit(window, limit)) return 0;
    if (message == WM_CHAR && !CharacterFits(window, static_cast<wchar_t>(wParam), limit)) {
      MessageBeep(MB_OK);
      return 0;
    }
  }
  if (message == WM_SETFONT && saved == &MainWindow::listBoxProc) {
    // Another font (a move to a monitor of another DPI) draws the rows at another width.
    LRESULT result = CallWindowProcW(owner->*saved, window, message, wParam, lParam);
    owner->UpdateHorizontalExtent();
    return result;
  }
  if (message != WM_DROPFILES) {
    return CallWindowProcW(owner->*saved, window, message, wParam, lParam);
  }
  auto drop = reinterpret_cast<HDROP>(wParam);
  // A disabled control takes no drops (its mode does not allow them, and in a batch the worker
  // reads the list), nor does any while a box or dialog of a command is still open.
  if (takeDrop != nullptr && IsWindowEnabled(window) && !ModalScope::Open()) {
    takeDrop(owner, window, drop);
  }
  shell_calls::DragFinish(drop);
  return 0;
}

// Every dropped file is appended as a list file; those that are not add nothing, silently.
void TakeListFiles(MainWindow* owner, HWND, HDROP drop) {
  UINT files = shell_calls::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  {
    ListFileWork work(owner);  // however many files, one wait for those held
    for (UINT i = 0; i < files; ++i) {
      std::unique_ptr<wchar_t[]> path = DroppedPath(drop, i);
      std::unique_ptr<char[]> utf8 = path ? Utf8Path(path.get()) : nullptr;
      if (utf8) owner->list->LoadFromFile(utf8.get(), kListFileSignature, false);
    }
  }
  owner->RefillList();
  owner->ClearFields();
  owner->currentIndex = -1;  // the rows were rebuilt: none is the one a command worked on
}

void TakePath(MainWindow* owner, HWND, HDROP drop) {
  std::unique_ptr<wchar_t[]> path = DroppedPath(drop, 0);
  if (path && !owner->SetFieldText(IDC_PATH, path.get())) {
    owner->WarnPathTooLong(IDC_PATH, texts::kDropTooLongCaption);
  }
}

void TakeQuotedOption(MainWindow* owner, HWND, HDROP drop) {
  std::unique_ptr<wchar_t[]> path = DroppedPath(drop, 0);
  if (path && !owner->AppendQuotedPath(path.get())) {
    owner->WarnPathTooLong(IDC_OPTIONS, texts::kDropTooLongCaption);
  }
}

}  // namespace

LRESULT CALLBACK ListBoxSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return RouteSubclassed(window, message, wParam, lParam, &MainWindow::listBoxProc, TakeListFiles);
}

LRESULT CALLBACK NameEditSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return RouteSubclassed(window, message, wParam, lParam, &MainWindow::nameEditProc, nullptr,
                         IDC_NAME);
}

LRESULT CALLBACK PathEditSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return RouteSubclassed(window, message, wParam, lParam, &MainWindow::pathEditProc, TakePath,
                         IDC_PATH);
}

LRESULT CALLBACK OptionsEditSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return RouteSubclassed(window, message, wParam, lParam, &MainWindow::optionsEditProc,
                         TakeQuotedOption, IDC_OPTIONS);
}
