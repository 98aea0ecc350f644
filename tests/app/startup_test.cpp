// kmlaunch.exe started as a process with command lines, watched from outside as a person would.
#include <windows.h>

#include <psapi.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "resource.h"
#include "store/launch_setting_list.h"
#include "support/answerer.h"
#include "support/cp932_text.h"
#include "support/end_probes.h"
#include "support/test_folder.h"
#include "ui/probe_log.h"

namespace {

// UTF-8, read wide: the tests may be unpacked in a folder that no code page holds.
std::string ProgramPath() {
  std::wstring folder = OwnFolder();
  return Narrow932(folder.substr(0, folder.rfind(L'\\')) + L"\\kmlaunch.exe", CP_UTF8);
}

// The first visible window of a running process that match accepts; null if the process ends
// first or ms pass.
HWND WaitForWindowOf(HANDLE process, std::function<bool(HWND)> match, DWORD ms = 10000) {
  struct Search {
    DWORD process;
    std::function<bool(HWND)> match;
    HWND found;
  } search = {GetProcessId(process), std::move(match), nullptr};
  WaitUntil(
      [&] {
        EnumWindows(
            [](HWND window, LPARAM data) -> BOOL {
              auto* s = reinterpret_cast<Search*>(data);
              DWORD owner = 0;
              GetWindowThreadProcessId(window, &owner);
              if (owner == s->process && IsWindowVisible(window) && s->match(window))
                s->found = window;
              return s->found == nullptr;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr || WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
      },
      ms);
  return search.found;
}

// One running copy and its main window.
class RunningCopy {
 public:
  explicit RunningCopy(const std::string& arguments, bool waitForWindow = true,
                       const std::string& program = ProgramPath()) {
    // Paths are UTF-8, as the list keeps them; the command line goes over wide.
    std::wstring commandLine = Wide932("\"" + program + "\" " + arguments, CP_UTF8);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    started_ = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              nullptr, &startup, &process_) != FALSE;
    if (!started_) return;
    WaitForInputIdle(process_.hProcess, 10000);
    // A start-up that waits for a held file, on a loaded machine, can take many seconds.
    if (waitForWindow) window_ = WaitForWindowOf(process_.hProcess, IsMainDialog, 60000);
  }
  ~RunningCopy() {
    if (!started_) return;
    // One started without waiting may be about to show it.
    if (window_ == nullptr) window_ = WaitForWindowOf(process_.hProcess, IsMainDialog, 5000);
    // A changed list is asked about: left unsaved.
    Answerer leave({Press(IDNO)}, process_.dwProcessId);
    if (window_ != nullptr) PostMessageW(window_, WM_CLOSE, 0, 0);
    if (!WaitUntil([&] { return WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0; },
                   5000))
      TerminateProcess(process_.hProcess, 1);
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
  }

  HWND window() const { return window_; }
  HANDLE process() const { return process_.hProcess; }

  std::string Caption() const { return WindowText932(window_); }

  std::vector<std::string> Rows() const { return ListRows(GetDlgItem(window_, IDC_SETTING_LIST)); }

 private:
  bool started_ = false;
  PROCESS_INFORMATION process_ = {};
  HWND window_ = nullptr;
};

TEST(Startup, CommandLineListFiles) {
  TestFolder folder;
  std::string first = folder.SaveList("first.dat", {"a", "b"});
  std::string second = folder.SaveList("second list.dat", {"c"});
  std::string missing = folder.Path("missing.dat");
  std::string japanese = folder.SaveList("日本語リスト.dat", {"メモ帳テスト", "ソ表"});
  struct Case {
    const char* what;
    std::string arguments;
    std::vector<std::string> rows;
    std::string caption;
    unsigned holdMs = 0;  // the first file held by a scanner from before the start
  } cases[] = {
      {"no arguments", "", {}, "カメリオランチャ - 無題"},
      {"one list file", first, {"a", "b"}, "カメリオランチャ - first.dat"},
      {"a Japanese name, quoted",
       "\"" + japanese + "\"",
       {"メモ帳テスト", "ソ表"},
       "カメリオランチャ - 日本語リスト.dat"},
      {"replace then append",
       first + " \"" + second + "\"",
       {"a", "b", "c"},
       "カメリオランチャ - first.dat"},
      {"missing first, second appended",
       missing + " \"" + second + "\"",
       {"c"},
       "カメリオランチャ - 無題"},
      {"/x second is a file name", first + " /x", {"a", "b"}, "カメリオランチャ - first.dat"},
      {"unquoted spaces are several files",
       folder.Path("second") + " list.dat",
       {},
       "カメリオランチャ - 無題"},
      {"open quote at the end", "\"" + second, {"c"}, "カメリオランチャ - second list.dat"},
      {"held for a moment", first, {"a", "b"}, "カメリオランチャ - first.dat", 1500},
      {"held longer", first, {}, "カメリオランチャ - 無題", 60000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(c.holdMs == 0 || HoldFile(first, c.holdMs));
    RunningCopy copy(c.arguments);
    ASSERT_NE(copy.window(), nullptr);
    EXPECT_EQ(copy.Rows(), c.rows);
    EXPECT_EQ(copy.Caption(), c.caption);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(copy.window(), IDC_NEW_ENTRY)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(copy.window(), IDC_NAME)));
    CloseProbes();
  }
}

// The first message box the copy shows, answered with button.
Seen AnswerFirstBox(const RunningCopy& copy, int button = IDOK) {
  Answerer answerer({Press(button)}, GetProcessId(copy.process()));
  WaitUntil([&] { return !answerer.seen().empty(); });
  return answerer.seen().empty() ? Seen() : answerer.seen()[0];
}

// A list file damaged part-way shows what could be read, but is not the list's file: closing with
// Yes and what Enter takes next leaves it byte for byte as it was.
TEST(Startup, AListFileDamagedPartWayIsNeverOverwrittenWithLess) {
  TestFolder folder;
  std::string path = folder.SaveList("three.dat", {"a", "b", "c"});
  Bytes bytes = ReadBytes(path);
  bytes[25 + 5384 + 256] = 0;  // the second record's path is empty
  WriteBytes(path, bytes);
  RunningCopy copy(path);
  ASSERT_NE(copy.window(), nullptr);
  EXPECT_EQ(copy.Rows(), std::vector<std::string>{"a"});
  EXPECT_EQ(copy.Caption(), "カメリオランチャ - 無題");
  PostMessageW(copy.window(), WM_CLOSE, 0, 0);
  EXPECT_EQ(AnswerFirstBox(copy, IDYES).caption, "保存確認");
  // A name is asked for, none offered. Found by its caption: the closing box, or the dialog before
  // its caption is set, may be on the screen first.
  HWND next =
      WaitForWindowOf(copy.process(), [](HWND w) { return WindowText932(w) == "ファイルを保存"; });
  ASSERT_NE(next, nullptr);
  // OK with no name keeps the dialog up; Cancel, taken after it, closes it.
  PostMessageW(next, WM_COMMAND, IDOK, 0);
  PostMessageW(next, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(next); }));
  WaitForInputIdle(copy.process(), 10000);
  EXPECT_EQ(ReadBytes(path), bytes);
  TerminateProcess(copy.process(), 0);
}

// Windows' loader, and Wine's, look beside the program for DLLs that the shell, the theming and
// the file dialog load by name. Planted there under those names, as a stranger's download lands
// beside it, none is ever loaded: compstui.dll is the one Wine's file dialog asks for, the others
// are names advisories on DLL planting in downloaded programs report Windows asking for.
TEST(Startup, ADllPlantedBesideTheProgramIsNeverLoaded) {
  TestFolder folder;
  std::string program = folder.Path("kmlaunch.exe");
  std::string planted = ProgramPath();
  planted.replace(planted.rfind('\\'), std::string::npos, "\\tests\\planted.dll");
  const char* const names[] = {"compstui.dll", "uxtheme.dll",   "dwmapi.dll",
                               "propsys.dll",  "cryptbase.dll", "edputil.dll"};
  std::vector<std::pair<std::string, std::string>> copies = {
      {ProgramPath(), program}, {ProgramPath() + ".manifest", program + ".manifest"}};
  for (const char* name : names) copies.push_back({planted, folder.Path(name)});
  for (const auto& [from, to] : copies)
    ASSERT_TRUE(CopyFileW(Wide932(from, CP_UTF8).c_str(), Wide932(to, CP_UTF8).c_str(), FALSE));
  SetEnvironmentVariableW(L"KM_PLANTED_LOG", Wide932(folder.MakeFolder("marks"), CP_UTF8).c_str());
  RunningCopy copy("", true, program);
  SetEnvironmentVariableW(L"KM_PLANTED_LOG", nullptr);
  ASSERT_NE(copy.window(), nullptr);
  Answerer answerer({Choose(1)}, GetProcessId(copy.process()));
  PostMessageW(copy.window(), WM_COMMAND, IDC_LOAD_LIST, 0);
  HWND open =
      WaitForWindowOf(copy.process(), [](HWND w) { return WindowText932(w) == "ファイルを開く"; });
  ASSERT_NE(open, nullptr);
  ASSERT_EQ(answerer.seen().size(), 1u);
  EXPECT_EQ(answerer.seen()[0].caption, "読込方法");
  WaitForInputIdle(copy.process(), 10000);  // the dialog has loaded what it loads
  for (const char* name : names) {
    EXPECT_EQ(GetFileAttributesW(Wide932(folder.Path("marks\\") + name, CP_UTF8).c_str()),
              INVALID_FILE_ATTRIBUTES)
        << name;
  }
  PostMessageW(open, WM_COMMAND, IDCANCEL, 0);
}

TEST(Startup, SlashXFirstStartsTheBatchWithoutAnyInput) {
  TestFolder folder;
  // Disabled settings: the batch runs through them and says it is done.
  LaunchSettingList list;
  list.Put(-1, MakeSetting("off", "C:\\x.exe", "", 0, 0));
  std::string path = folder.Path("batch.dat");
  list.SaveToFile(path.c_str(), kListFileSignature);
  for (const char* option : {"/x", "/X"}) {
    SCOPED_TRACE(option);
    RunningCopy copy(std::string(option) + " " + path);
    ASSERT_NE(copy.window(), nullptr);
    Seen box = AnswerFirstBox(copy);
    EXPECT_EQ(box.caption, "一括起動完了");
    EXPECT_EQ(box.text, "すべての起動が完了しました。");
    EXPECT_EQ(copy.Rows(), std::vector<std::string>{"off"});
    // The batch is over, and the window can be closed again.
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(GetDlgItem(copy.window(), IDC_EXIT)); }));
  }
  // The warning comes before the dialog manager first shows the window.
  RunningCopy empty("/x", false);
  Seen box = AnswerFirstBox(empty);
  EXPECT_EQ(box.caption, "実行不可（未登録）");
  EXPECT_EQ(box.text, "起動設定データが1件も登録されていません。");
}

// A copy started while another runs: it shows no window and ends with exit code 0.
void ExpectEndsAtOnceWithoutAWindow() {
  RunningCopy copy("");
  ASSERT_EQ(WaitForSingleObject(copy.process(), 10000), WAIT_OBJECT_0);
  DWORD exitCode = 1;
  GetExitCodeProcess(copy.process(), &exitCode);
  EXPECT_EQ(exitCode, 0u);
  EXPECT_EQ(copy.window(), nullptr);
}

// A user who starts the program again sees the running copy come forward, restored if it was
// minimised, and no second window.
TEST(Startup, SecondCopyBringsTheRunningOneForwardAndEndsWithoutAWindow) {
  for (bool minimised : {false, true}) {
    SCOPED_TRACE(minimised ? "minimised" : "behind another window");
    RunningCopy first("");
    ASSERT_NE(first.window(), nullptr);
    if (minimised) ShowWindow(first.window(), SW_MINIMIZE);
    // The user went on working elsewhere.
    HWND other = CreateWindowW(L"Static", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                               200, nullptr, nullptr, nullptr, nullptr);
    if (!SetForegroundWindow(other) || GetForegroundWindow() != other) {
      DestroyWindow(other);
      GTEST_SKIP() << "Windows did not let this test take the foreground (someone is using the "
                      "desktop): whether the running copy may take it cannot be told";
    }
    ASSERT_EQ(IsIconic(first.window()) != FALSE, minimised);
    ExpectEndsAtOnceWithoutAWindow();
    // The first copy comes forward once it has read the message the second one posted.
    WaitUntil([&] { return GetForegroundWindow() == first.window(); });
    EXPECT_TRUE(IsWindow(first.window()));
    EXPECT_FALSE(IsIconic(first.window()));
    EXPECT_EQ(GetForegroundWindow(), first.window());
    DestroyWindow(other);
  }
}

// A first copy that does not answer, its threads suspended as a hung program looks to Windows:
// the second copy still ends at once.
TEST(Startup, SecondCopyNeverWaitsForAFirstThatDoesNotAnswer) {
  RunningCopy first("");
  ASSERT_NE(first.window(), nullptr);
  ShowWindow(first.window(), SW_MINIMIZE);
  std::vector<HANDLE> suspended;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  THREADENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID != GetProcessId(first.process())) continue;
    if (HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID)) {
      SuspendThread(thread);
      suspended.push_back(thread);
    }
  }
  CloseHandle(snapshot);
  ASSERT_FALSE(suspended.empty());
  DWORD start = GetTickCount();
  {
    RunningCopy second("", false);
    EXPECT_EQ(WaitForSingleObject(second.process(), 2000), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_LT(GetTickCount() - start, 2000u);
    DWORD exitCode = 1;
    GetExitCodeProcess(second.process(), &exitCode);
    EXPECT_EQ(exitCode, 0u);
  }
  for (HANDLE thread : suspended) {
    ResumeThread(thread);
    CloseHandle(thread);
  }
}

// A copy run as administrator holds a mutex that a normal copy may not open: that, too, means a
// copy runs. The name is held here with a DACL that lets nobody open it.
TEST(Startup, AMutexThatMayNotBeOpenedAlsoMeansACopyRuns) {
  ACL emptyAcl;
  ASSERT_TRUE(InitializeAcl(&emptyAcl, sizeof emptyAcl, ACL_REVISION));
  SECURITY_DESCRIPTOR descriptor;
  ASSERT_TRUE(InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION));
  ASSERT_TRUE(SetSecurityDescriptorDacl(&descriptor, TRUE, &emptyAcl, FALSE));
  SECURITY_ATTRIBUTES attributes = {sizeof attributes, &descriptor, FALSE};
  HANDLE held = CreateMutexA(&attributes, TRUE, "kmlaunch");
  ASSERT_NE(held, nullptr);
  if (HANDLE opened = OpenMutexA(SYNCHRONIZE, FALSE, "kmlaunch")) {
    // Wine does not check a named object's DACL when it is opened; Windows does.
    CloseHandle(opened);
    CloseHandle(held);
    GTEST_SKIP() << "this system lets anyone open the mutex, whatever its DACL";
  }
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  ExpectEndsAtOnceWithoutAWindow();
  CloseHandle(held);
}

// Whether a process has loaded version 6 of the common controls: a comctl32.dll whose file
// version is 6 (Windows), or the one in the side-by-side folder of the version 6 assembly (Wine's
// copy there keeps the version resource of its system one).
bool HasCommonControlsSix(HANDLE process, std::string* loaded) {
  HMODULE modules[1024];
  DWORD needed = 0;
  if (!EnumProcessModules(process, modules, sizeof modules, &needed)) return false;
  for (DWORD i = 0; i < needed / sizeof(HMODULE) && i < 1024; ++i) {
    char name[MAX_PATH] = {};
    GetModuleBaseNameA(process, modules[i], name, sizeof name);
    if (lstrcmpiA(name, "comctl32.dll") != 0) continue;
    char path[MAX_PATH] = {};
    GetModuleFileNameExA(process, modules[i], path, sizeof path);
    *loaded = path;
    CharLowerA(path);
    if (std::strstr(path, "\\winsxs\\") != nullptr &&
        std::strstr(path, "microsoft.windows.common-controls_6595b64144ccf1df_6.") != nullptr) {
      return true;
    }
    DWORD size = GetFileVersionInfoSizeA(path, nullptr);
    std::vector<char> info(size + 1);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    return size != 0 && GetFileVersionInfoA(path, 0, size, info.data()) &&
           VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length) &&
           HIWORD(fixed->dwFileVersionMS) == 6;
  }
  return false;
}

// The manifest beside the program asks for version 6 of the common controls: visual styles.
TEST(Startup, RunsWithVersionSixOfTheCommonControls) {
  RunningCopy copy("");
  ASSERT_NE(copy.window(), nullptr);
  std::string loaded = "none";
  EXPECT_TRUE(HasCommonControlsSix(copy.process(), &loaded)) << loaded;
}

// At 150 % the window is laid out at that scale by the program itself, the manifest's per-monitor
// awareness reaching it; the same program without its manifest is left for the system to stretch.
TEST(Startup, TheManifestMakesTheWindowDrawItselfAtTheDisplaysScale) {
  if (GetEnvironmentVariableA("KM_EXPECT_DPI", nullptr, 0) == 0)
    GTEST_SKIP() << "for a display at 150 % (run-tests.cmd dpi144)";
  auto wine = reinterpret_cast<const char* (*)()>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version")));
  if (wine != nullptr && std::atoi(wine()) < 9)
    GTEST_SKIP() << "Wine 8 lets every window draw itself at the display's scale, manifest or not";
  TestFolder folder;
  std::string bare = folder.Path("kmlaunch.exe");  // nothing beside it
  ASSERT_TRUE(
      CopyFileW(Wide932(ProgramPath(), CP_UTF8).c_str(), Wide932(bare, CP_UTF8).c_str(), 0));
  for (const std::string& program : {ProgramPath(), bare}) {
    RunningCopy copy("", true, program);
    ASSERT_NE(copy.window(), nullptr);
    DPI_AWARENESS_CONTEXT context = GetWindowDpiAwarenessContext(copy.window());
    EXPECT_EQ(GetAwarenessFromDpiAwarenessContext(context),
              program == bare ? DPI_AWARENESS_UNAWARE : DPI_AWARENESS_PER_MONITOR_AWARE);
    EXPECT_EQ(GetDpiForWindow(copy.window()), program == bare ? 96u : 144u);
  }
}

// The program's own resources are its two dialogs and its icon, and nothing else: the manifest
// is a file beside it.
TEST(Startup, ProgramHoldsOnlyItsDialogsAndIcon) {
  HMODULE program =
      LoadLibraryExW(Wide932(ProgramPath(), CP_UTF8).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(program, nullptr);
  std::vector<uintptr_t> types;
  EnumResourceTypesA(
      program,
      [](HMODULE, LPSTR type, LONG_PTR found) -> BOOL {
        reinterpret_cast<std::vector<uintptr_t>*>(found)->push_back(
            reinterpret_cast<uintptr_t>(type));
        return TRUE;
      },
      reinterpret_cast<LONG_PTR>(&types));
  FreeLibrary(program);
  EXPECT_EQ(types, (std::vector<uintptr_t>{3, 5, 14}));  // icon, dialog, icon group
}

TEST(Startup, ClosingEndsTheProcessWithCodeZero) {
  RunningCopy copy("");
  ASSERT_NE(copy.window(), nullptr);
  PostMessageA(copy.window(), WM_CLOSE, 0, 0);
  ASSERT_EQ(WaitForSingleObject(copy.process(), 10000), WAIT_OBJECT_0);
  DWORD exitCode = 1;
  GetExitCodeProcess(copy.process(), &exitCode);
  EXPECT_EQ(exitCode, 0u);
}

}  // namespace
