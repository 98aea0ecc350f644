// The record check that every stored setting passes.
#include "store/launch_setting.h"

#include <cstring>

namespace {

bool HoldsNul(const char* field, size_t width) { return std::memchr(field, 0, width) != nullptr; }

}  // namespace

bool IsValidSetting(const LaunchSetting& setting) {
  if (!HoldsNul(setting.name, sizeof setting.name)) return false;
  if (!HoldsNul(setting.path, sizeof setting.path)) return false;
  if (!HoldsNul(setting.options, sizeof setting.options)) return false;
  if (setting.name[0] == '\0' || setting.path[0] == '\0') return false;
  return setting.windowState >= 0 && setting.windowState <= 2;
}
