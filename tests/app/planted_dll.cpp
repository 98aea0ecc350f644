// A DLL planted beside the program, as a stranger's download lands beside it in Downloads: if it
// is ever loaded, it leaves a file named after itself in the folder KM_PLANTED_LOG names.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  char folder[MAX_PATH] = {};
  char name[MAX_PATH] = {};
  if (GetEnvironmentVariableA("KM_PLANTED_LOG", folder, sizeof folder) == 0 ||
      GetModuleFileNameA(self, name, sizeof name) == 0) {
    return TRUE;
  }
  const char* base = name;
  for (const char* p = name; *p != '\0'; ++p) {
    if (*p == '\\') base = p + 1;
  }
  lstrcatA(folder, "\\");
  lstrcatA(folder, base);
  HANDLE mark =
      CreateFileA(folder, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (mark != INVALID_HANDLE_VALUE) CloseHandle(mark);
  return TRUE;
}
