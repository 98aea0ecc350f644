// List operations by zero-based index; every refusal leaves the list as it was.
#include "store/launch_setting_list.h"

#include <cstring>
#include <new>

// Spelled as bytes so that every compiler yields code page 932, whatever its charset options.
const char kListFileSignature[] =
    "\x83\x4A\x83\x81\x83\x8A\x83\x49\x83\x89\x83\x93\x83\x60\x83\x83";

namespace {

// A node holding a copy of setting between prev and next; null when memory runs out.
LaunchSettingNode* NewNode(const LaunchSetting& setting, LaunchSettingNode* prev,
                           LaunchSettingNode* next) {
  auto* node = new (std::nothrow) LaunchSettingNode;
  if (node == nullptr) return nullptr;
  std::memcpy(&node->setting, &setting, sizeof setting);
  node->prev = prev;
  node->next = next;
  return node;
}

}  // namespace

LaunchSettingList::LaunchSettingList() = default;

LaunchSettingList::~LaunchSettingList() { Clear(); }

LaunchSettingNode* LaunchSettingList::NodeAt(int32_t index) const {
  if (index < 0 || index >= count_) return nullptr;
  LaunchSettingNode* node = head_;
  while (index-- > 0) node = node->next;
  return node;
}

void LaunchSettingList::SetFilePath(const char* path) {
  size_t length = std::strlen(path);
  // A cut path names another file, and an overwrite would go there: keep none instead.
  if (length > kFilePathSize - 1) length = 0;
  std::memcpy(filePath_, path, length);
  filePath_[length] = '\0';
}

bool LaunchSettingList::Put(int32_t index, const LaunchSetting& setting) {
  if (!IsValidSetting(setting)) return false;
  if (LaunchSettingNode* node = NodeAt(index)) {
    std::memcpy(&node->setting, &setting, sizeof setting);
    modified_ = true;
    return true;
  }
  if (count_ >= capacity_) return false;
  LaunchSettingNode* node = NewNode(setting, tail_, nullptr);
  if (node == nullptr) return false;
  if (tail_ == nullptr) {
    head_ = node;
  } else {
    tail_->next = node;
  }
  tail_ = node;
  ++count_;
  modified_ = true;
  return true;
}

bool LaunchSettingList::Get(int32_t index, LaunchSetting* destination) const {
  const LaunchSettingNode* node = NodeAt(index);
  if (node == nullptr) return false;
  std::memcpy(destination, &node->setting, sizeof node->setting);
  return true;
}

bool LaunchSettingList::Remove(int32_t index) {
  LaunchSettingNode* node = NodeAt(index);
  if (node == nullptr) return false;
  if (node == head_) {
    head_ = node->next;
  } else {
    node->prev->next = node->next;
  }
  if (node == tail_) {
    tail_ = node->prev;
  } else {
    node->next->prev = node->prev;
  }
  delete node;
  --count_;
  modified_ = true;
  return true;
}

bool LaunchSettingList::Clear() {
  LaunchSettingNode* node = head_;
  while (node != nullptr) {
    LaunchSettingNode* next = node->next;
    delete node;
    node = next;
  }
  head_ = tail_ = nullptr;
  count_ = 0;
  filePath_[0] = '\0';
  modified_ = false;
  return true;
}

bool LaunchSettingList::MoveUp(int32_t index) {
  if (index == 0) return false;
  LaunchSettingNode* moved = NodeAt(index);
  if (moved == nullptr) return false;
  LaunchSettingNode* previous = moved->prev;
  LaunchSettingNode* before = previous->prev;
  LaunchSettingNode* after = moved->next;
  if (previous == head_) {
    head_ = moved;
  } else {
    before->next = moved;
  }
  if (moved == tail_) {
    tail_ = previous;
  } else {
    after->prev = previous;
  }
  moved->prev = before;
  moved->next = previous;
  previous->prev = moved;
  previous->next = after;
  modified_ = true;
  return true;
}

bool LaunchSettingList::InsertAfter(int32_t index, const LaunchSetting& setting) {
  if (!IsValidSetting(setting)) return false;
  if (index < 0 || index >= count_ || count_ >= capacity_) return false;
  // Linked in place with one walk: climbing up from the end, one place per move, walked from the
  // head for every place, and a long list took seconds.
  LaunchSettingNode* before = NodeAt(index);
  LaunchSettingNode* node = NewNode(setting, before, before->next);
  if (node == nullptr) return false;
  if (before == tail_) {
    tail_ = node;
  } else {
    before->next->prev = node;
  }
  before->next = node;
  ++count_;
  modified_ = true;
  return true;
}
