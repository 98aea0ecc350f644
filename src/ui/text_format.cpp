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

namespace {

// Lead bytes of code page 932's double-byte characters.
bool IsLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

}  // namespace

size_t FittingLength(const char* text, size_t length, size_t limit) {
  size_t at = 0;
  while (at < length) {
    size_t step = IsLeadByte(static_cast<unsigned char>(text[at])) ? 2 : 1;
    // A lead byte with nothing after it is half a character too.
    if (at + step > limit || at + step > length) break;
    at += step;
  }
  return at;
}

std::unique_ptr<char[]> AppendQuoted(const char* options, const char* path, size_t limit) {
  size_t optionsLength = std::strlen(options);
  size_t pathLength = std::strlen(path);
  bool separator = optionsLength > 0 && options[optionsLength - 1] != ' ';
  size_t length = optionsLength + (separator ? 1 : 0) + 1 + pathLength + 1;
  std::unique_ptr<char[]> result(new (std::nothrow) char[length + 1]);
  if (!result) return result;
  char* at = result.get();
  auto put = [&at](const char* bytes, size_t size) {
    std::memcpy(at, bytes, size);
    at += size;
  };
  put(options, optionsLength);
  if (separator) put(" ", 1);
  put("\"", 1);
  put(path, pathLength);
  put("\"", 1);
  // Cut at a character boundary: half a character would be stored as garbage.
  result[FittingLength(result.get(), length, limit)] = '\0';
  return result;
}
