// A DLL planted beside the program, as a stranger's download lands beside it in Downloads: if it
// is ever loaded, it leaves a file named after itself in the folder KM_PLANTED_LOG names.
#include <windows.h>

#include <cwchar>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  wchar_t folder[MAX_PATH * 2] = {};
  wchar_t name[MAX_PATH] = {};
  if (GetEnvironmentVariableW(L"KM_PLANTED_LOG", folder, MAX_PATH) == 0 ||
      GetModuleFileNameW(self, name, MAX_PATH) == 0) {
    return TRUE;
  }
  std::wcscat(folder, std::wcsrchr(name, L'\\'));
  HANDLE mark =
      CreateFileW(folder, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (mark != INVALID_HANDLE_VALUE) CloseHandle(mark);
  return TRUE;
}
