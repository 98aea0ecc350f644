// The program's allocations go straight to the process heap. The C++ runtime's own operators
// bring its exception machinery, and with it the symbol demangler, into a program built
// without exceptions: most of what the program would weigh.
#include <windows.h>

#include <cstdlib>
#include <new>

namespace {

void* Take(size_t size) { return HeapAlloc(GetProcessHeap(), 0, size != 0 ? size : 1); }

// Where the runtime would throw, and with no handler end the program, it ends at once.
void* TakeOrEnd(size_t size) {
  void* block = Take(size);
  if (block == nullptr) abort();
  return block;
}

void Give(void* block) {
  if (block != nullptr) HeapFree(GetProcessHeap(), 0, block);
}

}  // namespace

void* operator new(size_t size) { return TakeOrEnd(size); }
void* operator new[](size_t size) { return TakeOrEnd(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept { return Take(size); }
void* operator new[](size_t size, const std::nothrow_t&) noexcept { return Take(size); }
void operator delete(void* block) noexcept { Give(block); }
void operator delete[](void* block) noexcept { Give(block); }
void operator delete(void* block, size_t) noexcept { Give(block); }
void operator delete[](void* block, size_t) noexcept { Give(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { Give(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { Give(block); }
