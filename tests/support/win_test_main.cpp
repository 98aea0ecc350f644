// Entry of every Windows test program: says which code page the system runs, which the tests
// must not depend on, ends a test that outruns its limit, and leaves the test pack's runner its
// counts and what failed.
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

#include <gtest/gtest.h>

#include "support/end_probes.h"

namespace {

wchar_t countsPath[MAX_PATH] = L"";
std::wstring ownFolder;

// "passed failed skipped" for the runner to add up, then "0 0 0 NAME" for each failed test;
// late, the test that outran its limit, among them, whether or not it had failed before.
void WriteCounts(const testing::TestInfo* late, const std::string& limit = "") {
  FILE* counts = countsPath[0] != L'\0' ? _wfopen(countsPath, L"w") : nullptr;
  if (counts == nullptr) return;
  const testing::UnitTest& run = *testing::UnitTest::GetInstance();
  int passedSoFar = late != nullptr && !late->result()->Failed() ? 1 : 0;
  std::fprintf(counts, "%d %d %d\n", run.successful_test_count() - passedSoFar,
               run.failed_test_count() + passedSoFar, run.skipped_test_count());
  for (int i = 0; i < run.total_test_suite_count(); ++i) {
    for (int j = 0; j < run.GetTestSuite(i)->total_test_count(); ++j) {
      const testing::TestInfo& test = *run.GetTestSuite(i)->GetTestInfo(j);
      if (test.result()->Failed() || &test == late)
        std::fprintf(counts, "0 0 0 %s.%s%s\n", test.test_suite_name(), test.name(),
                     &test == late ? limit.c_str() : "");
    }
  }
  std::fclose(counts);
}

// A test stuck in a dialog nobody answers would hold the whole pack: past its limit it fails by
// name and the program ends, so that the runner goes on.
struct Watchdog : testing::EmptyTestEventListener {
  static inline std::atomic<const testing::TestInfo*> running;
  static inline std::atomic<ULONGLONG> started;
  static inline DWORD limitMs;
  static inline HANDLE changed = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  void OnTestStart(const testing::TestInfo& test) override {
    started = GetTickCount64();
    running = &test;
    SetEvent(changed);
  }
  void OnTestEnd(const testing::TestInfo&) override {
    running = nullptr;
    SetEvent(changed);
  }
  // Waits for the next test to start or end, or for the running one's limit.
  static DWORD WINAPI Watch(void*) {
    for (;;) {
      const testing::TestInfo* test = running;
      ULONGLONG spent = GetTickCount64() - started;
      if (test == nullptr || spent < limitMs) {
        WaitForSingleObject(changed, test == nullptr ? INFINITE : DWORD(limitMs - spent));
        continue;
      }
      std::string limit = " (ran past " + std::to_string(limitMs / 1000) + " s)";
      std::printf("\n[  TIMEOUT ] %s.%s%s\n", test->test_suite_name(), test->name(), limit.c_str());
      std::fflush(stdout);
      WriteCounts(test, limit);
      EndProbesIn(ownFolder);
      TerminateProcess(GetCurrentProcess(), 3);
    }
  }
};

}  // namespace

int main(int argc, char** argv) {
  // No crash or missing-disk box, here or in anything the tests start: they inherit the mode.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  std::printf("ANSI code page %u\n", GetACP());
  testing::InitGoogleTest(&argc, argv);
  // Made whole now, read wide: the tests change the current folder, and the runner's folder
  // may have a name that no code page holds.
  const wchar_t* named = _wgetenv(L"KM_TEST_COUNTS");
  if (named != nullptr) GetFullPathNameW(named, MAX_PATH, countsPath, nullptr);
  ownFolder = OwnFolder();
  const wchar_t* limit = _wgetenv(L"KM_TEST_LIMIT");  // seconds
  Watchdog::limitMs = 1000 * (limit != nullptr ? _wtoi(limit) : 300);
  testing::UnitTest::GetInstance()->listeners().Append(new Watchdog);
  CloseHandle(CreateThread(nullptr, 0, Watchdog::Watch, nullptr, 0, nullptr));
  int result = RUN_ALL_TESTS();
  EndProbesIn(ownFolder);
  WriteCounts(nullptr);
  return result;
}
