// Counts the modal loops open on this thread. Any posted or sent message can come through such a
// loop while the command that opened it is still running; the dialog procedure asks here before
// it lets a message change what that command is using.
#pragma once

#include <windows.h>

class ModalScope {
 public:
  ModalScope() { ++depth; }
  ~ModalScope() {
    if (--depth > 0 || heldClose == nullptr) return;
    // Posted, so it runs once the command has returned to the dialog's own loop (or is held
    // again by the next box that command opens).
    PostMessageW(heldClose, WM_CLOSE, 0, 0);
    heldClose = nullptr;
  }
  ModalScope(const ModalScope&) = delete;
  ModalScope& operator=(const ModalScope&) = delete;

  static bool Open() { return depth > 0; }
  // A close that arrived inside a modal loop, carried out when the last one has ended.
  static void HoldClose(HWND window) { heldClose = window; }

 private:
  static inline thread_local int depth = 0;
  static inline thread_local HWND heldClose = nullptr;
};
