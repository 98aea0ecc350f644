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
