// The file layer on POSIX, for the native build: fsync and rename stand in for the Windows calls.
#include <errno.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "store/file_layer.h"

namespace file_layer {

struct File {
  int descriptor;
};

namespace {

File* Wrap(int descriptor) {
  if (descriptor < 0) return nullptr;
  auto* file = new (std::nothrow) File{descriptor};
  if (file == nullptr) ::close(descriptor);
  return file;
}

}  // namespace

File* OpenForRead(const char* path) { return Wrap(::open(path, O_RDONLY | O_CLOEXEC)); }

bool Read(File* file, void* buffer, size_t size, size_t* got) {
  auto* bytes = static_cast<char*>(buffer);
  size_t total = 0;
  while (total < size) {
    ssize_t n = ::read(file->descriptor, bytes + total, size - total);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) break;
    total += static_cast<size_t>(n);
  }
  *got = total;
  return true;
}

File* Create(const char* path) {
  return Wrap(::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
}

bool Write(File* file, const void* data, size_t size) {
  auto* bytes = static_cast<const char*>(data);
  while (size > 0) {
    ssize_t n = ::write(file->descriptor, bytes, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

bool Flush(File* file) { return ::fsync(file->descriptor) == 0; }

bool Close(File* file) {
  bool closed = ::close(file->descriptor) == 0;
  delete file;
  return closed;
}

std::unique_ptr<char[]> FinalPath(const char* path) {
  char* real = ::realpath(path, nullptr);
  if (real == nullptr) return nullptr;
  size_t size = std::strlen(real) + 1;
  std::unique_ptr<char[]> final(new (std::nothrow) char[size]);
  if (final) std::memcpy(final.get(), real, size);
  std::free(real);
  return final;
}

bool ReplaceWith(const char* tempPath, const char* target) {
  return std::rename(tempPath, target) == 0;
}

void Remove(const char* path) { ::unlink(path); }

// Nothing here holds a file against another: there is nothing to wait for.
HoldWait::HoldWait(Wait wait, void* context) : wait_(wait), context_(context) {}
HoldWait::~HoldWait() {}

}  // namespace file_layer
