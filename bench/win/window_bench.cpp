// Start-up, batch, size and memory of kmlaunch.exe against their floors, measured in one run.
// Run under Wine by scripts/bench; prints a table.
#include <windows.h>

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
  WaitForInputIdle(process.hProcess, 10000);
  Found found = {process.dwProcessId, nullptr};
  while (found.window == nullptr && Now() - start < 10000) {
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

// One 30-setting batch in the real dialog: milliseconds from the click to the closing message.
double Batch(const std::string& probe) {
  DialogStart start = {GetModuleHandleA(nullptr)};
  HWND dialog = CreateDialogParamW(start.instance, MAKEINTRESOURCEW(IDD_MAIN), nullptr,
                                   MainDialogProc, reinterpret_cast<LPARAM>(&start));
  for (int i = 0; i < 30; ++i) {
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
  double lastLook = begin;
  while (mainWindow != nullptr && Now() - begin < 60000) {
    // Like a dialog's own loop: wake for every message, sent ones included.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    if (elapsed < 0 && Now() - lastLook >= 20) {
      lastLook = Now();
      HWND box = nullptr;
      EnumWindows(FindBox, reinterpret_cast<LPARAM>(&box));
      if (box != nullptr) {
        elapsed = Now() - begin;  // up to 20 ms late, against kmlaunch
        PostMessageA(box, WM_COMMAND, IDOK, 0);
      }
    }
    if (elapsed >= 0 && mainWindow->mode.load() == UiMode::Idle) break;
  }
  mainWindow->list->Clear();
  SendMessageA(dialog, WM_CLOSE, 0, 0);
  DestroyWindow(dialog);
  CloseProbes();
  return elapsed;
}

// The same 30 starts as a plain loop, with nothing around them.
double PlainLoop(const std::string& probe) {
  std::wstring file(probe.begin(), probe.end());  // the build folder's path is ASCII
  double begin = Now();
  for (int i = 0; i < 30; ++i) {
    SHELLEXECUTEINFOW request = {};
    request.cbSize = sizeof request;
    request.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    request.lpFile = file.c_str();
    request.lpParameters = L"--ready-at-once";
    request.nShow = SW_RESTORE;
    if (ShellExecuteExW(&request)) {
      WaitForInputIdle(request.hProcess, INFINITE);
      CloseHandle(request.hProcess);
    }
  }
  double elapsed = Now() - begin;
  CloseProbes();
  return elapsed;
}

}  // namespace

int main() {
  SetEnvironmentVariableA("KM_PROBE_LOG", nullptr);
  std::string kmlaunch = Beside("..\\kmlaunch.exe");
  std::string bare = Beside("bare_dialog.exe");
  std::string templateOnly = Beside("template_dialog.exe");
  std::string probe = Beside("..\\tests\\probe.exe");
  // The same program with no manifest beside it: what version 6 of the common controls costs.
  std::string withoutManifest = Beside("kmlaunch_without_manifest.exe");
  CopyFileA(kmlaunch.c_str(), withoutManifest.c_str(), FALSE);

  // A full list for the memory reading.
  LaunchSettingList full;
  for (int i = 0; i < 30; ++i) {
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

  const int kStarts = 31;
  std::vector<double> startKm, startBare, startTemplate, startWithoutManifest;
  for (const std::string& program : {kmlaunch, bare, templateOnly, withoutManifest}) {
    StartUp(program, "", nullptr);  // warms the file cache
  }
  for (int i = 0; i < kStarts; ++i) {
    startKm.push_back(StartUp(kmlaunch, "", nullptr));
    startBare.push_back(StartUp(bare, "", nullptr));
    startTemplate.push_back(StartUp(templateOnly, "", nullptr));
    startWithoutManifest.push_back(StartUp(withoutManifest, "", nullptr));
  }
  DeleteFileA(withoutManifest.c_str());
  SIZE_T peak = 0;
  StartUp(kmlaunch, std::string("\"") + fullPath + "\"", &peak);
  DeleteFileA(fullPath);

  const int kBatches = 9;
  std::vector<double> batch, plain;
  for (int i = 0; i < kBatches; ++i) {
    batch.push_back(Batch(probe));
    plain.push_back(PlainLoop(probe));
  }

  WIN32_FILE_ATTRIBUTE_DATA attributes = {};
  GetFileAttributesExA(kmlaunch.c_str(), GetFileExInfoStandard, &attributes);

  double km = Median(startKm), floor = Median(startBare), dialogOnly = Median(startTemplate);
  double plainControls = Median(startWithoutManifest);
  double perSetting = Median(batch) / 30, perPlain = Median(plain) / 30;
  std::printf("| measure | kmlaunch | floor | ratio | goal |\n|---|---|---|---|---|\n");
  std::printf(
      "| start-up to ready, median of %d (ms) | %.1f | %.1f (bare dialog) | %.3f | <= 1.10 |\n",
      kStarts, km, floor, km / floor);
  std::printf(
      "| start-up, beside its own template with an empty procedure (ms) | %.1f | %.1f | %.3f "
      "| report |\n",
      km, dialogOnly, km / dialogOnly);
  std::printf(
      "| start-up with the manifest beside it, against without (ms) | %.1f | %.1f | %.3f "
      "| <= 1.05 |\n",
      km, plainControls, km / plainControls);
  std::printf(
      "| batch, per setting, median of %d (ms) | %.2f | %.2f (plain loop) | %.3f | <= 1.05 |\n",
      kBatches, perSetting, perPlain, perSetting / perPlain);
  std::printf("| kmlaunch.exe size (bytes) | %lu | | | <= 200 KB |\n", attributes.nFileSizeLow);
  std::printf("| peak working set, full list (KiB) | %lu | | | report |\n",
              static_cast<unsigned long>(peak / 1024));
  return 0;
}
