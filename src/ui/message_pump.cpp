// The one loop that waits while dispatching: a launch's wait, a retried file, the end of the run.
#include "ui/message_pump.h"

namespace {

// A stop is looked at this often even when no message comes.
constexpr DWORD kStopCheckMs = 50;

}  // namespace

bool PumpMessagesUntil(HWND dialog, HANDLE object, DWORD mostMs, LaunchSettingList::StopCheck stop,
                       void* context) {
  ULONGLONG start = GetTickCount64();
  for (;;) {
    if (stop != nullptr && stop(context)) return true;
    ULONGLONG waited = GetTickCount64() - start;
    if (mostMs != INFINITE && waited >= mostMs) return false;
    DWORD slice = mostMs == INFINITE ? INFINITE : static_cast<DWORD>(mostMs - waited);
    if (stop != nullptr && slice > kStopCheckMs) slice = kStopCheckMs;
    DWORD woken = MsgWaitForMultipleObjectsEx(object != nullptr ? 1 : 0, &object, slice,
                                              QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (object != nullptr && woken == WAIT_OBJECT_0) return true;
    if (woken == WAIT_FAILED) return false;
    MSG msg;
    while ((stop == nullptr || !stop(context)) && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        return false;
      }
      if (dialog == nullptr || !IsDialogMessageW(dialog, &msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
    }
  }
}
