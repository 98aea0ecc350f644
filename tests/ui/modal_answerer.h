// Answers the choice dialog, the common open/save dialogs and the folder browser as a person
// would: picks an option, types a path, or presses Enter or Esc. A file dialog is read from the
// request the program hands over, the same on Windows and Wine, and answered by what holds for
// every shape of it: the name box has the focus, a full path is typed there and Enter pressed.
#pragma once

#include <windows.h>

#include <commdlg.h>
#include <shlobj.h>

#include <string>
#include <vector>

struct ModalStep {
  enum Kind { Choice, File, Browse, Key } kind;
  // Choice: 1 first (Enter), 2 second, 0 Esc. File: the path to type (UTF-8), empty to cancel.
  // Browse: "ok", "cancel", or a path to pick and then press OK. Key: the keys (virtual-key
  // codes) to press one at a time where the next dialog's focus is, as "Y" for a file dialog's
  // overwrite question; any dialog but the program's message boxes.
  int option = 0;
  std::string text;
};

struct ModalSeen {
  ModalStep::Kind kind;
  std::string caption;
  // choice: the options; file: the path it starts on (UTF-8), the filter's names, the one taken
  std::vector<std::string> texts;
  // file and browse: the request's flags; key: the id the focus had at first
  unsigned long flags = 0;
};

class ModalAnswerer {
 public:
  explicit ModalAnswerer(std::vector<ModalStep> steps);
  ~ModalAnswerer();
  const std::vector<ModalSeen>& seen() const { return seen_; }
  size_t unanswered() const { return steps_.size() - next_; }

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
  static void SeeFile(const OPENFILENAMEW* request);
  static void SeeFolder(const BROWSEINFOW* request);
  static void CALLBACK KeyTimer(HWND, UINT, UINT_PTR timer, DWORD);
  void OnActivate(HWND window);

  HHOOK hook_;
  std::vector<ModalStep> steps_;
  size_t next_ = 0;
  std::vector<ModalSeen> seen_;
};
