// Process entry: one copy at a time, then the main dialog until it closes.
#include "resource.h"
#include "ui/main_window.h"

namespace {

BOOL CALLBACK FindMarkedWindow(HWND window, LPARAM found) {
  if (GetPropA(window, kMainWindowMark) == nullptr) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

// A user who starts the program again is shown the copy that runs, restored if it was minimised,
// with whatever box it has open on top.
void BringRunningCopyForward() {
  HWND running = nullptr;
  EnumWindows(FindMarkedWindow, reinterpret_cast<LPARAM>(&running));
  if (running == nullptr) return;
  if (IsIconic(running)) ShowWindow(running, SW_RESTORE);
  SetForegroundWindow(GetLastActivePopup(running));
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  HANDLE mutex = CreateMutexA(nullptr, TRUE, "kmlaunch");
  DWORD error = GetLastError();
  // A copy running as administrator holds a mutex that this one may not open: a copy runs all
  // the same.
  if (error == ERROR_ALREADY_EXISTS || (mutex == nullptr && error == ERROR_ACCESS_DENIED)) {
    if (mutex != nullptr) CloseHandle(mutex);
    BringRunningCopyForward();
    return 0;
  }
  // A mutex that could not be made for another reason leaves the program running without the
  // guard.
  DialogStart start = {instance};
  DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainDialogProc,
                  reinterpret_cast<LPARAM>(&start));
  if (mutex != nullptr) CloseHandle(mutex);
  return 0;
}
