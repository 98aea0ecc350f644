// Entry of every Windows test program: says which code page the system runs, which the tests
// must not depend on.
#include <windows.h>

#include <cstdio>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  std::printf("ANSI code page %u\n", GetACP());
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
