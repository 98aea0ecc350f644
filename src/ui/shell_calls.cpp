// Each function is looked up once; a library that cannot be loaded makes its calls fail.
#include "ui/shell_calls.h"

#include <atomic>
#include <cwchar>

#include "ui/thread_slot.h"

namespace shell_calls {

namespace {

// From System32 only, never from the program's folder, where anything may have been unpacked.
HMODULE LoadSystemLibrary(const wchar_t* library) {
  HMODULE module = LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (module != nullptr || GetLastError() != ERROR_INVALID_PARAMETER) return module;
  // Windows 7 without its 2011 update knows no search flags: the full System32 path, whose own
  // dependencies are then looked for in System32 first, never in the program's folder.
  wchar_t path[MAX_PATH];
  UINT folder = GetSystemDirectoryW(path, MAX_PATH);
  if (folder == 0 || folder + 1 + wcslen(library) >= MAX_PATH) return nullptr;
  path[folder] = L'\\';
  wcscpy(path + folder + 1, library);
  return LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

// Threads that look a function up at once both find the same address, so the slot needs no
// lock; a library that is missing is looked for again on the next call.
template <typename Function>
Function Bind(std::atomic<void*>& slot, const wchar_t* library, const char* name) {
  void* bound = slot.load(std::memory_order_acquire);
  if (bound == nullptr) {
    HMODULE module = LoadSystemLibrary(library);
    if (module == nullptr) return nullptr;
    bound = reinterpret_cast<void*>(GetProcAddress(module, name));
    slot.store(bound, std::memory_order_release);
  }
  return reinterpret_cast<Function>(bound);
}

// A constant-initialised slot per function, so no guard or lock is compiled in.
#define KM_BOUND(library, name)               \
  static constinit std::atomic<void*> slot{}; \
  const auto bound = Bind<decltype(&::name)>(slot, library, #name)

// Whether this thread has asked for COM; asked once, as a failure (the thread already lives in
// another apartment) would fail again.
ThreadSlot comAsked;

// Apartment-threaded, as the shell's handlers and dialogs expect, and without OLE1 DDE.
bool StartCom() {
  comAsked.Set(&comAsked);
  KM_BOUND(L"ole32.dll", CoInitializeEx);
  return bound != nullptr &&
         SUCCEEDED(bound(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
}

void NeedCom() {
  if (comAsked.Get() == nullptr) StartCom();
}

}  // namespace

ComForThisThread::ComForThisThread() : initialized_(StartCom()) {}

ComForThisThread::~ComForThisThread() {
  KM_BOUND(L"ole32.dll", CoUninitialize);
  if (initialized_ && bound != nullptr) bound();
}

BOOL ShellExecuteExW(SHELLEXECUTEINFOW* request) {
  NeedCom();
  KM_BOUND(L"shell32.dll", ShellExecuteExW);
  return bound != nullptr && bound(request);
}

LPITEMIDLIST SHBrowseForFolderW(BROWSEINFOW* request) {
  if (seeFolderRequest != nullptr) seeFolderRequest(request);
  NeedCom();
  KM_BOUND(L"shell32.dll", SHBrowseForFolderW);
  return bound != nullptr ? bound(request) : nullptr;
}

BOOL SHGetPathFromIDListW(LPCITEMIDLIST item, wchar_t* path) {
  KM_BOUND(L"shell32.dll", SHGetPathFromIDListW);
  return bound != nullptr && bound(item, path);
}

UINT DragQueryFileW(HDROP drop, UINT index, wchar_t* path, UINT size) {
  KM_BOUND(L"shell32.dll", DragQueryFileW);
  return bound != nullptr ? bound(drop, index, path, size) : 0;
}

void DragFinish(HDROP drop) {
  KM_BOUND(L"shell32.dll", DragFinish);
  if (bound != nullptr) bound(drop);
}

void CoTaskMemFree(void* block) {
  KM_BOUND(L"ole32.dll", CoTaskMemFree);
  if (bound != nullptr) bound(block);
}

HRESULT CoCreateInstance(REFCLSID type, IUnknown* outer, DWORD context, REFIID iid, void** object) {
  NeedCom();
  KM_BOUND(L"ole32.dll", CoCreateInstance);
  return bound != nullptr ? bound(type, outer, context, iid, object) : E_FAIL;
}

BOOL GetOpenFileNameW(OPENFILENAMEW* request) {
  NeedCom();
  KM_BOUND(L"comdlg32.dll", GetOpenFileNameW);
  return bound != nullptr && bound(request);
}

BOOL GetSaveFileNameW(OPENFILENAMEW* request) {
  NeedCom();
  KM_BOUND(L"comdlg32.dll", GetSaveFileNameW);
  return bound != nullptr && bound(request);
}

#undef KM_BOUND

}  // namespace shell_calls
