// Process entry: one copy at a time, then the main dialog until it closes.
#include "resource.h"
#include "ui/main_window.h"

namespace {

// A program unpacked into Downloads sits beside whatever else was downloaded: no DLL is ever
// looked for in its own folder, or in the current one, only in System32. Windows 7 without its
// 2011 update lacks SetDefaultDllDirectories: there at least the current folder leaves the search.
void LoadLibrariesFromSystemOnly() {
  using SetDefault = BOOL(WINAPI*)(DWORD);
  auto setDefault = reinterpret_cast<SetDefault>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
  if (setDefault == nullptr || !setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) SetDllDirectoryW(L"");
}

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
  LoadLibrariesFromSystemOnly();
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
  // A program the user launched is still being started by the shell: let it finish.
  FinishLaunchesUnderway(5000);
  if (mutex != nullptr) CloseHandle(mutex);
  return 0;
}
