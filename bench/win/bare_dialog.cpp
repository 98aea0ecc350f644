// A modal dialog with one button and nothing else: what any Win32 dialog program costs to start.
#include <windows.h>

namespace {

INT_PTR CALLBACK BareProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  if ((message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) ||
      message == WM_CLOSE) {
    EndDialog(dialog, 0);
    return TRUE;
  }
  return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  DialogBoxParamW(instance, MAKEINTRESOURCEW(101), nullptr, BareProc, 0);
  return 0;
}
