// Scratch folders, records and raw file bytes for the store's tests, on either platform.
#pragma once

#include <string>
#include <vector>

#include "store/launch_setting.h"
#include "store/launch_setting_list.h"

using Bytes = std::vector<unsigned char>;

// A fresh, empty folder that is removed with everything in it.
class TestFolder {
 public:
  TestFolder();
  ~TestFolder();
  std::string Path(const std::string& name) const;
  std::vector<std::string> FileNames() const;
  // A folder made inside, its path; whether one is there.
  std::string MakeFolder(const std::string& name) const;
  bool IsFolder(const std::string& name) const;
  // A list file inside holding settings of these names, its path.
  std::string SaveList(const std::string& name, std::initializer_list<const char*> names) const;

 private:
  std::string root_;
};

// A zeroed record with the given texts; the texts must fit their fields.
LaunchSetting MakeSetting(const char* name, const char* path = "C:\\app.exe",
                          const char* options = "", int32_t windowState = 0, uint8_t enabled = 1);

Bytes ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const Bytes& bytes);

// The list file's signature and its NUL, as bytes.
extern const Bytes kSignature;
// A list file built by hand from the format, independent of the writer.
Bytes ListFileBytes(int32_t count, int32_t capacity, const std::vector<LaunchSetting>& records);

// The list's records, in order, as raw bytes.
std::vector<Bytes> RecordsOf(const LaunchSettingList& list);

// Empty string when the list's links, count and capacity agree; otherwise what is wrong.
std::string BrokenInvariant(const LaunchSettingList& list);
