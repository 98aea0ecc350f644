// The main dialog's state object: one per run, reached through the global mainWindow.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

#include "store/launch_setting_list.h"

class CommandLineArgs;

// The property that marks the main window, so that a second copy can find the running one.
constexpr char kMainWindowMark[] = "kmlaunch.MainWindow";

// Posted by the batch worker as its very last touch of the window.
constexpr UINT kBatchFinishedMessage = WM_APP + 1;

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
  // Tells Windows, or stops telling it, why the session's end is held up.
  void ShowShutdownReason(bool show);

  // List box and entry pane (list_pane.cpp).
  bool ClearFields();
  void ShowSetting(const LaunchSetting& setting);
  bool SelectRow(int index);
  void RefillList();
  void UpdateHorizontalExtent();
  bool ShowSelected();
  // Row text into size bytes; empty when there is no such row or it is longer than a name.
  bool ReadRow(int row, char* text, size_t size) const;

  // Launching (launch/launch_selected.cpp, launch/batch.cpp).
  bool LaunchSelected();
  bool ToggleBatch();
  // The batch's last steps, posted by the worker to the user-interface thread.
  void FinishBatch();

  // List file commands and title (list_file_commands.cpp).
  bool NewList();
  bool LoadList();
  bool SaveList();
  bool ConfirmClose();
  void UpdateTitle();
  bool ChooseOpenPath(char* buffer, DWORD size);
  bool ChooseSavePath(char* buffer, DWORD size);

  // Field helpers (field_helpers.cpp).
  bool BrowsePath();
  bool BrowseOptions();
  bool BrowseForFileOrFolder(char* buffer);
  void AppendQuotedPath(const char* path);
  // A text field's content as it fits its record field of size bytes, whole characters only.
  void ReadField(int id, char* text, size_t size) const;
  // EN_CHANGE of a text field: text past the field's bytes, however it came in, is cut back.
  bool KeepFieldWithinLimit(int id);

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
  WNDPROC pathEditProc;
  WNDPROC optionsEditProc;
  bool shutdownReasonShown = false;
};

extern MainWindow* mainWindow;

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// WM_INITDIALOG of the main dialog (app/main_window_init.cpp).
INT_PTR InitMainDialog(HWND dialog, LPARAM start);

// The subclass procedures of the list box and the two drop-target fields (field_helpers.cpp).
LRESULT CALLBACK ListBoxSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK PathEditSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK OptionsEditSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
