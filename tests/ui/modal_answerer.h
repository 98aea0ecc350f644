// Answers the choice dialog, the common open/save dialogs and the folder browser as a person
// would: reads what they show, then types a name, picks an option, or presses Enter or Esc.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct ModalStep {
  enum Kind { Choice, File, Browse } kind;
  // Choice: 1 first (Enter), 2 second, 0 Esc. File: the name to type, empty to cancel.
  // Browse: "ok", "cancel", or a path to pick and then press OK.
  int option = 0;
  std::string text;
};

struct ModalSeen {
  ModalStep::Kind kind;
  std::string caption;
  std::vector<std::string> texts;  // choice: the options; file: name, filter items, selected
};

class ModalAnswerer {
 public:
  explicit ModalAnswerer(std::vector<ModalStep> steps);
  ~ModalAnswerer();
  const std::vector<ModalSeen>& seen() const { return seen_; }
  size_t unanswered() const { return steps_.size() - next_; }

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
  void OnActivate(HWND window);

  HHOOK hook_;
  std::vector<ModalStep> steps_;
  size_t next_ = 0;
  std::vector<ModalSeen> seen_;
};
