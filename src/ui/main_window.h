// The main dialog's state object: one per run, reached through the global mainWindow.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>

#include "resource.h"
#include "store/file_layer.h"
#include "store/launch_setting_list.h"
#include "ui/modal_scope.h"
#include "ui/taskbar_button.h"

class CommandLineArgs;
class ListFileWork;
struct SingleLaunch;

// The property that marks the main window, so that a second copy can find the running one.
constexpr wchar_t kMainWindowMark[] = L"kmlaunch.MainWindow";

// Posted by the batch worker as its very last touch of the window.
constexpr UINT kBatchFinishedMessage = WM_APP + 1;
// Sent by SetMode from another thread: modes change on the dialog's own thread.
constexpr UINT kSetModeMessage = WM_APP + 2;
// Posted by the batch worker as each setting starts: wParam its row, lParam how many have started
// (low half) of how many are enabled (high half).
constexpr UINT kBatchProgressMessage = WM_APP + 3;
// Posted by the batch worker around a failure box: wParam TRUE while it waits for the user.
constexpr UINT kBatchPausedMessage = WM_APP + 4;

// The controls that take dropped files.
constexpr int kDropTargets[] = {IDC_SETTING_LIST, IDC_PATH, IDC_OPTIONS};

// The name of the message a second copy posts to ask the running one to come forward.
constexpr wchar_t kBringForwardMessageName[] = L"kmlaunch.BringForward";

enum class UiMode : int32_t { None = -1, Idle = 0, Edit = 1, New = 2, Batch = 3, BatchEnd = 4 };

// What the process entry hands to the dialog: its first member is all WM_INITDIALOG reads.
struct DialogStart {
  HINSTANCE instance;
};

class MainWindow {
 public:
  MainWindow(HINSTANCE instance, HWND dialog, const CommandLineArgs& args);
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Modes and routing (mode_routing.cpp).
  UiMode SetMode(UiMode newMode);
  bool HandleCancel();
  bool ShowAbout();
  bool RequestClose();
  void Teardown();
  // Tells Windows why the session's end is held up, or, with null, that it no longer is.
  void ShowShutdownReason(const wchar_t* reason);
  // Focus to a control as the dialog manager moves it, so the default button follows.
  void FocusControl(int id);
  // The focus back on control when it can take it again; otherwise, should the window be active
  // with no control focused (brought forward while it refused input), on its first usable one.
  void GiveFocusBack(HWND control);
  // A second copy asked: the window, restored, comes forward with whatever box it has open.
  void BringForward();
  // The window's icons at the sizes Windows gives for dpi (app/main_window_init.cpp).
  void UpdateIcons(UINT dpi);
  // The window's icon of type ICON_SMALL or ICON_BIG set to icon; the one it replaces is
  // destroyed.
  void ReplaceIcon(WPARAM type, HICON icon);

  // List box and entry pane (list_pane.cpp).
  bool ClearFields();
  void ShowSetting(const LaunchSetting& setting);
  bool SelectRow(int index);
  void RefillList();
  void UpdateHorizontalExtent();
  bool ShowSelected();
  // Row text into size bytes; empty when there is no such row or it is longer than a name.
  bool ReadRow(int row, char* text, size_t size) const;
  // A row showing name, a code page 932 text, inserted before row.
  bool InsertRow(int row, const char* name);
  // A row added or removed, the horizontal extent kept exact by measuring only that row.
  void AddRow(int row, const char* name);
  void RemoveRow(int row);
  // One more row measured width pixels wide.
  void CountRowWidth(LONG width);

  // Launching (launch/launch_selected.cpp, launch/batch.cpp).
  bool LaunchSelected();
  // Starts setting on a thread of its own, the dialog answering until the program is ready.
  bool RunLaunch(const LaunchSetting& setting);
  // Esc during a single launch's wait: the wait ends, the program keeps running.
  bool EndLaunchWait();
  bool ToggleBatch();
  // Where the batch stands, in the caption and on the taskbar button.
  void ShowBatchProgress(int32_t index, int32_t started, int32_t enabled);
  // The batch's last steps, posted by the worker to the user-interface thread.
  void FinishBatch();

  // List file commands and title (list_file_commands.cpp).
  bool NewList();
  bool LoadList();
  bool SaveList();
  bool ConfirmClose();
  // Works the caption out from the list's file path, which asks the file system, and sets it.
  void UpdateTitle();
  // The caption UpdateTitle last worked out, set again without asking the file system.
  void RestoreTitle();
  // The caption for the list's file path; null when memory runs out.
  std::unique_ptr<wchar_t[]> TitleText() const;
  bool ChooseOpenPath(wchar_t* buffer, DWORD size);
  bool ChooseSavePath(wchar_t* buffer, DWORD size);

  // Field helpers (field_helpers.cpp).
  bool BrowsePath();
  bool BrowseOptions();
  // The chosen path into chosen (MAX_PATH units), and into buffer where code page 932 holds it.
  bool BrowseForFileOrFolder(char* buffer, wchar_t* chosen);
  // The path goes in whole with both its quotes, or not at all (false).
  bool AppendQuotedPath(const wchar_t* path);
  // A path that does not fit field id is refused whole, never stored cut.
  void WarnPathTooLong(int id, const wchar_t* caption);
  // A text field's content as it fits its record field of size bytes, whole characters only;
  // false when it has a character that code page 932 lacks.
  bool ReadField(int id, char* text, size_t size) const;
  // Whether a text field shows text, a code page 932 text, as ShowSetting put it there.
  bool FieldShows(int id, const char* text) const;
  // A text field set to text; false, and the field unchanged, when it does not all fit.
  bool SetFieldText(int id, const wchar_t* text);
  // EN_CHANGE of a text field: text past the field's bytes that came in some other way than
  // typing or pasting is cut where it came in; a line break ends the text, control characters go.
  bool KeepFieldStorable(int id);

  // Entry editing (entry_editing.cpp).
  bool BeginNewEntry();
  bool BeginEdit();
  bool DuplicateEntry();
  bool MoveEntryUp();
  bool MoveEntryDown();
  bool RegisterEntry();
  bool CancelEdit();
  bool DeleteEntry();
  bool MoveEntry(int step);
  int SelectedRow() const;
  // currentIndex := row and its record into editBuffer; reports a row without a record.
  bool FetchRowIntoEditBuffer(int row);

  HWND Control(int id) const { return GetDlgItem(dialog, id); }

  HINSTANCE instance;
  HWND dialog;
  // The one signal between the user-interface thread and the batch worker.
  std::atomic<UiMode> mode;
  LaunchSettingList* list;
  int32_t currentIndex;
  LaunchSetting editBuffer;
  WNDPROC listBoxProc;
  WNDPROC nameEditProc;
  WNDPROC pathEditProc;
  WNDPROC optionsEditProc;
  bool active = false;                           // the active window, as WM_ACTIVATE last said
  const wchar_t* shutdownReasonShown = nullptr;  // what Windows was told, if anything
  ListFileWork* listFileWork = nullptr;          // the load or save under way, if any
  SingleLaunch* launchWait = nullptr;            // the single launch being waited for, if any
  HWND focusBeforeBatch = nullptr;               // the control given the focus back after a batch
  LONG widestRow = 0;                            // the list box's horizontal extent, in pixels
  int widestRows = 0;                            // how many rows are that wide
  // Zero if Windows could not register it.
  UINT bringForwardMessage = 0;
  UINT taskbarButtonCreatedMessage = 0;
  TaskbarButton taskbar;
  // The caption UpdateTitle last set: a batch step leads it with its progress without probing a
  // file server that may have gone away.
  std::unique_ptr<wchar_t[]> title;
  HICON icons[2] = {};  // by type: ICON_SMALL, ICON_BIG
};

extern MainWindow* mainWindow;

// A load or a save of list files from the window, for as long as it lives. Its retries share one
// deadline. Once it waits for a file another program holds, the window answers as under a box: it
// repaints and hears the desktop, commands and closes wait, and clicks, keys and drops are
// refused, with the wait cursor, until the work ends and the focus goes back. A session's end is
// refused while it lives, so that Windows never ends the program in the middle of it.
class ListFileWork {
 public:
  explicit ListFileWork(MainWindow* window);
  ~ListFileWork();
  ListFileWork(const ListFileWork&) = delete;
  ListFileWork& operator=(const ListFileWork&) = delete;

  bool refusing() const { return refusing_; }

 private:
  static void Wait(void* work, unsigned ms);
  void Refuse(bool refuse);

  MainWindow* window_;
  // Commands and closes that come while it waits run once it has ended; before its first wait
  // nothing comes through.
  ModalScope modal_;
  bool refusing_ = false;
  HWND focus_ = nullptr;  // where the focus was when the refusal began
  file_layer::HoldWait hold_;
};

// At the end of the process: a single launch whose wait was ended may still be inside the shell,
// and gets up to mostMs to finish starting its program.
void FinishLaunchesUnderway(DWORD mostMs);

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// WM_INITDIALOG of the main dialog (app/main_window_init.cpp).
INT_PTR InitMainDialog(HWND dialog, LPARAM start);

// The subclass procedures of the list box and the three text fields (field_helpers.cpp).
LRESULT CALLBACK ListBoxSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK NameEditSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK PathEditSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK OptionsEditSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
