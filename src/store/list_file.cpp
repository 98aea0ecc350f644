// The list file: signature, count and capacity (little-endian, unaligned), then the records.
#include <cstring>
#include <memory>
#include <new>

#include "store/file_layer.h"
#include "store/launch_setting_list.h"

namespace {

// Large enough to move a dozen records per system call.
constexpr size_t kBlockSize = 64 * 1024;

// A save's own file: short, so that a name of 255 characters still has a neighbour, and not
// ".dat", so that neither the user nor the open dialog takes what a killed save left for a list.
constexpr char kTempName[] = "~kmlaunch.tmp";
// Where a path's folder ends, in the form the file layer's final path has on each system.
#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

void EncodeInt32(int32_t value, unsigned char out[4]) {
  auto bits = static_cast<uint32_t>(value);
  for (int i = 0; i < 4; ++i) out[i] = static_cast<unsigned char>(bits >> (8 * i));
}

int32_t DecodeInt32(const unsigned char in[4]) {
  uint32_t bits = 0;
  for (int i = 0; i < 4; ++i) bits |= static_cast<uint32_t>(in[i]) << (8 * i);
  return static_cast<int32_t>(bits);
}

// Collects small writes into blocks; the first failure sticks.
class BlockWriter {
 public:
  explicit BlockWriter(file_layer::File* file) : file_(file) {
    block_ = new (std::nothrow) unsigned char[kBlockSize];
    ok_ = block_ != nullptr;
  }
  ~BlockWriter() { delete[] block_; }

  void Append(const void* data, size_t size) {
    auto* bytes = static_cast<const unsigned char*>(data);
    while (ok_ && size > 0) {
      size_t room = kBlockSize - used_;
      size_t part = size < room ? size : room;
      std::memcpy(block_ + used_, bytes, part);
      used_ += part;
      bytes += part;
      size -= part;
      if (used_ == kBlockSize) Drain();
    }
  }

  bool Finish() {
    if (ok_ && used_ > 0) Drain();
    return ok_;
  }

 private:
  void Drain() {
    ok_ = file_layer::Write(file_, block_, used_);
    used_ = 0;
  }

  file_layer::File* file_;
  unsigned char* block_;
  size_t used_ = 0;
  bool ok_;
};

// Hands out exact-length pieces of the file; a short piece means the file ended.
class BlockReader {
 public:
  explicit BlockReader(file_layer::File* file) : file_(file) {
    block_ = new (std::nothrow) unsigned char[kBlockSize];
  }
  ~BlockReader() { delete[] block_; }

  // Points *piece at size bytes, valid until the next call; false if they are not all there.
  bool Next(size_t size, const unsigned char** piece, unsigned char* scratch) {
    if (block_ == nullptr) return false;
    if (end_ - start_ >= size) {
      *piece = block_ + start_;
      start_ += size;
      return true;
    }
    // The piece straddles blocks: gather it in scratch.
    size_t have = 0;
    while (have < size) {
      if (start_ == end_ && !Refill()) return false;
      size_t part = end_ - start_;
      if (part > size - have) part = size - have;
      std::memcpy(scratch + have, block_ + start_, part);
      start_ += part;
      have += part;
    }
    *piece = scratch;
    return true;
  }

 private:
  bool Refill() {
    size_t got = 0;
    if (!file_layer::Read(file_, block_, kBlockSize, &got) || got == 0) return false;
    start_ = 0;
    end_ = got;
    return true;
  }

  file_layer::File* file_;
  unsigned char* block_;
  size_t start_ = 0;
  size_t end_ = 0;
};

}  // namespace

bool LaunchSettingList::SaveToFile(const char* path, const char* signature) {
  // The list goes to a file of its own first, so a failed save never costs the user the old file:
  // beside the file the path names, links followed, so that a link stays a link.
  std::unique_ptr<char[]> final = file_layer::FinalPath(path);
  const char* target = final ? final.get() : path;
  size_t folder = std::strlen(target);
  while (folder > 0 && target[folder - 1] != kSeparator) --folder;
  std::unique_ptr<char[]> tempPath(new (std::nothrow) char[folder + sizeof kTempName]);
  if (!tempPath) return false;
  std::memcpy(tempPath.get(), target, folder);
  std::memcpy(tempPath.get() + folder, kTempName, sizeof kTempName);
  // What a save that was cut short left there is simply written over.
  bool saved =
      WriteListTo(tempPath.get(), signature) && file_layer::ReplaceWith(tempPath.get(), target);
  if (!saved) {
    file_layer::Remove(tempPath.get());
    return false;
  }
  SetFilePath(path);
  modified_ = false;
  return true;
}

bool LaunchSettingList::WriteListTo(const char* tempPath, const char* signature) const {
  file_layer::File* file = file_layer::Create(tempPath);
  if (file == nullptr) return false;

  BlockWriter writer(file);
  writer.Append(signature, std::strlen(signature) + 1);
  unsigned char number[4];
  EncodeInt32(count_, number);
  writer.Append(number, sizeof number);
  EncodeInt32(capacity_, number);
  writer.Append(number, sizeof number);
  for (const LaunchSettingNode* node = head_; node != nullptr; node = node->next) {
    writer.Append(&node->setting, sizeof node->setting);
  }
  bool written = writer.Finish() && file_layer::Flush(file);
  // The handle must be closed before the move, whatever happened.
  bool closed = file_layer::Close(file);
  return written && closed;
}

bool LaunchSettingList::LoadFromFile(const char* path, const char* signature, bool replace) {
  file_layer::File* file = file_layer::OpenForRead(path);
  if (file == nullptr) return false;

  size_t signatureSize = std::strlen(signature) + 1;
  auto* scratch = new (
      std::nothrow) unsigned char[signatureSize > sizeof(LaunchSetting) ? signatureSize
                                                                        : sizeof(LaunchSetting)];
  BlockReader reader(file);
  bool ok = scratch != nullptr;

  const unsigned char* piece = nullptr;
  int32_t fileCount = 0;
  int32_t fileCapacity = 0;
  // The text before the first NUL must be the signature; a missing NUL fails.
  ok = ok && reader.Next(signatureSize, &piece, scratch) &&
       std::memchr(piece, 0, signatureSize) != nullptr &&
       std::strcmp(reinterpret_cast<const char*>(piece), signature) == 0;
  ok = ok && reader.Next(4, &piece, scratch);
  if (ok) fileCount = DecodeInt32(piece);
  ok = ok && fileCount >= 0 && reader.Next(4, &piece, scratch);
  if (ok) fileCapacity = DecodeInt32(piece);
  ok = ok && fileCapacity >= 0 && fileCount <= fileCapacity;

  bool tookFile = ok && replace;
  if (tookFile) {
    Clear();
    capacity_ = fileCapacity;
    SetFilePath(path);
  }
  for (int32_t i = 0; ok && i < fileCount && count_ < capacity_; ++i) {
    LaunchSetting record;
    ok = reader.Next(sizeof record, &piece, scratch);
    if (!ok) break;
    std::memcpy(&record, piece, sizeof record);
    ok = Put(-1, record);
  }
  file_layer::Close(file);
  delete[] scratch;
  if (ok && replace) modified_ = false;
  // A list cut short by a damaged record is not that file: saving it there would cost the user
  // the records that could not be read.
  if (!ok && tookFile) filePath_[0] = '\0';
  return ok;
}
