// Start-up, batch, size and memory of kmlaunch.exe against their floors, measured in one run.
// Run under Wine by scripts/bench; prints a table.
#include <windows.h>

#include <objbase.h>
#include <process.h>
#include <psapi.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "resource.h"
#include "ui/probe_log.h"
#include "store/launch_setting_list.h"
#include "ui/main_window.h"

namespace {

// Settings in one batch, the most a list holds.
constexpr int kSettings = 30;

std::string Beside(const char* relative) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, sizeof path);
  std::strcpy(std::strrchr(path, '\\') + 1, relative);
  return path;
}

double Now() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// The median of the ratios of runs made one right after the other: the machine's speed drifts
// within one run by more than the differences measured.
double MedianRatio(const std::vector<double>& values, const std::vector<double>& floors) {
  std::vector<double> ratios;
  for (size_t i = 0; i < values.size(); ++i) ratios.push_back(values[i] / floors[i]);
  return Median(ratios);
}

struct Found {
  DWORD process;
  HWND window;
};

BOOL CALLBACK FindShown(HWND window, LPARAM data) {
  auto* found = reinterpret_cast<Found*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == found->process && IsWindowVisible(window)) {
    found->window = window;
    return FALSE;
  }
  return TRUE;
}

// From process start to its window shown and ready for input, in milliseconds.
double StartUp(const std::string& program, const std::string& arguments, SIZE_T* peak) {
  std::string commandLine = "\"" + program + "\" " + arguments;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  double start = Now();
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return -1;
  }
  // A list of tens of thousands takes seconds; more than two minutes is a fault.
  WaitForInputIdle(process.hProcess, 120000);
  Found found = {process.dwProcessId, nullptr};
  while (found.window == nullptr && Now() - start < 120000) {
    EnumWindows(FindShown, reinterpret_cast<LPARAM>(&found));
    if (found.window == nullptr) Sleep(0);
  }
  double elapsed = Now() - start;
  if (peak != nullptr) {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(process.hProcess, &counters, sizeof counters);
    *peak = counters.PeakWorkingSetSize;
  }
  PostMessageA(found.window, WM_CLOSE, 0, 0);
  WaitForSingleObject(process.hProcess, 10000);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  return elapsed;
}

BOOL CALLBACK FindBox(HWND window, LPARAM data) {
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == GetCurrentProcessId() && GetDlgItem(window, 0xFFFF) != nullptr &&
      IsWindowVisible(window)) {
    *reinterpret_cast<HWND*>(data) = window;
    return FALSE;
  }
  return TRUE;
}

// One 30-setting batch in the real dialog: milliseconds from the click until the worker, its
// last setting ready, ends the batch.
double Batch(const std::string& probe) {
  DialogStart start = {GetModuleHandleA(nullptr)};
  HWND dialog = CreateDialogParamW(start.instance, MAKEINTRESOURCEW(IDD_MAIN), nullptr,
                                   MainDialogProc, reinterpret_cast<LPARAM>(&start));
  for (int i = 0; i < kSettings; ++i) {
    LaunchSetting setting = {};
    std::snprintf(setting.name, sizeof setting.name, "probe%d", i);
    std::snprintf(setting.path, sizeof setting.path, "%s", probe.c_str());
    std::strcpy(setting.options, "--ready-at-once");
    setting.enabled = 1;
    mainWindow->list->Put(-1, setting);
  }
  mainWindow->RefillList();
  double begin = Now();
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_BATCH, BN_CLICKED), 0);
  double elapsed = -1;
  while (mainWindow != nullptr && Now() - begin < 60000) {
    // Like a dialog's own loop: wake for every message, sent ones included.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    if (elapsed < 0 && mainWindow->mode.load() == UiMode::BatchEnd) elapsed = Now() - begin;
    if (elapsed >= 0) {
      HWND box = nullptr;
      EnumWindows(FindBox, reinterpret_cast<LPARAM>(&box));
      if (box != nullptr) PostMessageA(box, WM_COMMAND, IDOK, 0);
      if (mainWindow->mode.load() == UiMode::Idle) break;
    }
  }
  mainWindow->list->Clear();
  SendMessageA(dialog, WM_CLOSE, 0, 0);
  DestroyWindow(dialog);
  CloseProbes();
  return elapsed;
}

// A list file of settings settings, as many as its capacity, written from the format.
std::string LongList(int settings) {
  char path[MAX_PATH] = {};
  GetTempPathA(sizeof path, path);
  std::snprintf(path + std::strlen(path), 64, "kmlaunch-bench-%d.dat", settings);
  FILE* file = std::fopen(path, "wb");
  std::fwrite(kListFileSignature, 1, std::strlen(kListFileSignature) + 1, file);
  std::fwrite(&settings, 4, 1, file);
  std::fwrite(&settings, 4, 1, file);
  for (int i = 0; i < settings; ++i) {
    LaunchSetting setting = {};
    std::snprintf(setting.name, sizeof setting.name, "設定%d", i);
    std::strcpy(setting.path, "C:\\windows\\notepad.exe");
    setting.enabled = 1;
    std::fwrite(&setting, sizeof setting, 1, file);
  }
  std::fclose(file);
  return path;
}

// Answers each box the editing commands show as the user would: Yes to a question, else OK.
LRESULT CALLBACK AnswerBoxes(int code, WPARAM wParam, LPARAM lParam) {
  auto box = reinterpret_cast<HWND>(wParam);
  if (code == HCBT_ACTIVATE && GetDlgItem(box, 0xFFFF) != nullptr) {
    int answer = GetDlgItem(box, IDYES) != nullptr ? IDYES : IDOK;
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The slowest of the editing commands on a list of settings rows, each at the top of the list,
// where the most rows follow it, in milliseconds (boxes answered at once).
double SlowestEdit(int settings) {
  std::string list = LongList(settings);
  DialogStart start = {GetModuleHandleA(nullptr)};
  HWND dialog = CreateDialogParamW(start.instance, MAKEINTRESOURCEW(IDD_MAIN), nullptr,
                                   MainDialogProc, reinterpret_cast<LPARAM>(&start));
  mainWindow->list->LoadFromFile(list.c_str(), kListFileSignature, true);
  mainWindow->RefillList();
  HHOOK hook = SetWindowsHookExW(WH_CBT, AnswerBoxes, nullptr, GetCurrentThreadId());
  auto command = [dialog](int id) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
  };
  auto type = [dialog](int id, const wchar_t* text) {
    SetWindowTextW(GetDlgItem(dialog, id), text);
  };
  double slowest = 0;
  const int commands[] = {IDC_NEW_ENTRY, IDC_EDIT_ENTRY, IDC_DUPLICATE, IDC_MOVE_DOWN,
                          IDC_MOVE_UP,   IDC_DELETE,     IDC_DELETE};
  for (int id : commands) {
    mainWindow->SelectRow(0);
    double begin = Now();
    command(id);
    if (id == IDC_NEW_ENTRY || id == IDC_EDIT_ENTRY) {
      type(IDC_NAME, L"新しい設定の名前");
      type(IDC_PATH, L"C:\\windows\\notepad.exe");
      command(IDOK);
    }
    slowest = std::max(slowest, Now() - begin);
  }
  UnhookWindowsHookEx(hook);
  mainWindow->list->Clear();
  SendMessageA(dialog, WM_CLOSE, 0, 0);
  DestroyWindow(dialog);
  DeleteFileA(list.c_str());
  return slowest;
}

INT_PTR CALLBACK EmptyProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

struct PlainRun {
  HWND dialog;
  std::wstring probe;
};

// What the design makes a batch do for each setting, and nothing of kmlaunch's own: from a
// thread with COM, the row selected and the setting shown in the pane's five controls of the
// window the user-interface thread runs, then the same start and wait as kmlaunch's.
unsigned __stdcall PlainWorker(void* argument) {
  const PlainRun& run = *static_cast<PlainRun*>(argument);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  auto control = [&](int id) { return GetDlgItem(run.dialog, id); };
  for (int i = 0; i < kSettings; ++i) {
    SendMessageW(control(IDC_SETTING_LIST), LB_SETCURSEL, i, 0);
    SetWindowTextW(control(IDC_NAME), L"probe");
    SetWindowTextW(control(IDC_PATH), run.probe.c_str());
    SetWindowTextW(control(IDC_OPTIONS), L"--ready-at-once");
    SendMessageW(control(IDC_WINDOW_STATE), CB_SETCURSEL, 0, 0);
    SendMessageW(control(IDC_ENABLED), BM_SETCHECK, BST_CHECKED, 0);
    SHELLEXECUTEINFOW request = {};
    request.cbSize = sizeof request;
    request.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    request.hwnd = run.dialog;  // owned by the window, as every shell request is
    request.lpFile = run.probe.c_str();
    request.lpParameters = L"--ready-at-once";
    request.nShow = SW_RESTORE;
    if (ShellExecuteExW(&request) && request.hProcess != nullptr) {
      WaitForInputIdle(request.hProcess, INFINITE);
      CloseHandle(request.hProcess);
    }
  }
  CoUninitialize();
  return 0;
}

// The same starts as a plain loop on a second thread, kmlaunch's dialog template shown by the
// user-interface thread with an empty procedure.
double PlainLoop(const std::string& probe) {
  PlainRun run = {CreateDialogParamW(GetModuleHandleA(nullptr), MAKEINTRESOURCEW(IDD_MAIN), nullptr,
                                     EmptyProc, 0),
                  std::wstring(probe.begin(), probe.end())};  // the build folder's path is ASCII
  for (int i = 0; i < kSettings; ++i) {
    SendMessageW(GetDlgItem(run.dialog, IDC_SETTING_LIST), LB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(L"probe"));
  }
  for (const wchar_t* item : {L"1", L"2", L"3"}) {
    SendMessageW(GetDlgItem(run.dialog, IDC_WINDOW_STATE), CB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(item));
  }
  double begin = Now();
  auto worker = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, PlainWorker, &run, 0, nullptr));
  while (MsgWaitForMultipleObjects(1, &worker, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }
  double elapsed = Now() - begin;
  CloseHandle(worker);
  DestroyWindow(run.dialog);
  CloseProbes();
  return elapsed;
}

}  // namespace

int main() {
  SetEnvironmentVariableA("KM_PROBE_LOG", nullptr);
  std::string kmlaunch = Beside("..\\kmlaunch.exe");
  std::string bare = Beside("bare_dialog.exe");
  // kmlaunch's own template and manifest with an empty procedure: the floor that leaves only
  // what kmlaunch's code costs.
  std::string templateOnly = Beside("template_dialog.exe");
  std::string probe = Beside("..\\tests\\probe.exe");
  // The same program with no manifest beside it: what version 6 of the common controls costs.
  std::string withoutManifest = Beside("kmlaunch_without_manifest.exe");
  CopyFileA(kmlaunch.c_str(), withoutManifest.c_str(), FALSE);

  // A full list for the memory reading.
  LaunchSettingList full;
  for (int i = 0; i < kSettings; ++i) {
    LaunchSetting setting = {};
    std::snprintf(setting.name, sizeof setting.name, "設定%d", i);
    std::strcpy(setting.path, "C:\\windows\\notepad.exe");
    std::memset(setting.options, 'o', 4095);
    full.Put(-1, setting);
  }
  char fullPath[MAX_PATH] = {};
  GetTempPathA(sizeof fullPath, fullPath);
  std::strcat(fullPath, "kmlaunch-bench-full.dat");
  full.SaveToFile(fullPath, kListFileSignature);

  const int kStarts = 81;
  std::vector<double> startKm, startBare, startTemplate, startWithoutManifest;
  for (const std::string& program : {kmlaunch, bare, templateOnly, withoutManifest}) {
    StartUp(program, "", nullptr);  // warms the file cache
  }
  struct Started {
    const std::string& program;
    std::vector<double>& times;
  } started[] = {{kmlaunch, startKm},
                 {bare, startBare},
                 {templateOnly, startTemplate},
                 {withoutManifest, startWithoutManifest}};
  for (int i = 0; i < kStarts; ++i) {
    // Each round begins with the next program, so none always follows the same one.
    for (size_t k = 0; k < std::size(started); ++k) {
      Started& next = started[(i + k) % std::size(started)];
      next.times.push_back(StartUp(next.program, "", nullptr));
    }
  }
  DeleteFileA(withoutManifest.c_str());
  SIZE_T peak = 0;
  StartUp(kmlaunch, std::string("\"") + fullPath + "\"", &peak);
  DeleteFileA(fullPath);

  const int kBatches = 15;
  std::vector<double> batch, plain;
  for (int i = 0; i < kBatches; ++i) {
    // Each goes first in every other pair, so neither gains from following the other.
    if (i % 2 == 0) batch.push_back(Batch(probe));
    plain.push_back(PlainLoop(probe));
    if (i % 2 != 0) batch.push_back(Batch(probe));
  }

  // Start-up with long lists: the time per setting must not grow with the list.
  const int kScales[] = {1000, 10000, 40000};
  std::vector<double> scaled[std::size(kScales)];
  for (size_t k = 0; k < std::size(kScales); ++k) {
    std::string list = LongList(kScales[k]);
    std::string arguments = "\"" + list + "\"";
    StartUp(kmlaunch, arguments, nullptr);  // warms the file cache
    for (int i = 0; i < 5; ++i) scaled[k].push_back(StartUp(kmlaunch, arguments, nullptr));
    DeleteFileA(list.c_str());
  }

  // The same commands on a list of 30: what the boxes and the window cost, whatever the list.
  double slowestEdit = SlowestEdit(10000);
  double slowestEditShort = SlowestEdit(30);

  WIN32_FILE_ATTRIBUTE_DATA attributes = {};
  GetFileAttributesExA(kmlaunch.c_str(), GetFileExInfoStandard, &attributes);

  auto row = [](const char* measure, const std::vector<double>& values,
                const std::vector<double>& floors, double unit, const char* floorName,
                const char* goal) {
    std::printf("| %s | %.2f | %.2f (%s) | %.3f | %s |\n", measure, Median(values) / unit,
                Median(floors) / unit, floorName, MedianRatio(values, floors), goal);
  };
  std::printf(
      "%d starts of each program, %d batches of %d settings each; times are medians, a "
      "ratio is the median of the ratios of neighbouring runs.\n\n",
      kStarts, kBatches, kSettings);
  std::printf("| measure | kmlaunch | floor | ratio | goal |\n|---|---|---|---|---|\n");
  row("start-up to ready (ms)", startKm, startTemplate, 1,
      "its own template and manifest, empty procedure", "<= 1.05");
  row("start-up to ready (ms)", startKm, startBare, 1, "one-button dialog", "report");
  row("start-up with the manifest beside it (ms)", startKm, startWithoutManifest, 1, "without it",
      "report");
  row("batch, per setting (ms)", batch, plain, kSettings,
      "plain loop on a second thread, pane shown", "<= 1.05");
  for (size_t k = 0; k < std::size(kScales); ++k) {
    std::printf("| start-up to ready, %d settings (ms) | %.0f | | | %s |\n", kScales[k],
                Median(scaled[k]), kScales[k] == 40000 ? "< 3000" : "report");
  }
  double perSetting10k = Median(scaled[1]) / 10000;
  double perSetting40k = Median(scaled[2]) / 40000;
  std::printf(
      "| start-up per setting, 40,000 against 10,000 (ms) | %.4f | %.4f | %.3f | <= 1.5 |\n",
      perSetting40k, perSetting10k, perSetting40k / perSetting10k);
  std::printf(
      "| slowest editing command, 10,000 settings (ms) | %.1f | %.1f (30 settings) | %.3f | "
      "< 100 |\n",
      slowestEdit, slowestEditShort, slowestEdit / slowestEditShort);
  std::printf("| kmlaunch.exe size (bytes) | %lu | | | <= 65536 |\n", attributes.nFileSizeLow);
  std::printf("| peak working set, full list (KiB) | %lu | | | report |\n",
              static_cast<unsigned long>(peak / 1024));
  return 0;
}
