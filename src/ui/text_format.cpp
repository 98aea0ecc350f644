// Text building for messages and captions.
#include "ui/text_format.h"

#include <cstring>
#include <new>
#include <string_view>

template <typename Char>
std::unique_ptr<Char[]> FormatWithText(const Char* format, const Char* text) {
  const Char kPlaceholder[] = {'%', 's', '\0'};
  std::basic_string_view<Char> whole(format);
  size_t found = whole.find(kPlaceholder);
  const Char* placeholder = found == whole.npos ? nullptr : format + found;
  size_t formatLength = whole.size();
  size_t textLength = placeholder != nullptr ? std::char_traits<Char>::length(text) : 0;
  size_t size = formatLength - (placeholder != nullptr ? 2 : 0) + textLength + 1;
  std::unique_ptr<Char[]> result(new (std::nothrow) Char[size]);
  if (!result) return result;
  if (placeholder == nullptr) {
    std::memcpy(result.get(), format, (formatLength + 1) * sizeof(Char));
    return result;
  }
  size_t before = static_cast<size_t>(placeholder - format);
  std::memcpy(result.get(), format, before * sizeof(Char));
  std::memcpy(result.get() + before, text, textLength * sizeof(Char));
  std::memcpy(result.get() + before + textLength, placeholder + 2,
              (formatLength - before - 2 + 1) * sizeof(Char));
  return result;
}

template std::unique_ptr<char[]> FormatWithText(const char*, const char*);
template std::unique_ptr<wchar_t[]> FormatWithText(const wchar_t*, const wchar_t*);

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

template <typename Char>
std::unique_ptr<Char[]> AppendQuoted(const Char* options, const Char* path, size_t limit,
                                     FittingFunction<Char> fitting) {
  size_t optionsLength = std::char_traits<Char>::length(options);
  size_t pathLength = std::char_traits<Char>::length(path);
  bool separator = optionsLength > 0 && options[optionsLength - 1] != ' ';
  size_t length = optionsLength + (separator ? 1 : 0) + 1 + pathLength + 1;
  std::unique_ptr<Char[]> result(new (std::nothrow) Char[length + 1]);
  if (!result) return result;
  Char* at = result.get();
  auto put = [&at](const Char* text, size_t size) {
    std::memcpy(at, text, size * sizeof(Char));
    at += size;
  };
  const Char kSpace = ' ';
  const Char kQuote = '"';
  put(options, optionsLength);
  if (separator) put(&kSpace, 1);
  put(&kQuote, 1);
  put(path, pathLength);
  put(&kQuote, 1);
  // A cut path would name another file, or leave its quote open: all of it or nothing.
  if (fitting(result.get(), length, limit) != length) return nullptr;
  result[length] = '\0';
  return result;
}

template std::unique_ptr<char[]> AppendQuoted(const char*, const char*, size_t,
                                              FittingFunction<char>);
template std::unique_ptr<wchar_t[]> AppendQuoted(const wchar_t*, const wchar_t*, size_t,
                                                 FittingFunction<wchar_t>);
