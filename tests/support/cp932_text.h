// The tests write their texts as code page 932 literals, the list's own bytes; Windows takes
// UTF-16. These convert with the code page named, so the tests read the same on every system.
#pragma once

#include <windows.h>

#include <string>

inline std::wstring Wide932(const std::string& text, UINT codePage = 932) {
  int length =
      MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(length, L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

inline std::string Narrow932(const std::wstring& wide, UINT codePage = 932) {
  int length = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr,
                                   0, nullptr, nullptr);
  std::string text(length, '\0');
  WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), text.data(), length,
                      nullptr, nullptr);
  return text;
}

// A code page 932 text as UTF-8, the form the list keeps paths in.
inline std::string Utf8From932(const std::string& text) {
  return Narrow932(Wide932(text), CP_UTF8);
}

// A window's text as code page 932.
inline std::string WindowText932(HWND window) {
  int length = GetWindowTextLengthW(window);
  std::wstring text(length + 1, L'\0');
  text.resize(GetWindowTextW(window, text.data(), length + 1));
  return Narrow932(text);
}

inline void SetText932(HWND window, const std::string& text) {
  SetWindowTextW(window, Wide932(text).c_str());
}
