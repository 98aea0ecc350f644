// The shell, common-dialog and COM calls, bound on first use: loading their libraries at
// start-up would cost more than the whole dialog, and most runs need none of them early.
// The shell may hand a launch to a handler through COM, and its dialogs need COM: each call
// here that reaches them first makes sure the calling thread has it.
#pragma once

#include <windows.h>

#include <commdlg.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

namespace shell_calls {

BOOL ShellExecuteExW(SHELLEXECUTEINFOW* request);
LPITEMIDLIST SHBrowseForFolderW(BROWSEINFOW* request);
BOOL SHGetPathFromIDListW(LPCITEMIDLIST item, wchar_t* path);
UINT DragQueryFileW(HDROP drop, UINT index, wchar_t* path, UINT size);
void DragFinish(HDROP drop);
void CoTaskMemFree(void* block);
HRESULT CoCreateInstance(REFCLSID type, IUnknown* outer, DWORD context, REFIID iid, void** object);
BOOL GetOpenFileNameW(OPENFILENAMEW* request);
BOOL GetSaveFileNameW(OPENFILENAMEW* request);

// Set by the tests alone: they see each dialog's request as the program hands it over, the same
// on every system, whatever shape the dialog then takes.
inline void (*seeFileRequest)(const OPENFILENAMEW* request) = nullptr;
inline void (*seeFolderRequest)(const BROWSEINFOW* request) = nullptr;

// COM for the thread that runs it, for its whole life: a worker that calls the shell and ends.
// Every other thread that calls the shell gets COM on its first call.
class ComForThisThread {
 public:
  ComForThisThread();
  ~ComForThisThread();
  ComForThisThread(const ComForThisThread&) = delete;
  ComForThisThread& operator=(const ComForThisThread&) = delete;

 private:
  bool initialized_;
};

}  // namespace shell_calls
