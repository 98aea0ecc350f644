// One launch setting: a fixed 5384-byte record, also the unit of the list file.
#pragma once

#include <cstddef>
#include <cstdint>

enum class WindowState : int32_t { Normal = 0, Minimized = 1, Maximized = 2 };

struct LaunchSetting {
  char name[256];
  char path[1024];
  char options[4096];
  int32_t windowState;
  uint8_t enabled;  // any nonzero byte means enabled
  uint8_t filler[3];
};

// The list file stores records byte for byte, so the layout must never drift.
static_assert(sizeof(LaunchSetting) == 5384);
static_assert(offsetof(LaunchSetting, name) == 0);
static_assert(offsetof(LaunchSetting, path) == 256);
static_assert(offsetof(LaunchSetting, options) == 1280);
static_assert(offsetof(LaunchSetting, windowState) == 5376);
static_assert(offsetof(LaunchSetting, enabled) == 5380);
static_assert(offsetof(LaunchSetting, filler) == 5381);

// True when the record may be stored: every text holds its NUL within its own
// width, name and path are not empty, windowState is 0 to 2.
bool IsValidSetting(const LaunchSetting& setting);
