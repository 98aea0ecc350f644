// Starting one setting through the shell's default action, shared by the single and the batch
// launch.
#pragma once

#include <windows.h>

#include "store/launch_setting_list.h"

// Starts setting, owned by owner, and waits until it takes input; the wait also ends once
// stopRequested (when given) says so. The launch counts as done once the shell has started it.
bool StartThroughShell(const LaunchSetting& setting, HWND owner, ULONG extraMask,
                       LaunchSettingList::StopCheck stopRequested, void* context);
