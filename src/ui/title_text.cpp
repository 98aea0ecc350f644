// The caption's name part, searched byte by byte from the end of the path.
#include "ui/title_text.h"

#include <cstring>
#include <memory>
#include <new>

size_t TitleNameStart(const char* path, bool (*isFolder)(const char* prefix, void* context),
                      void* context) {
  size_t length = std::strlen(path);
  std::unique_ptr<char[]> buffer(new (std::nothrow) char[length + 1]);
  if (!buffer) return 0;
  std::memcpy(buffer.get(), path, length + 1);
  for (size_t i = length; i >= 1; --i) {
    char separator = buffer[i - 1];
    if (separator != '\\' && separator != '/') continue;
    char cut = buffer[i];
    buffer[i] = '\0';
    bool folder = isFolder(buffer.get(), context);
    buffer[i] = cut;
    if (folder) return i;
  }
  return 0;
}
