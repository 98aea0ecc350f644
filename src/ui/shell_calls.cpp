// Each function is looked up once; a library that cannot be loaded makes its calls fail.
#include "ui/shell_calls.h"

namespace shell_calls {

namespace {

template <typename Function>
Function Bind(const char* library, const char* name) {
  HMODULE module = LoadLibraryA(library);
  if (module == nullptr) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

// Function-local statics: bound once, safely, from whichever thread calls first.
#define KM_BOUND(library, name) static const auto bound = Bind<decltype(&::name)>(library, #name)

BOOL ShellExecuteExA(SHELLEXECUTEINFOA* request) {
  KM_BOUND("shell32.dll", ShellExecuteExA);
  return bound != nullptr && bound(request);
}

LPITEMIDLIST SHBrowseForFolderA(BROWSEINFOA* request) {
  KM_BOUND("shell32.dll", SHBrowseForFolderA);
  return bound != nullptr ? bound(request) : nullptr;
}

BOOL SHGetPathFromIDListA(LPCITEMIDLIST item, char* path) {
  KM_BOUND("shell32.dll", SHGetPathFromIDListA);
  return bound != nullptr && bound(item, path);
}

UINT DragQueryFileA(HDROP drop, UINT index, char* path, UINT size) {
  KM_BOUND("shell32.dll", DragQueryFileA);
  return bound != nullptr ? bound(drop, index, path, size) : 0;
}

void DragFinish(HDROP drop) {
  KM_BOUND("shell32.dll", DragFinish);
  if (bound != nullptr) bound(drop);
}

void CoTaskMemFree(void* block) {
  KM_BOUND("ole32.dll", CoTaskMemFree);
  if (bound != nullptr) bound(block);
}

BOOL GetOpenFileNameA(OPENFILENAMEA* request) {
  KM_BOUND("comdlg32.dll", GetOpenFileNameA);
  return bound != nullptr && bound(request);
}

BOOL GetSaveFileNameA(OPENFILENAMEA* request) {
  KM_BOUND("comdlg32.dll", GetSaveFileNameA);
  return bound != nullptr && bound(request);
}

#undef KM_BOUND

}  // namespace shell_calls
