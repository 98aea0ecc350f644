// A program for the launch tests: records how it was started and when it became ready for
// input, then waits for input until it is closed (or gives up after a minute). With
// --never-ready it makes a message queue and never reads it, as a hung program does. --hold MS
// PATH, last, holds PATH for MS ms first, as a scanner does (a file it creates goes with it).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>

namespace {

// The log's path is wide: the user's folder may have a name the system's code page lacks.
void Record(const char* line) {
  wchar_t path[MAX_PATH] = {};
  if (GetEnvironmentVariableW(L"KM_PROBE_LOG", path, MAX_PATH) == 0) return;
  // Several probes may share one log: append under the file's own lock.
  for (int attempt = 0; attempt < 200; ++attempt) {
    HANDLE log = CreateFileW(path, FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                             nullptr);
    if (log != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      WriteFile(log, line, static_cast<DWORD>(std::strlen(line)), &written, nullptr);
      WriteFile(log, "\n", 1, &written, nullptr);
      CloseHandle(log);
      return;
    }
    Sleep(5);
  }
}

LRESULT CALLBACK ProbeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY || (message == WM_TIMER && wParam == 1)) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // Read wide and written as code page 932, whatever the system's code page.
  char command[8192] = {};
  WideCharToMultiByte(932, 0, GetCommandLineW(), -1, command, sizeof command - 1, nullptr, nullptr);
  char line[8192 + 16];
  std::snprintf(line, sizeof line, "command=%s", command);
  Record(line);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  GetStartupInfoW(&startup);
  std::snprintf(line, sizeof line, "show=%d",
                (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1);
  Record(line);
  std::snprintf(line, sizeof line, "pid=%lu", GetCurrentProcessId());
  Record(line);
  if (std::strstr(command, "--never-ready") != nullptr) {
    // A window of another class, so that closing the probes does not wait on this one.
    CreateWindowW(L"Static", L"hung probe", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, instance,
                  nullptr);
    Sleep(60000);
    return 0;
  }
  DWORD lifeMs = 60000;
  if (wchar_t* hold = std::wcsstr(GetCommandLineW(), L"--hold ")) {
    wchar_t* path = nullptr;
    lifeMs = std::wcstoul(hold + 7, &path, 10);
    if (CreateFileW(path + 1, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr) ==
        INVALID_HANDLE_VALUE) {
      CreateFileW(path + 1, GENERIC_READ | DELETE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                  FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    }
  }
  // Slow to get ready, so that a launcher that does not wait is caught.
  if (std::strstr(command, "--ready-at-once") == nullptr) Sleep(400);

  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = ProbeProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = L"KmLaunchProbe";
  RegisterClassW(&windowClass);
  HWND window = CreateWindowW(L"KmLaunchProbe", L"probe", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                              nullptr, nullptr, instance, nullptr);
  SetTimer(window, 1, lifeMs, nullptr);
  std::snprintf(line, sizeof line, "ready=%lu", GetTickCount());
  Record(line);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}
