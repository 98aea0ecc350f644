// Message and caption texts built without any window call, so they also run natively.
#pragma once

#include <cstddef>
#include <memory>

// The format with its one "%s" replaced by text, in a block of exactly the needed size.
// Unlike wsprintf this never stops at 1024 characters, and a '%' in text stays as it is.
// For narrow and wide texts alike.
template <typename Char>
std::unique_ptr<Char[]> FormatWithText(const Char* format, const Char* text);

// The length of the longest start of text (length bytes of code page 932) that fits in limit
// bytes and does not end in the first half of a double-byte character.
size_t FittingLength(const char* text, size_t length, size_t limit);

// How much of a text fits a limit: FittingLength for code page 932, its UTF-16 counterpart.
template <typename Char>
using FittingFunction = size_t (*)(const Char* text, size_t length, size_t limit);

// The options text with path appended in double quotes: no separator after an empty text or a
// trailing space, one space otherwise; null when the whole of it does not fit in limit.
template <typename Char>
std::unique_ptr<Char[]> AppendQuoted(const Char* options, const Char* path, size_t limit,
                                     FittingFunction<Char> fitting);
