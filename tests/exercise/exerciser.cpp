// A random exerciser: drives kmlaunch.exe with a person's input (SendInput) and with what the
// desktop sends (closes, session-end questions, second starts), and reports crashes, hangs,
// processes stuck at exit, stalls and lock-outs, each with the last actions that led to it.
// Usage: exerciser SEED ACTIONS [--keep], beside kmlaunch.exe and probe.exe in a prefix of its own
#include <windows.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <deque>
#include <random>
#include <string>
#include <vector>

#include "store/launch_setting.h"
#include "ui/texts.h"
#include "support/end_probes.h"
#include "support/tool_output.h"

namespace {

constexpr DWORD kAnswerMs = 5000;    // longer than this is a stall
constexpr DWORD kHungMs = 60000;     // and a further minute without an answer is a hang
constexpr DWORD kExitMs = 60000;     // the window gone, the process may take this long to end
constexpr DWORD kLockOutMs = 10000;  // nothing usable for this long is a lock-out
constexpr size_t kTrailLength = 25;

void Print(const char* format, ...) {
  char line[4096];
  va_list arguments;
  va_start(arguments, format);
  int length = std::vsnprintf(line, sizeof line, format, arguments);
  va_end(arguments);
  if (length > 0) WriteOut(std::string(line, std::min<size_t>(length, sizeof line - 1)));
}

// What a person sees of a window: its text (read without asking the window) and its class.
std::string Describe(HWND window) {
  wchar_t text[64] = L"", className[64] = L"";
  InternalGetWindowText(window, text, 40);
  GetClassNameW(window, className, 64);
  return "\"" + Utf8(text) + "\" (" + Utf8(className) + ")";
}

struct Problem {
  const char* kind;
  int count = 0;
};

class Exerciser {
 public:
  Exerciser(unsigned seed, int actions, bool keep)
      : random_(seed), seed_(seed), total_(actions), keep_(keep) {}

  int Run();

 private:
  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
  void Act(const std::string& what);
  void Report(Problem& problem, const char* format, ...);

  void WriteListFiles();
  void WriteList(const wchar_t* name, int count, int capacity, int damagedAt);
  bool StartEpisode();
  HANDLE StartCopy(const std::wstring& arguments, DWORD* id);
  void EndEpisode();
  // False once the episode is over: the program ended, or was ended after a problem.
  bool Check();

  std::vector<HWND> Windows(bool boxesOnly) const;
  HWND TopWindow() const;
  bool Usable() const;

  void DoAction();
  // A right click only in the main window: the file dialogs' menus can delete files.
  void ClickSomewhere(HWND top, int clicks, bool right = false);
  void PressKey(HWND top);
  void TypeText(HWND top);
  // A click on the caption, or on its close box.
  void ClickCaption(HWND top, bool closeBox);
  // Input goes only to the program's own windows: on a person's desktop whatever else is in
  // front (the console running the tests, Explorer, the desktop itself) would take it.
  bool Mine(HWND window) const;
  void Click(POINT point, int clicks, bool right = false);
  // Windows' own file dialogs reach every folder: there only a name in the exerciser's folder is
  // typed and confirmed, or the dialog is cancelled.
  bool InWindowsFileDialog(HWND top) const;
  void AnswerFileDialog();
  void TidyProbes();

  std::mt19937 random_;
  unsigned seed_;
  int total_;
  bool keep_;
  int done_ = 0;
  int episodes_ = 0;
  std::wstring folder_;  // kmlaunch.exe, probe.exe and the lists
  std::deque<std::string> trail_;
  PROCESS_INFORMATION program_ = {};
  HWND main_ = nullptr;
  const char* start_ = "";
  DWORD lockedSince_ = 0;
  std::vector<HANDLE> secondCopies_;
  bool kept_ = false;

  Problem crashes_{"CRASH"}, hangs_{"HANG"}, stuck_{"STUCK AT EXIT"}, stalls_{"STALL"},
      lockOuts_{"LOCK-OUT"};
};

void Exerciser::Act(const std::string& what) {
  trail_.push_back(std::to_string(done_ + 1) + "  " + what);
  if (trail_.size() > kTrailLength) trail_.pop_front();
}

void Exerciser::Report(Problem& problem, const char* format, ...) {
  ++problem.count;
  char detail[256];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(detail, sizeof detail, format, arguments);
  va_end(arguments);
  Print("%s after action %d (episode %d, started with %s): %s\n  the last %zu actions:\n",
        problem.kind, done_, episodes_, start_, detail, trail_.size());
  for (const std::string& line : trail_) Print("    %s\n", line.c_str());
}

// --- the list files an episode starts with ------------------------------------------------------

constexpr char kSignature[17] = "\x83\x4A\x83\x81\x83\x8A\x83\x49\x83\x89\x83\x93\x83\x60\x83\x83";

void Exerciser::WriteList(const wchar_t* name, int count, int capacity, int damagedAt) {
  std::string bytes(kSignature, sizeof kSignature);
  bytes.append(reinterpret_cast<const char*>(&count), 4);
  bytes.append(reinterpret_cast<const char*>(&capacity), 4);
  char folder[MAX_PATH] = "";
  WideCharToMultiByte(932, 0, folder_.c_str(), -1, folder, sizeof folder, nullptr, nullptr);
  static const char* const kOptions[] = {"", "--never-ready", "\"引数 あ\" 2", "--x"};
  for (int i = 0; i < count; ++i) {
    LaunchSetting setting = {};
    std::snprintf(setting.name, sizeof setting.name, "設定%d", i + 1);
    // One in seven names a program that is not there: its launch fails with a box.
    std::snprintf(setting.path, sizeof setting.path, "%s\\%s", folder,
                  i % 7 == 6 ? "missing.exe" : "probe.exe");
    std::snprintf(setting.options, sizeof setting.options, "%s", kOptions[i % 4]);
    setting.windowState = i == damagedAt ? 7 : i % 3;
    setting.enabled = i % 5 != 4;
    bytes.append(reinterpret_cast<const char*>(&setting), sizeof setting);
  }
  if (count < 0) {  // random bytes, after the signature or from the first byte
    bytes.resize(count == -1 ? 0 : sizeof kSignature);
    for (int i = 0; i < 12000; ++i) bytes += static_cast<char>(Pick(256));
  }
  HANDLE file = CreateFileW((folder_ + L"\\lists\\" + name).c_str(), GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

void Exerciser::WriteListFiles() {
  CreateDirectoryW((folder_ + L"\\lists").c_str(), nullptr);
  WriteList(L"valid.dat", 6, 30, -1);
  WriteList(L"full.dat", 30, 30, -1);
  WriteList(L"large.dat", 45, 200, -1);
  WriteList(L"damaged.dat", 5, 30, 2);
  WriteList(L"random.dat", -1, 0, -1);
  WriteList(L"signed.dat", -2, 0, -1);
}

// --- episodes -----------------------------------------------------------------------------------

struct StartUp {
  const char* what;
  const wchar_t* arguments;
};

constexpr StartUp kStartUps[] = {{"no file", L""},
                                 {"a valid list", L"valid.dat"},
                                 {"a full list", L"full.dat"},
                                 {"a list with a larger capacity", L"large.dat"},
                                 {"a list damaged part-way", L"damaged.dat"},
                                 {"random bytes", L"random.dat"},
                                 {"random bytes after the signature", L"signed.dat"},
                                 {"a missing file", L"missing.dat"},
                                 {"/x and a valid list", L"/x valid.dat"}};

HANDLE Exerciser::StartCopy(const std::wstring& arguments, DWORD* id) {
  std::wstring command = L"\"" + folder_ + L"\\kmlaunch.exe\" " + arguments;
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started = {};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      (folder_ + L"\\lists").c_str(), &startup, &started)) {
    return nullptr;
  }
  CloseHandle(started.hThread);
  if (id != nullptr) *id = started.dwProcessId;
  return started.hProcess;
}

bool Exerciser::StartEpisode() {
  // A second copy that outlived the first has become a copy of its own.
  for (HANDLE copy : secondCopies_) {
    if (WaitForSingleObject(copy, 0) == WAIT_TIMEOUT) TerminateProcess(copy, 1);
    CloseHandle(copy);
  }
  secondCopies_.clear();
  ++episodes_;
  const StartUp& startUp = kStartUps[Pick(std::size(kStartUps))];
  start_ = startUp.what;
  program_ = {};
  program_.hProcess = StartCopy(startUp.arguments, &program_.dwProcessId);
  if (program_.hProcess == nullptr) return false;
  Act(std::string("start with ") + start_);
  WaitForInputIdle(program_.hProcess, 10000);
  for (int tries = 0; tries < 200 && main_ == nullptr; ++tries) {
    std::vector<HWND> windows = Windows(false);
    for (HWND window : windows) {
      if (GetPropW(window, L"kmlaunch.MainWindow") != nullptr) main_ = window;
    }
    if (main_ == nullptr) Sleep(50);
  }
  lockedSince_ = 0;
  return main_ != nullptr;
}

void Exerciser::EndEpisode() {
  if (WaitForSingleObject(program_.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(program_.hProcess, 1);
    WaitForSingleObject(program_.hProcess, 5000);
  }
  CloseHandle(program_.hProcess);
  program_ = {};
  main_ = nullptr;
  TidyProbes();
}

bool Exerciser::Check() {
  if (WaitForSingleObject(program_.hProcess, 0) == WAIT_OBJECT_0) {
    DWORD code = 0;
    GetExitCodeProcess(program_.hProcess, &code);
    if (code != 0) Report(crashes_, "the program ended with code 0x%lX", code);
    return false;
  }
  if (!IsWindow(main_)) {
    // The window is gone: the process must end by itself.
    if (WaitForSingleObject(program_.hProcess, kExitMs) == WAIT_OBJECT_0) return Check();
    Report(stuck_, "the main window is gone but process %lu has not ended in %lu s",
           program_.dwProcessId, kExitMs / 1000);
    kept_ = keep_;
    return false;
  }
  DWORD_PTR result = 0;
  DWORD began = GetTickCount();
  bool batch = (GetWindowLongPtrW(main_, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  if (!SendMessageTimeoutW(main_, WM_NULL, 0, 0, SMTO_NORMAL, kAnswerMs, &result)) {
    if (!IsWindow(main_)) return Check();
    if (!SendMessageTimeoutW(main_, WM_NULL, 0, 0, SMTO_NORMAL, kHungMs, &result)) {
      if (!IsWindow(main_)) return Check();
      Report(hangs_, "the main window of process %lu did not answer in %lu s (%s)",
             program_.dwProcessId, (kAnswerMs + kHungMs) / 1000,
             Windows(true).empty() ? "no box open" : "a box open");
      kept_ = keep_;
      return false;
    }
    if (!batch) Report(stalls_, "the main window answered after %lu ms", GetTickCount() - began);
  }
  if (Usable()) {
    lockedSince_ = 0;
  } else if (lockedSince_ == 0) {
    lockedSince_ = GetTickCount();
  } else if (GetTickCount() - lockedSince_ > kLockOutMs) {
    Report(lockOuts_, "no enabled control and no box for 10 s, the main window %s",
           IsWindowVisible(main_) ? "shown" : "hidden");
    return false;
  }
  return true;
}

// --- what is on the screen ----------------------------------------------------------------------

struct WindowSearch {
  DWORD process;
  bool boxesOnly;
  HWND main;
  std::vector<HWND>* found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<WindowSearch*>(context);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  wchar_t className[32] = L"";
  GetClassNameW(window, className, 32);
  RECT rect;
  GetWindowRect(window, &rect);
  if (process != search->process || !IsWindowVisible(window) || rect.right <= rect.left ||
      std::wcscmp(className, L"tooltips_class32") == 0 || std::wcscmp(className, L"IME") == 0) {
    return TRUE;
  }
  if (!search->boxesOnly || (window != search->main && std::wcscmp(className, L"#32770") == 0)) {
    search->found->push_back(window);
  }
  return TRUE;
}

// The program's visible top-level windows, the topmost first; boxesOnly: its boxes and dialogs.
std::vector<HWND> Exerciser::Windows(bool boxesOnly) const {
  std::vector<HWND> found;
  WindowSearch search = {program_.dwProcessId, boxesOnly, main_, &found};
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
  return found;
}

// The window a person works in: the topmost one of the program that takes input.
HWND Exerciser::TopWindow() const {
  for (HWND window : Windows(false)) {
    if (IsWindowEnabled(window)) return window;
  }
  return nullptr;
}

BOOL CALLBACK FindEnabledControl(HWND control, LPARAM found) {
  if (!IsWindowVisible(control) || !IsWindowEnabled(control)) return TRUE;
  *reinterpret_cast<bool*>(found) = true;
  return FALSE;
}

bool Exerciser::Usable() const {
  if (!Windows(true).empty()) return true;
  bool found = false;
  if (IsWindowEnabled(main_))
    EnumChildWindows(main_, FindEnabledControl, reinterpret_cast<LPARAM>(&found));
  return found;
}

// --- a person's input ---------------------------------------------------------------------------

void SendKey(WORD key, bool up) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof input);
}

void SendCharacter(wchar_t character) {
  INPUT input[2] = {};
  for (int i = 0; i < 2; ++i) {
    input[i].type = INPUT_KEYBOARD;
    input[i].ki.wScan = character;
    input[i].ki.dwFlags = KEYEVENTF_UNICODE | (i == 1 ? KEYEVENTF_KEYUP : 0);
  }
  SendInput(2, input, sizeof input[0]);
}

bool Exerciser::Mine(HWND window) const {
  DWORD process = 0;
  GetWindowThreadProcessId(GetAncestor(window, GA_ROOT), &process);
  return window != nullptr && process == program_.dwProcessId;
}

void Exerciser::Click(POINT point, int clicks, bool right) {
  if (!Mine(WindowFromPoint(point))) return;
  SetCursorPos(point.x, point.y);
  for (int i = 0; i < clicks; ++i) {
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
    SendInput(2, input, sizeof input[0]);
    Sleep(30);
  }
}

BOOL CALLBACK CollectControl(HWND control, LPARAM found) {
  if (IsWindowVisible(control)) reinterpret_cast<std::vector<HWND>*>(found)->push_back(control);
  return TRUE;
}

void Exerciser::ClickSomewhere(HWND top, int clicks, bool right) {
  std::vector<HWND> controls;
  EnumChildWindows(top, CollectControl, reinterpret_cast<LPARAM>(&controls));
  if (controls.empty()) controls.push_back(top);
  HWND control = controls[Pick(static_cast<int>(controls.size()))];
  RECT rect;
  GetWindowRect(control, &rect);
  int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (width <= 4 || height <= 4) return;
  POINT point = {rect.left + 2 + Pick(width - 4), rect.top + 2 + Pick(height - 4)};
  Act(std::string(right         ? "right-click "
                  : clicks == 2 ? "double-click "
                                : "click ") +
      Describe(control) + " in " + Describe(top));
  Click(point, clicks, right);
}

struct Key {
  const char* name;
  WORD key;
};

constexpr Key kKeys[] = {{"Tab", VK_TAB},       {"Enter", VK_RETURN},   {"Esc", VK_ESCAPE},
                         {"Space", VK_SPACE},   {"Up", VK_UP},          {"Down", VK_DOWN},
                         {"Left", VK_LEFT},     {"Right", VK_RIGHT},    {"Home", VK_HOME},
                         {"End", VK_END},       {"Backspace", VK_BACK}, {"F4", VK_F4},
                         {"Delete", VK_DELETE}, {"Alt", VK_MENU},       {"F10", VK_F10}};
// The mnemonics of the main dialog, the choice dialog and the boxes' buttons; Alt+Space opens
// the window menu.
constexpr char kMnemonics[] = "NECUWMPROFTBYGKDLSXVQAI ";

void Exerciser::PressKey(HWND top) {
  int choice = Pick(std::size(kKeys) + std::size(kMnemonics));
  WORD modifier = VK_MENU, key = VK_F4;  // the last choice: Alt+F4
  std::string name = "Alt+F4";
  if (choice < static_cast<int>(std::size(kKeys))) {
    key = kKeys[choice].key;
    modifier = key == VK_TAB && Pick(2) == 0 ? VK_SHIFT : 0;
    name = std::string(modifier != 0 ? "Shift+" : "") + kKeys[choice].name;
  } else if (kMnemonics[choice -= std::size(kKeys)] != '\0') {
    key = kMnemonics[choice];
    name = std::string("Alt+") + kMnemonics[choice];
  }
  // Delete in a file dialog would delete files of the prefix.
  if ((key == VK_DELETE && top != main_) || !Mine(GetForegroundWindow())) return;
  Act("key " + name + " in " + Describe(top));
  if (modifier != 0) SendKey(modifier, false);
  SendKey(key, false);
  SendKey(key, true);
  if (modifier != 0) SendKey(modifier, true);
}

void Exerciser::TypeText(HWND top) {
  static const wchar_t kCharacters[] =
      L"abcxyzABC019 -_.\\/:\"'&%!?　あいうえおカタカナ漢字起動設定ｱｲｳ①～";
  std::wstring text;
  if (Pick(8) == 0) {
    static const wchar_t* const kPaths[] = {L"random.dat", L"signed.dat", L"valid.dat",
                                            L"C:\\exercise\\lists\\large.dat", L"C:\\"};
    text = kPaths[Pick(std::size(kPaths))];
  } else {
    int length = Pick(10) == 0 ? 100 + Pick(200) : 1 + Pick(20);
    for (int i = 0; i < length; ++i) text += kCharacters[Pick(std::size(kCharacters) - 1)];
  }
  if (!Mine(GetForegroundWindow())) return;
  Act("type " + std::to_string(text.size()) + " characters \"" + Utf8(text.substr(0, 24)) +
      "\" in " + Describe(top));
  for (wchar_t character : text) SendCharacter(character);
}

void Exerciser::ClickCaption(HWND top, bool closeBox) {
  RECT rect;
  GetWindowRect(top, &rect);
  POINT point = {(rect.left + rect.right) / 2,
                 rect.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2};
  if (closeBox)
    point.x = rect.right - GetSystemMetrics(SM_CXFRAME) - GetSystemMetrics(SM_CXSIZE) / 2;
  Act(std::string(closeBox ? "click the close box of " : "click the caption of ") + Describe(top));
  Click(point, 1);
}

void Exerciser::TidyProbes() { EnumWindows(CloseProbe, 0); }

bool Exerciser::InWindowsFileDialog(HWND top) const {
  wchar_t caption[64] = L"";
  InternalGetWindowText(top, caption, 64);
  return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") == nullptr &&
         (std::wcscmp(caption, texts::kOpenTitle) == 0 ||
          std::wcscmp(caption, texts::kSaveTitle) == 0);
}

// The name box has the focus when the dialog opens, and keeps it while only this is typed.
void Exerciser::AnswerFileDialog() {
  std::wstring path = Pick(4) == 0 ? L"" : folder_ + (Pick(2) ? L"\\valid.dat" : L"\\保存.dat");
  if (!Mine(GetForegroundWindow())) return;
  Act(path.empty() ? "Esc in Windows' file dialog" : "type " + Utf8(path) + " and Enter");
  for (wchar_t character : path) SendCharacter(character);
  for (bool up : {false, true}) SendKey(path.empty() ? VK_ESCAPE : VK_RETURN, up);
}

void Exerciser::DoAction() {
  HWND top = TopWindow();
  int roll = Pick(100);
  if (top == nullptr || roll < 4) {
    Act("pause");
    Sleep(200 + Pick(1300));
    return;
  }
  DWORD foreground = 0;
  GetWindowThreadProcessId(GetForegroundWindow(), &foreground);
  if (foreground != program_.dwProcessId && roll < 60) {
    ClickCaption(top, false);
  } else if (roll < 93 && InWindowsFileDialog(top)) {
    AnswerFileDialog();
  } else if (roll < 38) {
    ClickSomewhere(top, 1);
  } else if (roll < 41) {
    ClickSomewhere(top, 2);
  } else if (roll < 43) {
    ClickSomewhere(top, 1, top == main_);
  } else if (roll < 72) {
    PressKey(top);
  } else if (roll < 86) {
    TypeText(top);
  } else if (roll < 91) {
    Act("WM_CLOSE posted to the main window");
    PostMessageW(main_, WM_CLOSE, 0, 0);
  } else if (roll < 93) {
    ClickCaption(top, true);
  } else if (roll < 95) {
    // Windows asks, then tells the session goes on: another program said no.
    Act("WM_QUERYENDSESSION sent, then WM_ENDSESSION(FALSE)");
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(main_, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 1000,
                        &answer);
    SendMessageTimeoutW(main_, WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF, SMTO_NORMAL, 1000, &answer);
  } else if (roll < 98) {
    static const wchar_t* const kArguments[] = {L"", L"valid.dat", L"/x", L"random.dat"};
    const wchar_t* arguments = kArguments[Pick(std::size(kArguments))];
    Act("second start with \"" + Utf8(arguments) + "\"");
    if (HANDLE copy = StartCopy(arguments, nullptr)) secondCopies_.push_back(copy);
  } else {
    Act("the probes closed");
    TidyProbes();
  }
}

int Exerciser::Run() {
  wchar_t self[MAX_PATH] = L"";
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  folder_ = self;
  folder_.resize(folder_.rfind(L'\\'));
  WriteListFiles();
  while (done_ < total_ && !kept_) {
    if (!StartEpisode()) {
      DWORD code = STILL_ACTIVE;
      GetExitCodeProcess(program_.hProcess, &code);
      Report(crashes_, "no window within 10 s of the start (exit code 0x%lX)", code);
      EndEpisode();
      continue;
    }
    while (done_ < total_) {
      DoAction();
      ++done_;
      Sleep(20 + Pick(150));
      if (!Check()) break;
    }
    if (kept_) break;
    EndEpisode();
  }
  if (!kept_) EndProbesIn(folder_);
  Print(
      "seed %u: %d actions in %d episodes: %d crashes, %d hangs, %d stuck at exit, %d stalls, "
      "%d lock-outs\n",
      seed_, done_, episodes_, crashes_.count, hangs_.count, stuck_.count, stalls_.count,
      lockOuts_.count);
  if (kept_) {
    Print("kept: process %lu (0x%lX); in winedbg: attach 0x%lX, then bt all\n",
          program_.dwProcessId, program_.dwProcessId, program_.dwProcessId);
    return 2;
  }
  return crashes_.count + hangs_.count + stuck_.count + lockOuts_.count > 0 ? 1 : 0;
}

}  // namespace

int main() {
  // No crash box, here or in the program it drives, which inherits the mode: a crash is counted.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv == nullptr || argc < 3) {
    Print("usage: exerciser SEED ACTIONS [--keep]\n");
    return 2;
  }
  Exerciser exerciser(static_cast<unsigned>(_wtoi(argv[1])), _wtoi(argv[2]),
                      argc > 3 && std::wcscmp(argv[3], L"--keep") == 0);
  return exerciser.Run();
}
