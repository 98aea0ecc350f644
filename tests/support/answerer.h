// Meets the boxes and dialogs of a test as a person would, the same on Windows and Wine: one
// answerer that follows a script of typed steps, one reader of what a box shows, and one wait.
//
// A box or dialog of this thread is met as it is activated; one of another thread or process
// (the batch's worker, a running copy of the program) while the test waits in WaitUntil. A file
// dialog is read from the request the program hands over and answered by what holds for every
// shape of it: the name box has the focus, a full path is typed there and Enter pressed.
#pragma once

#include <windows.h>

#include <commdlg.h>
#include <shlobj.h>

#include <functional>
#include <string>
#include <vector>

struct Step {
  enum Kind { Box, Choice, File, Folder, Keys, Cancel } kind;
  // Box: the button to press. Choice: 1 the first option (Enter), 2 the second.
  int value = 0;
  // File: the path to type (UTF-8). Folder: a path to pick before OK, or empty for OK alone.
  // Keys: virtual-key codes pressed one at a time where the dialog's focus is, as "Y" for a file
  // dialog's overwrite question; any dialog but the program's own message boxes.
  std::string text;
};

inline Step Press(int button) { return {Step::Box, button, ""}; }
inline Step Choose(int option) { return {Step::Choice, option, ""}; }
inline Step TypeFile(const std::string& path) { return {Step::File, 0, path}; }
inline Step PickFolder(const std::string& path = "") { return {Step::Folder, 0, path}; }
inline Step Keys(const std::string& keys) { return {Step::Keys, 0, keys}; }
// Any box or dialog: Esc, or the box's cancel-like button.
inline Step CancelIt() { return {Step::Cancel, 0, ""}; }

// What a person sees of a box or dialog.
struct Seen {
  Step::Kind kind = Step::Box;
  std::string caption;
  // A message box: its text, buttons (of IDOK, IDCANCEL, IDYES, IDNO) and icon ("warning",
  // "error", "information", "question" or "none").
  std::string text;
  std::vector<int> buttons;
  std::string icon;
  // The choice dialog: its options. A file dialog: the path it starts on (UTF-8), the filter's
  // names, the one taken.
  std::vector<std::string> texts;
  // A file dialog or the folder browser: the request's flags. Keys: the id the focus had first.
  unsigned long flags = 0;
};

// The program's main dialog, in this process or another, by its list.
bool IsMainDialog(HWND window);

// A message box as a person reads it; the icon by its static's SS_ICON style, whatever its id.
Seen ReadBox(HWND box);

// Answers the boxes and dialogs of one process, this one unless told, with the script's next step.
// One that does not fit the step, or comes beyond the script, is recorded and cancelled, and the
// test fails on seen(). A later answerer stands in for this one until it ends.
class Answerer {
 public:
  explicit Answerer(std::vector<Step> steps = {}, DWORD process = GetCurrentProcessId());
  ~Answerer();
  Answerer(const Answerer&) = delete;
  Answerer& operator=(const Answerer&) = delete;

  const std::vector<Seen>& seen() const { return seen_; }
  // Only the message boxes of seen().
  std::vector<Seen> boxes() const;
  size_t unanswered() const { return steps_.size() - next_; }
  // Runs as each box or dialog opens, before its answer: a look at the window under it then, or
  // a post to it as the shell or another program makes at any moment.
  std::function<void(const Seen&)> onOpen;

  // Meets the boxes and dialogs of other threads that are up now; WaitUntil calls it.
  static void MeetOthers();

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
  static void SeeFile(const OPENFILENAMEW* request);
  static void SeeFolder(const BROWSEINFOW* request);
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
  void Meet(HWND window);
  void Answer(HWND window, const Step& step);
  // Whether the next step answers a window of this kind.
  bool Fits(Step::Kind kind) const;

  Answerer* previous_;
  DWORD thread_;
  HHOOK hook_;
  DWORD process_;
  std::vector<Step> steps_;
  size_t next_ = 0;
  std::vector<Seen> seen_;
  std::vector<HWND> known_;  // met once, never looked at again: its thread may be tearing it down
  // Work that waits on the dialog's own modal loop: the file dialog's name box to take the focus,
  // keys for a dialog, the folder browser's first selection.
  std::wstring fileTitle_;
  std::string fileName_;  // empty: Esc
  HWND keysFor_ = nullptr;
  std::string keys_;
  HWND browser_ = nullptr;
  std::wstring pick_;
  std::string folderTitle_;
  unsigned long folderFlags_ = 0;
  UINT_PTR timer_ = 0;
};

// Dispatches this thread's messages and meets other threads' boxes until condition holds or ms
// have passed; whether it held.
bool WaitUntil(const std::function<bool()>& condition, DWORD ms = 10000);
// Lets what is queued for this thread, and what that sets going, run: a short WaitUntil.
void PumpMessages();

// A list box's rows as it tells them, wide, in code page 932; across processes too.
std::vector<std::string> ListRows(HWND listBox);
