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

// Where a save of target is written first: a name of its own, short and not a list file's, in
// the folder of the file target names (links followed), so that it saves wherever target opens.
// Null when memory runs out.
std::unique_ptr<char[]> TempPathFor(const char* target);

// Puts tempPath in the place of the file target names, links followed, in one step; that file
// keeps what it is (its attributes, and on Windows its security, streams and identity) and its
// old bytes on failure.
bool ReplaceWith(const char* tempPath, const char* target);

// Removes a file, ignoring failure.
void Remove(const char* path);

// How a retried open or replace waits between attempts (Sleep unless set): a program can keep its
// window answering meanwhile.
using RetryWait = void (*)(unsigned ms);
void SetRetryWait(RetryWait wait);

// While one lives, every retried step shares a single bound of about 2 s: a whole save (create,
// replace, removal) or a start-up that names several files waits no longer than one step would.
// Without one, each step has a bound of its own; nested, the outermost one counts.
class RetryBudget {
 public:
  RetryBudget();
  ~RetryBudget();
  RetryBudget(const RetryBudget&) = delete;
  RetryBudget& operator=(const RetryBudget&) = delete;
};

}  // namespace file_layer
