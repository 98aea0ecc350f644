// Entry of every Windows test program: says which code page the system runs, which the tests
// must not depend on, and leaves the test pack's runner its counts and what failed.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>

#include <gtest/gtest.h>

#include "support/end_probes.h"

int main(int argc, char** argv) {
  std::printf("ANSI code page %u\n", GetACP());
  testing::InitGoogleTest(&argc, argv);
  // Made whole now, read wide: the tests change the current folder, and the runner's folder
  // may have a name that no code page holds.
  wchar_t path[MAX_PATH] = L"";
  const wchar_t* named = _wgetenv(L"KM_TEST_COUNTS");
  if (named != nullptr) GetFullPathNameW(named, MAX_PATH, path, nullptr);
  int result = RUN_ALL_TESTS();
  wchar_t self[MAX_PATH] = L"";
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  *wcsrchr(self, L'\\') = L'\0';
  EndProbesIn(self);
  // "passed failed skipped" for the runner to add up, then "0 0 0 NAME" for each failed test.
  FILE* counts = path[0] != L'\0' ? _wfopen(path, L"w") : nullptr;
  if (counts != nullptr) {
    const testing::UnitTest& run = *testing::UnitTest::GetInstance();
    std::fprintf(counts, "%d %d %d\n", run.successful_test_count(), run.failed_test_count(),
                 run.skipped_test_count());
    for (int i = 0; i < run.total_test_suite_count(); ++i) {
      for (int j = 0; j < run.GetTestSuite(i)->total_test_count(); ++j) {
        const testing::TestInfo& test = *run.GetTestSuite(i)->GetTestInfo(j);
        if (test.result()->Failed())
          std::fprintf(counts, "0 0 0 %s.%s\n", test.test_suite_name(), test.name());
      }
    }
    std::fclose(counts);
  }
  return result;
}
