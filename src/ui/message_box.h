// Every message box of the program goes through here, owned by the main dialog.
#pragma once

#include <windows.h>

int ShowMessage(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);

// format holds one "%s"; name, a code page 932 text as the list keeps it, is put in verbatim.
int ShowMessageWithName(HWND owner, const wchar_t* format, const char* name, const wchar_t* caption,
                        UINT type);

// format holds one "%d".
int ShowMessageWithNumber(HWND owner, const wchar_t* format, int number, const wchar_t* caption,
                          UINT type);
