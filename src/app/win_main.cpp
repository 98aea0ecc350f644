// Process entry: one copy at a time, then the main dialog until it closes.
#include "resource.h"
#include "ui/main_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  HANDLE mutex = CreateMutexA(nullptr, TRUE, "kmlaunch");
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    if (mutex != nullptr) CloseHandle(mutex);
    return 0;
  }
  // A mutex that could not be made leaves the program running without the guard.
  DialogStart start = {instance};
  DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainDialogProc,
                  reinterpret_cast<LPARAM>(&start));
  if (mutex != nullptr) CloseHandle(mutex);
  return 0;
}
