// Browse buttons and the subclassed drop targets; the drops themselves are not built yet.
#include "ui/main_window.h"

namespace {

MainWindow* WindowOf(HWND control) {
  return reinterpret_cast<MainWindow*>(GetWindowLongPtrA(control, GWLP_USERDATA));
}

}  // namespace

bool MainWindow::BrowsePath() { return false; }
bool MainWindow::BrowseOptions() { return false; }

LRESULT CALLBACK ListBoxSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcA(WindowOf(window)->listBoxProc, window, message, wParam, lParam);
}

LRESULT CALLBACK PathEditSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcA(WindowOf(window)->pathEditProc, window, message, wParam, lParam);
}

LRESULT CALLBACK OptionsEditSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcA(WindowOf(window)->optionsEditProc, window, message, wParam, lParam);
}
