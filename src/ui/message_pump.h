// A wait that keeps the thread's windows answering: the dialog's own messages go through the
// dialog manager, as in its modal loop.
#pragma once

#include <windows.h>

#include "store/launch_setting_list.h"

// Runs this thread's messages until object (when given) is signalled, stop (when given) says so,
// or mostMs (INFINITE for no limit) have passed. True for the object or the stop; false for the
// time, a failed wait, or a quit message, which is handed on to the loop that owns it.
bool PumpMessagesUntil(HWND dialog, HANDLE object, DWORD mostMs,
                       LaunchSettingList::StopCheck stop = nullptr, void* context = nullptr);
