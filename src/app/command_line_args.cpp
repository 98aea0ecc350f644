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

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

std::unique_ptr<char[]> CommandLineUtf8(const char16_t* text) {
  size_t units = 0;
  while (text[units] != 0) ++units;
  // At most three bytes for each unit: a pair of units makes four.
  std::unique_ptr<char[]> utf8(new (std::nothrow) char[3 * units + 1]);
  if (!utf8) return utf8;
  auto* out = reinterpret_cast<unsigned char*>(utf8.get());
  for (size_t i = 0; i < units; ++i) {
    char32_t code = text[i];
    if (IsHighSurrogate(text[i]) && IsLowSurrogate(text[i + 1])) {
      code = 0x10000 + ((code - 0xD800) << 10) + (text[++i] - 0xDC00);
    } else if (IsHighSurrogate(text[i]) || IsLowSurrogate(text[i])) {
      *out++ = 0xFF;
      continue;
    }
    if (code < 0x80) {
      *out++ = static_cast<unsigned char>(code);
    } else if (code < 0x800) {
      *out++ = static_cast<unsigned char>(0xC0 | (code >> 6));
      *out++ = static_cast<unsigned char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      *out++ = static_cast<unsigned char>(0xE0 | (code >> 12));
      *out++ = static_cast<unsigned char>(0x80 | ((code >> 6) & 0x3F));
      *out++ = static_cast<unsigned char>(0x80 | (code & 0x3F));
    } else {
      *out++ = static_cast<unsigned char>(0xF0 | (code >> 18));
      *out++ = static_cast<unsigned char>(0x80 | ((code >> 12) & 0x3F));
      *out++ = static_cast<unsigned char>(0x80 | ((code >> 6) & 0x3F));
      *out++ = static_cast<unsigned char>(0x80 | (code & 0x3F));
    }
  }
  *out = 0;
  return utf8;
}

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
