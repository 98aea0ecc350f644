// Splitting: only the space and the double quote are special; every other byte, both bytes of a
// double-byte character included, belongs to a token.
#include "app/command_line_args.h"

#include <cstring>
#include <new>

namespace {

// One pass over the text; calls found(begin, length) for each token in order.
template <typename Found>
void Scan(const char* text, Found found) {
  bool quoted = false;
  const char* begin = nullptr;
  for (const char* p = text;; ++p) {
    char c = *p;
    if (c == '\0') {
      if (begin != nullptr) found(begin, static_cast<size_t>(p - begin));
      return;
    }
    if (begin == nullptr) {
      if (c == '"') {
        quoted = !quoted;
      } else if (c != ' ' || quoted) {
        begin = p;
      }
      continue;
    }
    if ((c == ' ' && !quoted) || (c == '"' && quoted)) {
      found(begin, static_cast<size_t>(p - begin));
      begin = nullptr;
      quoted = false;
    } else if (c == '"') {
      quoted = true;  // a quote that opens inside a token stays in it
    }
  }
}

}  // namespace

CommandLineArgs::CommandLineArgs(const char* commandLine) {
  size_t length = std::strlen(commandLine);
  char* copy = new (std::nothrow) char[length + 1];
  if (copy == nullptr) return;
  std::memcpy(copy, commandLine, length + 1);

  int32_t tokens = 0;
  Scan(copy, [&tokens](const char*, size_t) { ++tokens; });
  if (tokens > 0) items = new (std::nothrow) char*[tokens];
  if (items != nullptr) {
    Scan(copy, [this](const char* begin, size_t size) {
      char* token = new (std::nothrow) char[size + 1];
      if (token == nullptr) return;
      std::memcpy(token, begin, size);
      token[size] = '\0';
      items[count++] = token;
    });
  }
  delete[] copy;
}

CommandLineArgs::~CommandLineArgs() {
  for (int32_t i = 0; i < count; ++i) delete[] items[i];
  delete[] items;
}
