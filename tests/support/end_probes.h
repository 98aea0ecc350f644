// Ends the probes still running from one folder: a hung one would otherwise live on for a minute
// after the tests that started it, holding its program file.
#pragma once

#include <windows.h>

#include <tlhelp32.h>

#include <string>

inline void EndProbesIn(const std::wstring& folder) {
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
        lstrcmpiW(image, (folder + L"\\probe.exe").c_str()) == 0 && TerminateProcess(process, 0)) {
      WaitForSingleObject(process, 5000);
    }
    CloseHandle(process);
  }
  CloseHandle(snapshot);
}
