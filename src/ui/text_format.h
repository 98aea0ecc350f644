// Message and caption texts built without any window call, so they also run natively.
#pragma once

#include <memory>

// The format with its one "%s" replaced by text, in a block of exactly the needed size.
// Unlike wsprintfA this never stops at 1024 bytes, and a '%' in text stays as it is.
std::unique_ptr<char[]> FormatWithText(const char* format, const char* text);

// The options text with path appended in double quotes: no separator after an empty text or a
// trailing space, one space otherwise; cut to its first limit bytes.
std::unique_ptr<char[]> AppendQuoted(const char* options, const char* path, size_t limit);
