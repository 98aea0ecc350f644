// The only place the store touches the operating system's files; one half per platform.
// Paths are UTF-8 on both.
#pragma once

#include <cstddef>
#include <memory>

namespace file_layer {

// Opaque per-platform handle; null means "not open".
struct File;

// Opens an existing file for reading with no sharing; null on failure.
File* OpenForRead(const char* path);

// Reads up to size bytes; false on an error. *got < size only at end of file.
bool Read(File* file, void* buffer, size_t size, size_t* got);

// Creates or truncates a file for writing, with no sharing; null on failure.
File* Create(const char* path);

// True only when every byte was written.
bool Write(File* file, const void* data, size_t size);

// Pushes the written bytes to the medium.
bool Flush(File* file);

// Closes the handle; false when the close reported an error.
bool Close(File* file);

// The path of the file path names, links followed, in a form that MAX_PATH does not limit; null
// when there is no such file or memory runs out.
std::unique_ptr<char[]> FinalPath(const char* path);

// Puts tempPath in target's place in one step; the target keeps what it is (its attributes, and
// on Windows its security, streams and identity), and its old bytes on failure.
bool ReplaceWith(const char* tempPath, const char* target);

// Removes a file, ignoring failure.
void Remove(const char* path);

// How retried steps wait out a file that another program holds, for as long as one lives on the
// thread: every step until one deadline about 2 s after it began, so that a whole save, a drop of
// several files or a start-up waits no longer than one step would; between tries it calls wait
// (a sleep when none). Without one, each step has a bound of its own. Nested, the outer one
// counts.
class HoldWait {
 public:
  using Wait = void (*)(void* context, unsigned ms);
  explicit HoldWait(Wait wait = nullptr, void* context = nullptr);
  ~HoldWait();
  HoldWait(const HoldWait&) = delete;
  HoldWait& operator=(const HoldWait&) = delete;

  unsigned long long deadline() const { return deadline_; }
  // Waits ms through its wait; false when it was given none.
  bool WaitFor(unsigned ms) const {
    if (wait_ != nullptr) wait_(context_, ms);
    return wait_ != nullptr;
  }

 private:
  unsigned long long deadline_ = 0;
  Wait wait_;
  void* context_;
};

}  // namespace file_layer
