// Conversions between code page 932 and UTF-16, through the system's tables for code page 932.
#include "ui/cp932.h"

#include <windows.h>

#include <new>

namespace cp932 {

namespace {

constexpr UINT kCodePage = 932;

// One character: a surrogate pair is two units.
size_t CharacterUnits(const wchar_t* text, size_t length) {
  return IS_HIGH_SURROGATE(text[0]) && length > 1 && IS_LOW_SURROGATE(text[1]) ? 2 : 1;
}

}  // namespace

std::unique_ptr<wchar_t[]> ToWide(const char* text) {
  int size = MultiByteToWideChar(kCodePage, 0, text, -1, nullptr, 0);
  if (size <= 0) return nullptr;
  std::unique_ptr<wchar_t[]> wide(new (std::nothrow) wchar_t[size]);
  if (wide) MultiByteToWideChar(kCodePage, 0, text, -1, wide.get(), size);
  return wide;
}

size_t ToWideInto(const char* text, wchar_t* buffer, size_t size) {
  int units = MultiByteToWideChar(kCodePage, 0, text, -1, buffer, static_cast<int>(size));
  if (units > 0) return static_cast<size_t>(units - 1);
  buffer[0] = L'\0';
  return 0;
}

std::unique_ptr<char[]> FromWide(const wchar_t* text, size_t length, size_t* bytes) {
  *bytes = 0;
  int units = static_cast<int>(length);
  BOOL lossy = FALSE;
  int size = units == 0 ? 0
                        : WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, text, units, nullptr,
                                              0, nullptr, &lossy);
  if (lossy || (units > 0 && size <= 0)) return nullptr;
  std::unique_ptr<char[]> narrow(new (std::nothrow) char[size + 1]);
  if (!narrow) return nullptr;
  if (units > 0) {
    WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, text, units, narrow.get(), size, nullptr,
                        &lossy);
  }
  if (lossy) return nullptr;
  narrow[size] = '\0';
  *bytes = static_cast<size_t>(size);
  return narrow;
}

size_t ByteLength(const wchar_t* text, size_t length) {
  if (length == 0) return 0;
  int size = WideCharToMultiByte(kCodePage, 0, text, static_cast<int>(length), nullptr, 0, nullptr,
                                 nullptr);
  return size > 0 ? static_cast<size_t>(size) : length;
}

size_t FittingLength(const wchar_t* text, size_t length, size_t limit) {
  size_t at = 0;
  size_t used = 0;
  while (at < length) {
    size_t units = CharacterUnits(text + at, length - at);
    size_t size = text[at] < 0x80 ? 1 : ByteLength(text + at, units);
    if (used + size > limit) break;
    used += size;
    at += units;
  }
  return at;
}

}  // namespace cp932
