// The file layer on Windows: unshared handles, and a flushed temporary file moved into place.
// Paths arrive as UTF-8 and go to the wide functions, whatever the system's code page.
// Scanners, indexers and sync clients open a new or changed file for a moment: an open, a
// replace or a removal that meets one is tried again, all of one save within one short bound.
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

// About as long as a scanner holds a file; Git for Windows waits in the same way. It bounds one
// step, or every step while a RetryBudget lives.
constexpr ULONGLONG kRetryMostMs = 2000;
constexpr unsigned kRetryStepMs = 100;

// The open budgets on the one thread that reads and writes list files, and when the outermost
// one runs out.
int budgetDepth = 0;
ULONGLONG budgetEnd = 0;

void SleepWait(unsigned ms) { Sleep(ms); }
RetryWait retryWait = SleepWait;

// Whether another program's handle may be all that stands in the way. Windows answers access
// denied for a file that is being deleted or replaced, and for a replace of a file held without
// delete sharing; for a folder or a read-only file it means just that, and is final.
bool HeldByAnother(DWORD error, const wchar_t* deniedFile) {
  if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) return true;
  if (error != ERROR_ACCESS_DENIED || deniedFile == nullptr) return false;
  DWORD attributes = GetFileAttributesW(deniedFile);
  return attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) == 0;
}

// Calls attempt until it succeeds, fails for another reason, or the time is up; a denial is
// looked into on deniedFile, when given. Every step is tried at least once, also when a budget
// has run out.
template <typename Attempt>
auto Retried(const wchar_t* deniedFile, Attempt attempt) {
  ULONGLONG end = budgetDepth > 0 ? budgetEnd : GetTickCount64() + kRetryMostMs;
  for (;;) {
    auto result = attempt();
    if (result) return result;
    DWORD error = GetLastError();
    if (!HeldByAnother(error, deniedFile) || GetTickCount64() >= end) return result;
    retryWait(kRetryStepMs);
  }
}

File* OpenUnshared(const wchar_t* path, DWORD access, DWORD disposition, bool denialMayBeHold) {
  return Retried(denialMayBeHold ? path : nullptr, [&] {
    return FromHandle(
        CreateFileW(path, access, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
  });
}

}  // namespace

void SetRetryWait(RetryWait wait) { retryWait = wait != nullptr ? wait : SleepWait; }

RetryBudget::RetryBudget() {
  if (budgetDepth++ == 0) budgetEnd = GetTickCount64() + kRetryMostMs;
}

RetryBudget::~RetryBudget() { --budgetDepth; }

File* OpenForRead(const char* path) {
  std::unique_ptr<wchar_t[]> wide = WidePath(path);
  if (!wide) return nullptr;
  return OpenUnshared(wide.get(), GENERIC_READ, OPEN_EXISTING, true);
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
  // Only a sharing or lock violation is waited out here. Access denied fails at once, whatever it
  // means: a folder the user may not write to, or a temporary file left behind that is read-only,
  // hidden or being deleted.
  return OpenUnshared(wide.get(), GENERIC_WRITE, CREATE_ALWAYS, false);
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
  return from && to && Retried(to.get(), [&] {
           return MoveFileExW(from.get(), to.get(),
                              MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
         });
}

// A scanner may still be reading the temporary file that could not be moved into place.
void Remove(const char* path) {
  std::unique_ptr<wchar_t[]> wide = WidePath(path);
  if (wide) Retried(wide.get(), [&] { return DeleteFileW(wide.get()) != FALSE; });
}

}  // namespace file_layer
