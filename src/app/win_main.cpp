// Process entry: one copy at a time, then the main dialog until it closes.
#include "resource.h"
#include "ui/main_window.h"

namespace {

BOOL CALLBACK FindMarkedWindow(HWND window, LPARAM found) {
  if (GetPropW(window, kMainWindowMark) == nullptr) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

// A user who starts the program again is shown the copy that runs, restored if it was minimised,
// with whatever box it has open on top. The running copy does that itself, asked by a posted
// message: nothing here waits for it, whether it answers or not, and Windows lets it take the
// foreground that this copy was given.
void BringRunningCopyForward() {
  HWND running = nullptr;
  EnumWindows(FindMarkedWindow, reinterpret_cast<LPARAM>(&running));
  if (running == nullptr) return;
  DWORD process = 0;
  GetWindowThreadProcessId(running, &process);
  AllowSetForegroundWindow(process);
  PostMessageW(running, RegisterWindowMessageW(kBringForwardMessageName), 0, 0);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  HANDLE mutex = CreateMutexW(nullptr, TRUE, L"kmlaunch");
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
  DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, MainDialogProc,
                  reinterpret_cast<LPARAM>(&start));
  if (mutex != nullptr) CloseHandle(mutex);
  return 0;
}
