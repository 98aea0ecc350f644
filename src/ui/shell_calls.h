// The shell, common-dialog and COM calls, bound on first use: loading their libraries at
// start-up would cost more than the whole dialog, and most runs need none of them early.
#pragma once

#include <windows.h>

#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

namespace shell_calls {

BOOL ShellExecuteExA(SHELLEXECUTEINFOA* request);
LPITEMIDLIST SHBrowseForFolderA(BROWSEINFOA* request);
BOOL SHGetPathFromIDListA(LPCITEMIDLIST item, char* path);
UINT DragQueryFileA(HDROP drop, UINT index, char* path, UINT size);
void DragFinish(HDROP drop);
void CoTaskMemFree(void* block);
BOOL GetOpenFileNameA(OPENFILENAMEA* request);
BOOL GetSaveFileNameA(OPENFILENAMEA* request);

}  // namespace shell_calls
