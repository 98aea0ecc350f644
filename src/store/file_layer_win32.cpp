// The file layer on Windows: unshared handles, and a flushed temporary file put in the list file's
// place as a trusted editor does, through links and keeping what the file is. Paths arrive as
// UTF-8 and go to the wide functions, whatever the system's code page. Scanners, indexers and
// sync clients open a new or changed file for a moment: an open, a replace or a removal that
// meets one is tried again, all of one load or save within one short bound while a HoldWait lives.
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
// step, or every step while a HoldWait lives.
constexpr ULONGLONG kRetryMostMs = 2000;
constexpr unsigned kRetryStepMs = 100;

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// The longest path Windows takes in the \\?\ form.
constexpr DWORD kLongPathUnits = 32768;

// The wait that counts on the one thread that reads and writes list files.
const HoldWait* currentHoldWait = nullptr;

// Whether the step that has just failed is tried again, after a wait: only another program's
// handle is waited out, until *end (set at the first failure). Access denied is final, whatever it
// means (a file the user may not read, a folder, a read-only file).
bool TryAgain(ULONGLONG* end) {
  DWORD error = GetLastError();
  ULONGLONG now = GetTickCount64();
  if (*end == 0) {
    *end = currentHoldWait != nullptr ? currentHoldWait->deadline() : now + kRetryMostMs;
  }
  if ((error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION) || now >= *end) {
    return false;
  }
  if (currentHoldWait == nullptr || !currentHoldWait->WaitFor(kRetryStepMs)) Sleep(kRetryStepMs);
  return true;
}

File* OpenUnshared(const char* path, DWORD access, DWORD disposition) {
  std::unique_ptr<wchar_t[]> wide = WidePath(path);
  if (!wide) return nullptr;
  HANDLE handle;
  ULONGLONG end = 0;
  do {
    handle = CreateFileW(wide.get(), access, 0, nullptr, disposition, 0, nullptr);
  } while (handle == INVALID_HANDLE_VALUE && TryAgain(&end));
  return FromHandle(handle);
}

}  // namespace

HoldWait::HoldWait(Wait wait, void* context) : wait_(wait), context_(context) {
  if (currentHoldWait != nullptr) return;
  deadline_ = GetTickCount64() + kRetryMostMs;
  currentHoldWait = this;
}

HoldWait::~HoldWait() {
  if (currentHoldWait == this) currentHoldWait = nullptr;
}

File* OpenForRead(const char* path) { return OpenUnshared(path, GENERIC_READ, OPEN_EXISTING); }

bool Read(File* file, void* buffer, size_t size, size_t* got) {
  DWORD read = 0;
  if (!ReadFile(ToHandle(file), buffer, static_cast<DWORD>(size), &read, nullptr)) return false;
  *got = read;
  return true;
}

File* Create(const char* path) { return OpenUnshared(path, GENERIC_WRITE, CREATE_ALWAYS); }

bool Write(File* file, const void* data, size_t size) {
  DWORD written = 0;
  return WriteFile(ToHandle(file), data, static_cast<DWORD>(size), &written, nullptr) &&
         written == size;
}

bool Flush(File* file) { return FlushFileBuffers(ToHandle(file)) != FALSE; }

bool Close(File* file) { return CloseHandle(ToHandle(file)) != FALSE; }

std::unique_ptr<char[]> FinalPath(const char* path) {
  std::unique_ptr<wchar_t[]> wide = WidePath(path);
  // No access asked: another program's hold does not stand in the way.
  HANDLE file = wide ? CreateFileW(wide.get(), 0, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr)
                     : INVALID_HANDLE_VALUE;
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  wide.reset(new (std::nothrow) wchar_t[kLongPathUnits]);
  DWORD got = wide ? GetFinalPathNameByHandleW(file, wide.get(), kLongPathUnits, 0) : 0;
  CloseHandle(file);
  return got - 1 < kLongPathUnits - 1 ? Utf8Path(wide.get()) : nullptr;  // 0 is a failure
}

// ReplaceFile keeps the file's attributes, security descriptor, streams and identity; should it
// fail after it has taken the old file away, the new one takes its name by a rename.
bool ReplaceWith(const char* tempPath, const char* target) {
  std::unique_ptr<wchar_t[]> from = WidePath(tempPath);
  std::unique_ptr<wchar_t[]> to = WidePath(target);
  if (!from || !to) return false;
  DWORD attributes = GetFileAttributesW(to.get());
  bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  // Wine's ReplaceFile is a rename that moves the target out of the way first, even a folder or a
  // file another program holds: there a plain rename does, and the attributes are set again.
  bool replace = exists && !GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version");
  bool replaced = false;
  ULONGLONG end = 0;
  while (replace && !(replaced = ReplaceFileW(to.get(), from.get(), nullptr,
                                              REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))) {
    if (GetLastError() == ERROR_UNABLE_TO_MOVE_REPLACEMENT) break;
    if (!TryAgain(&end)) return false;
  }
  while (!replaced &&
         !(replaced = MoveFileExW(from.get(), to.get(),
                                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) &&
         TryAgain(&end)) {
  }
  if (replaced && exists) SetFileAttributesW(to.get(), attributes);
  return replaced;
}

// A scanner may still be reading the temporary file that could not be moved into place.
void Remove(const char* path) {
  std::unique_ptr<wchar_t[]> wide = WidePath(path);
  if (!wide) return;
  ULONGLONG end = 0;
  while (!DeleteFileW(wide.get()) && TryAgain(&end)) {
  }
}

}  // namespace file_layer
