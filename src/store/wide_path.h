// Paths are UTF-8 in the store, so that a file name no code page holds still opens; Windows takes
// them as UTF-16. Windows only.
#pragma once

#include <memory>

// The UTF-16 form of a UTF-8 path, in a block of exactly its size; null for bytes that are not
// UTF-8 or when memory runs out.
std::unique_ptr<wchar_t[]> WidePath(const char* path);

// The UTF-8 form of a UTF-16 path; null for half a surrogate pair or when memory runs out.
std::unique_ptr<char[]> Utf8Path(const wchar_t* path);
