// Text building for messages and captions.
#include "ui/text_format.h"

#include <cstring>
#include <new>

std::unique_ptr<char[]> FormatWithText(const char* format, const char* text) {
  const char* placeholder = std::strstr(format, "%s");
  size_t formatLength = std::strlen(format);
  size_t textLength = placeholder != nullptr ? std::strlen(text) : 0;
  size_t size = formatLength - (placeholder != nullptr ? 2 : 0) + textLength + 1;
  std::unique_ptr<char[]> result(new (std::nothrow) char[size]);
  if (!result) return result;
  if (placeholder == nullptr) {
    std::memcpy(result.get(), format, formatLength + 1);
    return result;
  }
  size_t before = static_cast<size_t>(placeholder - format);
  std::memcpy(result.get(), format, before);
  std::memcpy(result.get() + before, text, textLength);
  std::memcpy(result.get() + before + textLength, placeholder + 2, formatLength - before - 2 + 1);
  return result;
}

std::unique_ptr<char[]> AppendQuoted(const char* options, const char* path, size_t limit) {
  size_t optionsLength = std::strlen(options);
  size_t pathLength = std::strlen(path);
  bool separator = optionsLength > 0 && options[optionsLength - 1] != ' ';
  size_t length = optionsLength + (separator ? 1 : 0) + 1 + pathLength + 1;
  if (length > limit) length = limit;
  std::unique_ptr<char[]> result(new (std::nothrow) char[length + 1]);
  if (!result) return result;
  // Written through a cursor that stops at the limit, so the cut is by bytes.
  size_t at = 0;
  auto put = [&](const char* bytes, size_t size) {
    size_t room = length - at;
    if (size > room) size = room;
    std::memcpy(result.get() + at, bytes, size);
    at += size;
  };
  put(options, optionsLength);
  if (separator) put(" ", 1);
  put("\"", 1);
  put(path, pathLength);
  put("\"", 1);
  result[at] = '\0';
  return result;
}
