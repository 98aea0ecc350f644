// Modes, the dialog procedure's routing table, Esc, About, Exit and the teardown.
#include <algorithm>
#include <cstring>
#include <iterator>

#include "resource.h"
#include "ui/main_window.h"
#include "ui/message_box.h"
#include "ui/modal_scope.h"
#include "ui/texts.h"

MainWindow* mainWindow = nullptr;

ThreadSlot ModalScope::depth;
ThreadSlot ModalScope::heldClose;

namespace {

// Every control with an identifier, in the order SetMode disables them.
constexpr int kModeControls[] = {
    IDC_SETTING_LIST, IDC_NEW_LIST,    IDC_NEW_ENTRY,  IDC_EDIT_ENTRY,
    IDC_DUPLICATE,    IDC_MOVE_UP,     IDC_MOVE_DOWN,  IDC_NAME,
    IDC_PATH,         IDC_BROWSE_PATH, IDC_OPTIONS,    IDC_BROWSE_OPTIONS,
    IDC_WINDOW_STATE, IDC_ENABLED,     IDC_LAUNCH_ONE, IDOK,
    IDC_CANCEL_EDIT,  IDC_DELETE,      IDC_LOAD_LIST,  IDC_SAVE_LIST,
    IDC_BATCH,        IDC_ABOUT,       IDC_EXIT};

constexpr int kIdleControls[] = {IDC_SETTING_LIST, IDC_NEW_LIST,  IDC_NEW_ENTRY, IDC_EDIT_ENTRY,
                                 IDC_DUPLICATE,    IDC_MOVE_UP,   IDC_MOVE_DOWN, IDC_LAUNCH_ONE,
                                 IDC_DELETE,       IDC_LOAD_LIST, IDC_SAVE_LIST, IDC_BATCH,
                                 IDC_ABOUT,        IDC_EXIT};

constexpr int kEditControls[] = {IDC_NAME,           IDC_PATH,         IDC_BROWSE_PATH, IDC_OPTIONS,
                                 IDC_BROWSE_OPTIONS, IDC_WINDOW_STATE, IDC_ENABLED,     IDOK,
                                 IDC_CANCEL_EDIT};

template <size_t N>
bool Contains(const int (&ids)[N], int id) {
  return std::find(std::begin(ids), std::end(ids), id) != std::end(ids);
}

// Whether a mode enables the control; every other control is disabled in it.
bool EnabledIn(UiMode mode, int id) {
  switch (mode) {
    case UiMode::Idle:
      return Contains(kIdleControls, id);
    case UiMode::Edit:
      return Contains(kEditControls, id) || id == IDC_DELETE || id == IDC_ABOUT || id == IDC_EXIT;
    case UiMode::New:
      return Contains(kEditControls, id) || id == IDC_ABOUT || id == IDC_EXIT;
    case UiMode::Batch:
      return id == IDC_BATCH;
    default:
      return false;
  }
}

bool IsBatchMode(UiMode mode) { return mode == UiMode::Batch || mode == UiMode::BatchEnd; }

BOOL RouteSettingList(MainWindow* window, int notification) {
  switch (notification) {
    case LBN_SELCHANGE:
      window->ShowSelected();
      return TRUE;
    case LBN_DBLCLK:
      window->LaunchSelected();
      return TRUE;
    case LBN_SELCANCEL:
      window->ClearFields();
      return TRUE;
    default:
      return FALSE;
  }
}

// The three text fields: only a change is looked at, to keep the text one line within the
// field's bytes.
BOOL RouteTextField(MainWindow* window, int id, int notification) {
  if (notification != EN_CHANGE) return FALSE;
  window->KeepFieldStorable(id);
  return TRUE;
}

BOOL RouteCommand(MainWindow* window, int id, int notification) {
  switch (id) {
    case IDOK:
      window->RegisterEntry();
      return TRUE;
    case IDCANCEL:
      window->HandleCancel();
      return TRUE;
    case IDC_SETTING_LIST:
      return RouteSettingList(window, notification);
    case IDC_NAME:
    case IDC_PATH:
    case IDC_OPTIONS:
      return RouteTextField(window, id, notification);
    case IDC_NEW_LIST:
      window->NewList();
      return TRUE;
    case IDC_NEW_ENTRY:
      window->BeginNewEntry();
      return TRUE;
    case IDC_EDIT_ENTRY:
      window->BeginEdit();
      return TRUE;
    case IDC_DUPLICATE:
      window->DuplicateEntry();
      return TRUE;
    case IDC_MOVE_UP:
      window->MoveEntryUp();
      return TRUE;
    case IDC_MOVE_DOWN:
      window->MoveEntryDown();
      return TRUE;
    case IDC_BROWSE_PATH:
      window->BrowsePath();
      return TRUE;
    case IDC_BROWSE_OPTIONS:
      window->BrowseOptions();
      return TRUE;
    case IDC_LAUNCH_ONE:
      window->LaunchSelected();
      return TRUE;
    case IDC_CANCEL_EDIT:
      window->CancelEdit();
      return TRUE;
    case IDC_DELETE:
      window->DeleteEntry();
      return TRUE;
    case IDC_LOAD_LIST:
      window->LoadList();
      return TRUE;
    case IDC_SAVE_LIST:
      window->SaveList();
      return TRUE;
    case IDC_BATCH:
      window->ToggleBatch();
      return TRUE;
    case IDC_ABOUT:
      window->ShowAbout();
      return TRUE;
    case IDC_EXIT:
      window->RequestClose();
      return TRUE;
    default:
      return FALSE;
  }
}

// A command that comes through a box or dialog still open would change what the command that
// opened it is using; one from a disabled control was posted by another program, and the mode
// that disabled the control does not allow it.
bool CommandAllowed(HWND dialog, int id) {
  if (ModalScope::Open()) return false;
  HWND control = GetDlgItem(dialog, id);
  return control == nullptr || IsWindowEnabled(control);
}

// While a close is being asked about, another close request is the same one.
bool closeBeingAsked = false;

BOOL HandleClose(HWND dialog) {
  if (mainWindow == nullptr || closeBeingAsked) return TRUE;
  if (ModalScope::Open()) {
    ModalScope::HoldClose(dialog);
    return TRUE;
  }
  closeBeingAsked = true;
  bool accepted = mainWindow->ConfirmClose();
  closeBeingAsked = false;
  if (accepted) {
    mainWindow->Teardown();
    delete mainWindow;
    mainWindow = nullptr;
  }
  return TRUE;
}

// Windows asks before a sign-out, restart or shut-down: unsaved changes, or a load or save under
// way (the question can come while it waits for a held file), say no, with a reason for its list
// of programs that hold the session up, and no box.
BOOL AnswerEndSession(HWND dialog) {
  bool working = mainWindow != nullptr && mainWindow->listFileWork != nullptr;
  bool keep = working || (mainWindow != nullptr && mainWindow->list->modified());
  if (keep) {
    mainWindow->ShowShutdownReason(working ? texts::kListFileWorkReason
                                           : texts::kUnsavedChangesReason);
  }
  SetWindowLongPtrW(dialog, DWLP_MSGRESULT, keep ? FALSE : TRUE);
  return TRUE;
}

}  // namespace

UiMode MainWindow::SetMode(UiMode newMode) {
  // The focus is the dialog thread's own: only there can it be seen and moved.
  if (GetWindowThreadProcessId(dialog, nullptr) != GetCurrentThreadId()) {
    return static_cast<UiMode>(
        SendMessageW(dialog, kSetModeMessage, static_cast<WPARAM>(newMode), 0));
  }
  UiMode previous = mode.load();
  if (newMode == previous) return previous;
  // Controls are disabled before the mode is stored and enabled after it. Only those whose
  // state changes are touched: nothing flickers, and each call is a trip to the window server.
  HWND toEnable[std::size(kModeControls)];
  size_t enableCount = 0;
  for (int id : kModeControls) {
    HWND control = Control(id);
    bool enabled = IsWindowEnabled(control) != FALSE;
    if (EnabledIn(newMode, id)) {
      if (!enabled) toEnable[enableCount++] = control;
    } else if (enabled) {
      EnableWindow(control, FALSE);
    }
  }
  auto enableThem = [&] {
    for (size_t i = 0; i < enableCount; ++i) EnableWindow(toEnable[i], TRUE);
  };
  auto leaveBatchLook = [this, previous] {
    if (!IsBatchMode(previous)) return;
    SetWindowTextW(Control(IDC_BATCH), texts::kBatchRun);
    SetWindowPos(dialog, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  };
  switch (newMode) {
    case UiMode::Idle:
      mode = UiMode::Idle;
      enableThem();
      leaveBatchLook();
      FocusControl(IDC_NEW_ENTRY);
      break;
    case UiMode::Edit:
    case UiMode::New:
      mode = newMode;
      enableThem();
      leaveBatchLook();
      FocusControl(IDC_NAME);
      break;
    case UiMode::Batch:
      mode = UiMode::Batch;
      enableThem();
      SetWindowTextW(Control(IDC_BATCH), texts::kBatchStop);
      SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
      FocusControl(IDC_BATCH);
      break;
    case UiMode::BatchEnd:
      mode = UiMode::BatchEnd;
      // No control is usable: the window itself keeps the keyboard, so that keys still reach the
      // dialog manager rather than arriving as system keys that nothing reads.
      if (GetFocus() == nullptr || !IsWindowEnabled(GetFocus())) SetFocus(dialog);
      break;
    default:
      break;
  }
  return previous;
}

void MainWindow::FocusControl(int id) {
  SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(id)), TRUE);
}

void MainWindow::GiveFocusBack(HWND control) {
  bool usable = IsChild(dialog, control) && IsWindowEnabled(control);
  // Without it, the first control that takes the focus.
  if (usable || (active && GetFocus() == nullptr)) {
    SendMessageW(dialog, WM_NEXTDLGCTL, usable ? reinterpret_cast<WPARAM>(control) : 0, usable);
  }
}

void MainWindow::BringForward() {
  if (IsIconic(dialog)) ShowWindow(dialog, SW_RESTORE);
  SetForegroundWindow(GetLastActivePopup(dialog));
}

bool MainWindow::HandleCancel() {
  switch (mode.load()) {
    case UiMode::Idle:
      SendMessageW(dialog, WM_CLOSE, 0, 0);
      return true;
    case UiMode::Edit:
    case UiMode::New:
      return CancelEdit();
    case UiMode::Batch:
      return ToggleBatch();
    default:
      return false;
  }
}

bool MainWindow::ShowAbout() {
  ShowMessage(dialog, texts::kAboutText, texts::kAboutCaption, MB_OK);
  return true;
}

bool MainWindow::RequestClose() {
  SendMessageW(dialog, WM_CLOSE, 0, 0);
  return true;
}

void MainWindow::ShowShutdownReason(const wchar_t* reason) {
  if (reason == shutdownReasonShown) return;
  // Windows shows the reason in its list of programs that hold up a sign-out or shut-down.
  if (reason != nullptr) {
    ShutdownBlockReasonCreate(dialog, reason);
  } else {
    ShutdownBlockReasonDestroy(dialog);
  }
  shutdownReasonShown = reason;
}

void MainWindow::Teardown() {
  ShowShutdownReason(nullptr);
  RemovePropW(dialog, kMainWindowMark);
  struct Subclassed {
    int id;
    WNDPROC saved;
  } const subclassed[] = {{IDC_SETTING_LIST, listBoxProc},
                          {IDC_NAME, nameEditProc},
                          {IDC_PATH, pathEditProc},
                          {IDC_OPTIONS, optionsEditProc}};
  for (const Subclassed& control : subclassed) {
    HWND window = Control(control.id);
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(control.saved));
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  }
  for (WPARAM type : {ICON_SMALL, ICON_BIG}) ReplaceIcon(type, nullptr);
  if (list != nullptr) {
    list->Clear();
    delete list;
    list = nullptr;
  }
}

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  // Counted and passed on: the system runs these loops itself.
  if (ModalScope::TrackSystemLoop(message)) return FALSE;
  if (mainWindow != nullptr && message != 0) {
    if (message == mainWindow->bringForwardMessage) {
      mainWindow->BringForward();
      return TRUE;
    }
    if (message == mainWindow->taskbarButtonCreatedMessage) {
      mainWindow->taskbar.Created(dialog);
      return TRUE;
    }
  }
  switch (message) {
    case WM_INITDIALOG:
      return InitMainDialog(dialog, lParam);
    case WM_COMMAND: {
      // After teardown the pointer is cleared; the window's last messages find no handler.
      if (mainWindow == nullptr) return FALSE;
      if (LOWORD(wParam) == IDCANCEL && mainWindow->EndLaunchWait()) return TRUE;
      if (!CommandAllowed(dialog, LOWORD(wParam))) return FALSE;
      BOOL handled = RouteCommand(mainWindow, LOWORD(wParam), HIWORD(wParam));
      // Saved or discarded: Windows need no longer be told why the session is held up.
      if (mainWindow != nullptr && !mainWindow->list->modified()) {
        mainWindow->ShowShutdownReason(nullptr);
      }
      return handled;
    }
    case kBatchFinishedMessage:
      if (mainWindow != nullptr) mainWindow->FinishBatch();
      return TRUE;
    case kBatchProgressMessage:
      if (mainWindow != nullptr) {
        mainWindow->ShowBatchProgress(static_cast<int32_t>(wParam), static_cast<int32_t>(lParam),
                                      static_cast<int32_t>(lParam >> 32));
      }
      return TRUE;
    case kBatchPausedMessage:
      if (mainWindow != nullptr) mainWindow->taskbar.Pause(wParam != FALSE);
      return TRUE;
    case kSetModeMessage:
      if (mainWindow == nullptr) return FALSE;
      SetWindowLongPtrW(dialog, DWLP_MSGRESULT,
                        static_cast<LONG_PTR>(mainWindow->SetMode(static_cast<UiMode>(wParam))));
      return TRUE;
    case WM_ACTIVATE:
      if (mainWindow != nullptr) mainWindow->active = LOWORD(wParam) != WA_INACTIVE;
      return FALSE;
    case WM_SETFOCUS:
      // In BatchEnd the focus stays on the window: the dialog manager would put it back on the
      // disabled button.
      return mainWindow != nullptr && mainWindow->mode.load() == UiMode::BatchEnd;
    case WM_CLOSE:
      return HandleClose(dialog);
    case WM_QUERYENDSESSION:
      return AnswerEndSession(dialog);
    case WM_SETCURSOR:
      // The wait for a held list file shows; a click on the refusing window beeps, as on any
      // disabled one.
      if (mainWindow == nullptr || mainWindow->listFileWork == nullptr ||
          !mainWindow->listFileWork->refusing()) {
        return FALSE;
      }
      if (HIWORD(lParam) == WM_LBUTTONDOWN || HIWORD(lParam) == WM_RBUTTONDOWN) MessageBeep(MB_OK);
      SetCursor(LoadCursorW(nullptr, reinterpret_cast<const wchar_t*>(IDC_WAIT)));
      SetWindowLongPtrW(dialog, DWLP_MSGRESULT, TRUE);
      return TRUE;
    case WM_DPICHANGED:
      // Moved to a screen of another scale: icons drawn for it. The dialog manager rescales the
      // rest.
      if (mainWindow != nullptr) mainWindow->UpdateIcons(LOWORD(wParam));
      return FALSE;
    default:
      return FALSE;
  }
}
