// Ends the probes still running from one folder: each is asked to close, as a person closes a
// window, which lets a held file go; one hung on purpose is ended, else it would live on for a
// minute after the test that started it, holding its program file.
#pragma once

#include <windows.h>

#include <tlhelp32.h>

#include <string>

// A path's long form: TEMP, a folder, or the path a probe was started by, may be in 8.3 form
// (C:\Users\RUNNER~1), where the shell, the dialogs and the process list give long paths.
inline std::wstring LongPath(const std::wstring& path) {
  std::wstring full(32768, L'\0');
  DWORD length = GetLongPathNameW(path.c_str(), full.data(), 32768);
  return length > 0 && length < 32768 ? full.c_str() : path;
}

// The running test program's folder, where its probe.exe lies.
inline std::wstring OwnFolder() {
  wchar_t path[MAX_PATH] = L"";
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  *wcsrchr(path, L'\\') = L'\0';
  return path;
}

inline void EndProbesIn(const std::wstring& folder) {
  std::wstring probe = LongPath(folder + L"\\probe.exe");
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W entry;
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more;
       more = Process32NextW(snapshot, &entry)) {
    HANDLE process =
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE | SYNCHRONIZE, FALSE,
                    entry.th32ProcessID);
    wchar_t image[MAX_PATH] = L"";
    DWORD size = MAX_PATH;
    if (process == nullptr) continue;
    if (QueryFullProcessImageNameW(process, 0, image, &size) &&
        lstrcmpiW(LongPath(image).c_str(), probe.c_str()) == 0) {
      // Its window, once it is ready; a hung one never makes it.
      HWND window = nullptr;
      while ((window = FindWindowExW(nullptr, window, L"KmLaunchProbe", nullptr)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == entry.th32ProcessID) break;
      }
      if (window != nullptr) SendMessageTimeoutW(window, WM_CLOSE, 0, 0, 0, 5000, nullptr);
      if (WaitForSingleObject(process, window != nullptr ? 5000 : 0) == WAIT_TIMEOUT &&
          TerminateProcess(process, 0))
        WaitForSingleObject(process, 5000);
    }
    CloseHandle(process);
  }
  CloseHandle(snapshot);
}
