// The file layer on Windows: unshared handles, and a flushed temporary file moved into place.
#include <windows.h>

#include "store/file_layer.h"

namespace file_layer {

namespace {

HANDLE ToHandle(File* file) { return reinterpret_cast<HANDLE>(file); }

File* FromHandle(HANDLE handle) {
  return handle == INVALID_HANDLE_VALUE ? nullptr : reinterpret_cast<File*>(handle);
}

}  // namespace

File* OpenForRead(const char* path) {
  return FromHandle(
      CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool Read(File* file, void* buffer, size_t size, size_t* got) {
  DWORD read = 0;
  if (!ReadFile(ToHandle(file), buffer, static_cast<DWORD>(size), &read, nullptr)) return false;
  *got = read;
  return true;
}

File* Create(const char* path) {
  return FromHandle(
      CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool Write(File* file, const void* data, size_t size) {
  DWORD written = 0;
  return WriteFile(ToHandle(file), data, static_cast<DWORD>(size), &written, nullptr) &&
         written == size;
}

bool Flush(File* file) { return FlushFileBuffers(ToHandle(file)) != FALSE; }

bool Close(File* file) { return CloseHandle(ToHandle(file)) != FALSE; }

// Not ReplaceFileA: under Wine it removes the target before the new file is in place.
bool ReplaceWith(const char* tempPath, const char* target) {
  return MoveFileExA(tempPath, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

void Remove(const char* path) { DeleteFileA(path); }

}  // namespace file_layer
