// The bounded, doubly linked list of launch settings and its list file.
#pragma once

#include <cstdint>

#include "store/launch_setting.h"

// The product name in code page 932: the signature of every list file.
extern const char kListFileSignature[];

struct LaunchSettingNode {
  LaunchSetting setting;
  LaunchSettingNode* prev;
  LaunchSettingNode* next;
};

class LaunchSettingList {
 public:
  static constexpr int32_t kDefaultCapacity = 30;
  // UTF-8: room for a path of 1023 UTF-16 units, each at most three bytes.
  static constexpr int32_t kFilePathSize = 3 * 1024;

  LaunchSettingList();
  ~LaunchSettingList();
  LaunchSettingList(const LaunchSettingList&) = delete;
  LaunchSettingList& operator=(const LaunchSettingList&) = delete;

  bool Put(int32_t index, const LaunchSetting& setting);
  bool Get(int32_t index, LaunchSetting* destination) const;
  bool Remove(int32_t index);
  bool Clear();
  bool MoveUp(int32_t index);
  bool InsertAfter(int32_t index, const LaunchSetting& setting);

  bool SaveToFile(const char* path, const char* signature);
  bool LoadFromFile(const char* path, const char* signature, bool replace);

  // Says whether a launch's wait should end; context is the caller's.
  using StopCheck = bool (*)(void* context);

  // Starts record index through the shell and waits until it takes input; Windows only.
  bool Launch(int32_t index) const;

  const LaunchSettingNode* head() const { return head_; }
  const LaunchSettingNode* tail() const { return tail_; }
  int32_t count() const { return count_; }
  int32_t capacity() const { return capacity_; }
  const char* filePath() const { return filePath_; }
  bool modified() const { return modified_; }

 private:
  LaunchSettingNode* NodeAt(int32_t index) const;
  void SetFilePath(const char* path);
  bool WriteListTo(const char* tempPath, const char* signature) const;

  LaunchSettingNode* head_ = nullptr;
  LaunchSettingNode* tail_ = nullptr;
  int32_t count_ = 0;
  int32_t capacity_ = kDefaultCapacity;
  char filePath_[kFilePathSize] = {};
  bool modified_ = false;
};
