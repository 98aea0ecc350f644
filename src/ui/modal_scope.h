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
  ~ModalScope() {
    SetDepth(Depth() - 1);
    HWND window = static_cast<HWND>(heldClose.Get());
    if (Depth() > 0 || window == nullptr) return;
    // Posted, so it runs once the command has returned to the dialog's own loop (or is held
    // again by the next box that command opens).
    PostMessageW(window, WM_CLOSE, 0, 0);
    heldClose.Set(nullptr);
  }
  ModalScope(const ModalScope&) = delete;
  ModalScope& operator=(const ModalScope&) = delete;

  static bool Open() { return Depth() > 0; }
  // A close that arrived inside a modal loop, carried out when the last one has ended.
  static void HoldClose(HWND window) { heldClose.Set(window); }

 private:
  static intptr_t Depth() { return reinterpret_cast<intptr_t>(depth.Get()); }
  static void SetDepth(intptr_t value) { depth.Set(reinterpret_cast<void*>(value)); }

  static ThreadSlot depth;
  static ThreadSlot heldClose;
};
