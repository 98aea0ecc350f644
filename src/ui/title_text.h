// The name part of a list file path, as the window caption shows it; no window calls.
#pragma once

#include <cstddef>

// Where the shown name begins in path: after the last separator whose prefix (up to and with
// that separator) isFolder accepts, else 0. A second byte of a double-byte character that
// equals '\\' is tried like a real separator; only the folder test tells them apart.
size_t TitleNameStart(const char* path, bool (*isFolder)(const char* prefix, void* context),
                      void* context);
