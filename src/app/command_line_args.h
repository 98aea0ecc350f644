// The process command line split into tokens at spaces outside double quotes.
#pragma once

#include <cstdint>
#include <memory>

// The UTF-8 form of a UTF-16 command line. Half a surrogate pair becomes the byte 0xFF, which no
// UTF-8 text holds: the one argument it is in then names no file, and the others stay whole.
std::unique_ptr<char[]> CommandLineUtf8(const char16_t* text);

class CommandLineArgs {
 public:
  explicit CommandLineArgs(const char* commandLine);
  ~CommandLineArgs();
  CommandLineArgs(const CommandLineArgs&) = delete;
  CommandLineArgs& operator=(const CommandLineArgs&) = delete;

  int32_t count = 0;
  char** items = nullptr;  // count heap strings, never empty; null when count is 0
};
