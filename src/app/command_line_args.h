// The process command line split into tokens at spaces outside double quotes.
#pragma once

#include <cstdint>

class CommandLineArgs {
 public:
  explicit CommandLineArgs(const char* commandLine);
  ~CommandLineArgs();
  CommandLineArgs(const CommandLineArgs&) = delete;
  CommandLineArgs& operator=(const CommandLineArgs&) = delete;

  int32_t count = 0;
  char** items = nullptr;  // count heap strings, never empty; null when count is 0
};
