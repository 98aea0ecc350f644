// Helpers shared by the store's tests and fuzzer.
#include "support/test_folder.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>

namespace fs = std::filesystem;

TestFolder::TestFolder() {
  std::random_device seed;
  fs::path base = fs::temp_directory_path();
  for (;;) {
    fs::path candidate = base / ("kmlaunch-test-" + std::to_string(seed()));
    std::error_code error;
    if (fs::create_directory(candidate, error)) {
      root_ = candidate.string();
      return;
    }
  }
}

TestFolder::~TestFolder() {
  std::error_code error;
  fs::remove_all(root_, error);
}

std::string TestFolder::Path(const std::string& name) const {
  return (fs::path(root_) / name).string();
}

std::vector<std::string> TestFolder::FileNames() const {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(root_)) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

LaunchSetting MakeSetting(const char* name, const char* path, const char* options,
                          int32_t windowState, uint8_t enabled) {
  LaunchSetting setting;
  std::memset(&setting, 0, sizeof setting);
  std::snprintf(setting.name, sizeof setting.name, "%s", name);
  std::snprintf(setting.path, sizeof setting.path, "%s", path);
  std::snprintf(setting.options, sizeof setting.options, "%s", options);
  setting.windowState = windowState;
  setting.enabled = enabled;
  return setting;
}

Bytes ReadBytes(const std::string& path) {
  Bytes bytes;
  if (FILE* file = std::fopen(path.c_str(), "rb")) {
    unsigned char block[4096];
    size_t got;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0) {
      bytes.insert(bytes.end(), block, block + got);
    }
    std::fclose(file);
  }
  return bytes;
}

void WriteBytes(const std::string& path, const Bytes& bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return;
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

std::vector<Bytes> RecordsOf(const LaunchSettingList& list) {
  std::vector<Bytes> records;
  for (const LaunchSettingNode* node = list.head(); node != nullptr; node = node->next) {
    auto* bytes = reinterpret_cast<const unsigned char*>(&node->setting);
    records.emplace_back(bytes, bytes + sizeof node->setting);
  }
  return records;
}

std::string BrokenInvariant(const LaunchSettingList& list) {
  if ((list.head() == nullptr) != (list.tail() == nullptr)) return "head and tail disagree";
  if (list.head() != nullptr && list.head()->prev != nullptr) return "head has a prev";
  if (list.tail() != nullptr && list.tail()->next != nullptr) return "tail has a next";
  int32_t forward = 0;
  const LaunchSettingNode* last = nullptr;
  for (const LaunchSettingNode* node = list.head(); node != nullptr; node = node->next) {
    if (node->prev != last) return "prev does not point back at " + std::to_string(forward - 1);
    if (!IsValidSetting(node->setting)) return "record " + std::to_string(forward) + " is invalid";
    last = node;
    if (++forward > list.count()) return "more nodes from head than count";
  }
  if (last != list.tail()) return "walking from head does not end at tail";
  int32_t backward = 0;
  for (const LaunchSettingNode* node = list.tail(); node != nullptr; node = node->prev) {
    if (++backward > list.count()) return "more nodes from tail than count";
  }
  if (forward != list.count() || backward != list.count()) return "count differs from the nodes";
  if (list.count() < 0 || list.count() > list.capacity()) return "count outside 0..capacity";
  return "";
}
