// The file layer on Windows: unshared handles, and a flushed temporary file put in the list file's
// place as a trusted editor does, through links and keeping what the file is. Paths arrive as
// UTF-8 and go to the wide functions, whatever the system's code page. Scanners, indexers and
// sync clients open a new or changed file for a moment: an open, a replace or a removal that
// meets one is tried again, all of one save within one short bound.
#include <windows.h>

#include <cwchar>
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

// The save's own file: short, so that a name of 255 characters still has a neighbour, and not
// ".dat", so that neither the user nor the open dialog takes what a killed save left for a list.
constexpr wchar_t kTempName[] = L"~kmlaunch.tmp";

// What a rename loses and a replace keeps, carried over by hand where a rename has to do.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// The thread that reads and writes list files, and the wait that counts on it.
const HoldWait* currentHoldWait = nullptr;

// Only another program's handle is waited out. Access denied is final, whatever it means: a file
// the user may not read, a folder, a read-only file.
bool HeldByAnother(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

// Calls attempt until it succeeds, fails for another reason, or the time is up. Every step is
// tried at least once, also when the wait's deadline has passed.
template <typename Attempt>
auto Retried(Attempt attempt) {
  const HoldWait* hold = currentHoldWait;
  ULONGLONG end = hold != nullptr ? hold->deadline() : GetTickCount64() + kRetryMostMs;
  for (;;) {
    auto result = attempt();
    if (result) return result;
    DWORD error = GetLastError();
    if (!HeldByAnother(error) || GetTickCount64() >= end) return result;
    if (hold != nullptr) {
      hold->WaitFor(kRetryStepMs);
    } else {
      Sleep(kRetryStepMs);
    }
  }
}

File* OpenUnshared(const wchar_t* path, DWORD access, DWORD disposition) {
  return Retried([&] {
    return FromHandle(
        CreateFileW(path, access, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
  });
}

// Whether this runs under Wine, whose ReplaceFile removes the target before it moves the new file
// into place, and keeps nothing a rename would not.
bool UnderWine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

std::unique_ptr<wchar_t[]> Joined(const wchar_t* first, const wchar_t* second, size_t firstUnits) {
  size_t secondUnits = wcslen(second);
  std::unique_ptr<wchar_t[]> joined(new (std::nothrow) wchar_t[firstUnits + secondUnits + 1]);
  if (!joined) return joined;
  wmemcpy(joined.get(), first, firstUnits);
  wmemcpy(joined.get() + firstUnits, second, secondUnits + 1);
  return joined;
}

// The file path names, links followed, as a \\?\ path, which MAX_PATH does not limit; a file that
// does not exist yet by its full path in that form. Null when memory runs out.
std::unique_ptr<wchar_t[]> FinalPath(const wchar_t* path) {
  // No access asked: another program's hold does not stand in the way.
  HANDLE file = CreateFileW(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    constexpr DWORD kForm = FILE_NAME_NORMALIZED | VOLUME_NAME_DOS;
    DWORD size = GetFinalPathNameByHandleW(file, nullptr, 0, kForm);
    std::unique_ptr<wchar_t[]> final(size > 0 ? new (std::nothrow) wchar_t[size] : nullptr);
    bool found = final && GetFinalPathNameByHandleW(file, final.get(), size, kForm) < size;
    CloseHandle(file);
    if (found) return final;
  }
  DWORD size = GetFullPathNameW(path, 0, nullptr, nullptr);
  std::unique_ptr<wchar_t[]> full(size > 0 ? new (std::nothrow) wchar_t[size] : nullptr);
  if (!full || GetFullPathNameW(path, size, full.get(), nullptr) >= size) return nullptr;
  if (wcsncmp(full.get(), L"\\\\?\\", 4) == 0 || wcsncmp(full.get(), L"\\\\.\\", 4) == 0) {
    return full;
  }
  if (wcsncmp(full.get(), L"\\\\", 2) == 0) return Joined(L"\\\\?\\UNC", full.get() + 1, 7);
  return Joined(L"\\\\?\\", full.get(), 4);
}

}  // namespace

HoldWait::HoldWait(Wait wait, void* context)
    : counts_(currentHoldWait == nullptr), wait_(wait), context_(context) {
  if (!counts_) return;
  deadline_ = GetTickCount64() + kRetryMostMs;
  currentHoldWait = this;
}

HoldWait::~HoldWait() {
  if (counts_) currentHoldWait = nullptr;
}

void HoldWait::WaitFor(unsigned ms) const {
  if (wait_ != nullptr) {
    wait_(context_, ms);
  } else {
    Sleep(ms);
  }
}

File* OpenForRead(const char* path) {
  std::unique_ptr<wchar_t[]> wide = WidePath(path);
  if (!wide) return nullptr;
  return OpenUnshared(wide.get(), GENERIC_READ, OPEN_EXISTING);
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
  return OpenUnshared(wide.get(), GENERIC_WRITE, CREATE_ALWAYS);
}

bool Write(File* file, const void* data, size_t size) {
  DWORD written = 0;
  return WriteFile(ToHandle(file), data, static_cast<DWORD>(size), &written, nullptr) &&
         written == size;
}

bool Flush(File* file) { return FlushFileBuffers(ToHandle(file)) != FALSE; }

bool Close(File* file) { return CloseHandle(ToHandle(file)) != FALSE; }

std::unique_ptr<char[]> TempPathFor(const char* target) {
  std::unique_ptr<wchar_t[]> wide = WidePath(target);
  std::unique_ptr<wchar_t[]> final = wide ? FinalPath(wide.get()) : nullptr;
  if (!final) return nullptr;
  const wchar_t* name = wcsrchr(final.get(), L'\\');
  std::unique_ptr<wchar_t[]> temp =
      Joined(final.get(), kTempName, name != nullptr ? name + 1 - final.get() : 0);
  return temp ? Utf8Path(temp.get()) : nullptr;
}

bool ReplaceWith(const char* tempPath, const char* target) {
  std::unique_ptr<wchar_t[]> from = WidePath(tempPath);
  std::unique_ptr<wchar_t[]> wide = WidePath(target);
  std::unique_ptr<wchar_t[]> to = wide ? FinalPath(wide.get()) : nullptr;
  if (!from || !to) return false;
  DWORD attributes = GetFileAttributesW(to.get());
  bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && !UnderWine()) {
    // Keeps the file's attributes, security descriptor, streams and identity.
    if (Retried([&] {
          return ReplaceFileW(to.get(), from.get(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                              nullptr, nullptr) != FALSE;
        })) {
      return true;
    }
    // Only this failure has taken the old file away; the new one then takes its name.
    if (GetLastError() != ERROR_UNABLE_TO_MOVE_REPLACEMENT) return false;
  }
  if (!Retried([&] {
        return MoveFileExW(from.get(), to.get(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
      })) {
    return false;
  }
  if (exists) {
    DWORD kept = attributes & kKeptAttributes;
    SetFileAttributesW(to.get(), kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL);
  }
  return true;
}

// A scanner may still be reading the temporary file that could not be moved into place.
void Remove(const char* path) {
  std::unique_ptr<wchar_t[]> wide = WidePath(path);
  if (wide) Retried([&] { return DeleteFileW(wide.get()) != FALSE; });
}

}  // namespace file_layer
