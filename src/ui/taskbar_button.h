// The program's button on the taskbar, showing how far the batch has got. Every failure (no
// taskbar, no such COM class) leaves the button as it was and changes nothing else.
#pragma once

#include <windows.h>

#include <shobjidl.h>

class TaskbarButton {
 public:
  TaskbarButton() = default;
  ~TaskbarButton();
  TaskbarButton(const TaskbarButton&) = delete;
  TaskbarButton& operator=(const TaskbarButton&) = delete;

  // Windows has made the window's button ("TaskbarButtonCreated"; again after Explorer
  // restarts): only from now on may it be shown progress.
  void Created(HWND window);
  void Progress(int done, int total);
  // A box waits for the user: the bar stays where it is, in the paused colour.
  void Pause(bool paused);
  void Clear();

 private:
  ITaskbarList3* taskbar_ = nullptr;
  HWND window_ = nullptr;
};
