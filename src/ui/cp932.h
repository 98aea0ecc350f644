// The list keeps its texts in code page 932 and Windows takes UTF-16: every conversion between
// them is made here, with the code page named, so nothing depends on the system's code page.
#pragma once

#include <cstddef>
#include <memory>

namespace cp932 {

// The UTF-16 form of a code page 932 text, exactly sized; null when memory runs out.
std::unique_ptr<wchar_t[]> ToWide(const char* text);

// The UTF-16 form of text into buffer of size units, NUL-terminated; its length without the NUL,
// or an empty text when it does not fit.
size_t ToWideInto(const char* text, wchar_t* buffer, size_t size);

// The code page 932 form of length units of text, NUL-terminated, its byte count in *bytes; null
// when a character has no code page 932 form (it is never stored as '?' or a look-alike) or
// memory runs out.
std::unique_ptr<char[]> FromWide(const wchar_t* text, size_t length, size_t* bytes);

// The bytes length units of text take in code page 932; a character it lacks counts one.
size_t ByteLength(const wchar_t* text, size_t length);

// The length of the longest start of text whose code page 932 form fits in limit bytes, never
// between the two halves of a surrogate pair.
size_t FittingLength(const wchar_t* text, size_t length, size_t limit);

}  // namespace cp932
