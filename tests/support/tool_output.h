// What the programs that drive kmlaunch from outside share: UTF-8 on standard output, whatever
// the code page, and the probes a launch started closed as their close box would.
#pragma once

#include <windows.h>

#include <cstring>
#include <cwchar>
#include <string>

inline std::string Utf8(const std::wstring& text) {
  int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr,
                                 0, nullptr, nullptr);
  std::string bytes(size > 0 ? size : 0, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(), size,
                      nullptr, nullptr);
  return bytes;
}

inline void WriteOut(const std::string& bytes) {
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()),
            &written, nullptr);
}

inline BOOL CALLBACK CloseProbe(HWND window, LPARAM) {
  wchar_t className[32] = {};
  GetClassNameW(window, className, 32);
  if (std::wcscmp(className, L"KmLaunchProbe") == 0) PostMessageW(window, WM_CLOSE, 0, 0);
  return TRUE;
}
