// Process entry: one copy at a time, then the main dialog until it closes.
#include "resource.h"
#include "ui/main_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  DialogStart start = {instance};
  DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainDialogProc,
                  reinterpret_cast<LPARAM>(&start));
  return 0;
}
