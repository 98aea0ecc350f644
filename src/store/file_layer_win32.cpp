// The file layer on Windows: unshared handles, and a flushed temporary file moved into place.
// Paths arrive as UTF-8 and go to the wide functions, whatever the system's code page.
#include <windows.h>

#include <new>

#include "store/file_layer.h"
#include "store/wide_path.h"

std::unique_ptr<wchar_t[]> WidePath(const char* path) {
  int size = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path, -1, nullptr, 0);
  if (size <= 0) return nullptr;
  std::unique_ptr<wchar_t[]> wide(new (std::nothrow) wchar_t[size]);
  if (wide && MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path, -1, wide.get(), size) == 0) {
    wide.reset();
  }
  return wide;
}

std::unique_ptr<char[]> Utf8Path(const wchar_t* path) {
  int size =
      WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, path, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return nullptr;
  std::unique_ptr<char[]> utf8(new (std::nothrow) char[size]);
  if (utf8 && WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, path, -1, utf8.get(), size,
                                  nullptr, nullptr) == 0) {
    utf8.reset();
  }
  return utf8;
}

namespace file_layer {

namespace {

HANDLE ToHandle(File* file) { return reinterpret_cast<HANDLE>(file); }

File* FromHandle(HANDLE handle) {
  return handle == INVALID_HANDLE_VALUE ? nullptr : reinterpret_cast<File*>(handle);
}

}  // namespace

File* OpenForRead(const char* path) {
  std::unique_ptr<wchar_t[]> wide = WidePath(path);
  if (!wide) return nullptr;
  return FromHandle(CreateFileW(wide.get(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool Read(File* file, void* buffer, size_t size, size_t* got) {
  DWORD read = 0;
  if (!ReadFile(ToHandle(file), buffer, static_cast<DWORD>(size), &read, nullptr)) return false;
  *got = read;
  return true;
}

File* Create(const char* path) {
  std::unique_ptr<wchar_t[]> wide = WidePath(path);
  if (!wide) return nullptr;
  return FromHandle(CreateFileW(wide.get(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool Write(File* file, const void* data, size_t size) {
  DWORD written = 0;
  return WriteFile(ToHandle(file), data, static_cast<DWORD>(size), &written, nullptr) &&
         written == size;
}

bool Flush(File* file) { return FlushFileBuffers(ToHandle(file)) != FALSE; }

bool Close(File* file) { return CloseHandle(ToHandle(file)) != FALSE; }

// Not ReplaceFile: under Wine it removes the target before the new file is in place.
bool ReplaceWith(const char* tempPath, const char* target) {
  std::unique_ptr<wchar_t[]> from = WidePath(tempPath);
  std::unique_ptr<wchar_t[]> to = WidePath(target);
  return from && to &&
         MoveFileExW(from.get(), to.get(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) !=
             FALSE;
}

void Remove(const char* path) {
  if (std::unique_ptr<wchar_t[]> wide = WidePath(path)) DeleteFileW(wide.get());
}

}  // namespace file_layer
