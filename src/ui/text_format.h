// Message and caption texts built without any window call, so they also run natively.
#pragma once

#include <cstddef>
#include <memory>

// The format with its one "%s" replaced by text, in a block of exactly the needed size.
// Unlike wsprintfA this never stops at 1024 bytes, and a '%' in text stays as it is.
std::unique_ptr<char[]> FormatWithText(const char* format, const char* text);

// The length of the longest start of text (length bytes of code page 932) that fits in limit
// bytes and does not end in the first half of a double-byte character.
size_t FittingLength(const char* text, size_t length, size_t limit);

// The options text with path appended in double quotes: no separator after an empty text or a
// trailing space, one space otherwise; cut to the longest start that fits in limit bytes.
std::unique_ptr<char[]> AppendQuoted(const char* options, const char* path, size_t limit);
