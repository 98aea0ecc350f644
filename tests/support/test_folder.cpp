// Helpers shared by the store's tests and fuzzer.
#include "support/test_folder.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>

#ifdef _WIN32
#include "support/cp932_text.h"
#include "support/end_probes.h"  // LongPath
#endif

namespace fs = std::filesystem;

namespace {

// On Windows paths are UTF-8, as the list keeps them, and names are code page 932 literals.
#ifdef _WIN32
fs::path NativePath(const std::string& utf8) { return fs::path(Wide932(utf8, CP_UTF8)); }
std::string PathText(const fs::path& path) { return Narrow932(path.wstring(), CP_UTF8); }
fs::path NameOf(const std::string& name) { return fs::path(Wide932(name)); }
std::string NameText(const fs::path& name) { return Narrow932(name.wstring()); }
FILE* OpenFile(const std::string& path, const wchar_t* mode) {
  return _wfopen(NativePath(path).c_str(), mode);
}
#else
fs::path NativePath(const std::string& path) { return fs::path(path); }
std::string PathText(const fs::path& path) { return path.string(); }
fs::path NameOf(const std::string& name) { return fs::path(name); }
std::string NameText(const fs::path& name) { return name.string(); }
FILE* OpenFile(const std::string& path, const char* mode) { return std::fopen(path.c_str(), mode); }
#endif

#ifdef _WIN32
#define KM_MODE(text) L##text
#else
#define KM_MODE(text) text
#endif

}  // namespace

TestFolder::TestFolder() {
  std::random_device seed;
  fs::path base = fs::temp_directory_path();
#ifdef _WIN32
  base = LongPath(base.wstring());
#endif
  for (;;) {
    fs::path candidate = base / ("kmlaunch-test-" + std::to_string(seed()));
    std::error_code error;
    if (fs::create_directory(candidate, error)) {
      root_ = PathText(candidate);
      return;
    }
  }
}

TestFolder::~TestFolder() {
  std::error_code error;
  fs::remove_all(NativePath(root_), error);
}

std::string TestFolder::Path(const std::string& name) const {
  return PathText(NativePath(root_) / NameOf(name));
}

std::string TestFolder::MakeFolder(const std::string& name) const {
  fs::create_directory(NativePath(Path(name)));
  return Path(name);
}

bool TestFolder::IsFolder(const std::string& name) const {
  return fs::is_directory(NativePath(Path(name)));
}

std::string TestFolder::SaveList(const std::string& name,
                                 std::initializer_list<const char*> names) const {
  LaunchSettingList list;
  for (const char* setting : names) list.Put(-1, MakeSetting(setting));
  list.SaveToFile(Path(name).c_str(), kListFileSignature);
  return Path(name);
}

std::vector<std::string> TestFolder::FileNames() const {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(NativePath(root_))) {
    names.push_back(NameText(entry.path().filename()));
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
  if (FILE* file = OpenFile(path, KM_MODE("rb"))) {
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
  FILE* file = OpenFile(path, KM_MODE("wb"));
  if (file == nullptr) return;
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

const Bytes kSignature = {0x83, 0x4A, 0x83, 0x81, 0x83, 0x8A, 0x83, 0x49, 0x83,
                          0x89, 0x83, 0x93, 0x83, 0x60, 0x83, 0x83, 0x00};

Bytes ListFileBytes(int32_t count, int32_t capacity, const std::vector<LaunchSetting>& records) {
  Bytes bytes = kSignature;
  for (int32_t number : {count, capacity}) {
    for (int i = 0; i < 4; ++i)
      bytes.push_back(static_cast<unsigned char>(static_cast<uint32_t>(number) >> (8 * i)));
  }
  for (const LaunchSetting& record : records) {
    auto* raw = reinterpret_cast<const unsigned char*>(&record);
    bytes.insert(bytes.end(), raw, raw + sizeof record);
  }
  return bytes;
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
