// Entry of every Windows test program: refuse to run unless texts are code page 932.
#include <windows.h>

#include <cstdio>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  UINT codePage = GetACP();
  if (codePage != 932) {
    std::fprintf(stderr,
                 "FATAL: the ANSI code page is %u, not 932. Run under Wine with "
                 "LC_ALL=ja_JP.UTF-8 (a generated ja_JP.UTF-8 locale).\n",
                 codePage);
    return 1;
  }
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
