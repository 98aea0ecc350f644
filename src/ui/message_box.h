// Every message box of the program goes through here, owned by the main dialog.
#pragma once

#include <windows.h>

int ShowMessage(HWND owner, const char* text, const char* caption, UINT type);

// format holds one "%s"; name is put in verbatim.
int ShowMessageWithName(HWND owner, const char* format, const char* name, const char* caption,
                        UINT type);

// format holds one "%d".
int ShowMessageWithNumber(HWND owner, const char* format, int number, const char* caption,
                          UINT type);
