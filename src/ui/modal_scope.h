// Counts the modal loops open on this thread. Any posted or sent message can come through such a
// loop while the command that opened it is still running; the dialog procedure asks here before
// it lets a message change what that command is using.
#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/thread_slot.h"

class ModalScope {
 public:
  ModalScope() { SetDepth(Depth() + 1); }
  ~ModalScope() { Leave(); }
  ModalScope(const ModalScope&) = delete;
  ModalScope& operator=(const ModalScope&) = delete;

  static bool Open() { return Depth() > 0; }
  // A close that arrived inside a modal loop, carried out when the last one has ended.
  static void HoldClose(HWND window) { heldClose.Set(window); }

  // The system's own loops (the window menu that Alt or F10 opens, a move or a resize) begin
  // and end with messages rather than a scope. A close carried out inside one would hide the
  // window while the loop still runs, and the process would live on unseen, holding the
  // one-copy guard; it waits for the loop's end like any other. True for those messages.
  static bool TrackSystemLoop(UINT message) {
    switch (message) {
      case WM_ENTERMENULOOP:
      case WM_ENTERSIZEMOVE:
        SetDepth(Depth() + 1);
        return true;
      case WM_EXITMENULOOP:
      case WM_EXITSIZEMOVE:
        if (Depth() > 0) Leave();
        return true;
      default:
        return false;
    }
  }

 private:
  static void Leave() {
    SetDepth(Depth() - 1);
    HWND window = static_cast<HWND>(heldClose.Get());
    if (Depth() > 0 || window == nullptr) return;
    // Posted, so it runs once the command has returned to the dialog's own loop (or is held
    // again by the next box that command opens).
    PostMessageW(window, WM_CLOSE, 0, 0);
    heldClose.Set(nullptr);
  }

  static intptr_t Depth() { return reinterpret_cast<intptr_t>(depth.Get()); }
  static void SetDepth(intptr_t value) { depth.Set(reinterpret_cast<void*>(value)); }

  static ThreadSlot depth;
  static ThreadSlot heldClose;
};
