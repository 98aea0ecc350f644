// One pointer-sized value for each thread, kept by Windows. The compiler's thread_local would
// bring a whole threads library into the program for two counters.
#pragma once

#include <windows.h>

class ThreadSlot {
 public:
  // Namespace-scope slots are made before any second thread exists.
  ThreadSlot() : index_(TlsAlloc()) {}
  ThreadSlot(const ThreadSlot&) = delete;
  ThreadSlot& operator=(const ThreadSlot&) = delete;

  void* Get() const { return TlsGetValue(index_); }
  void Set(void* value) const { TlsSetValue(index_, value); }

 private:
  DWORD index_;
};
