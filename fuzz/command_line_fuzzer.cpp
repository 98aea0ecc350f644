// Arbitrary command lines: no token is empty, tokens appear in order in the line, and every
// byte outside them is a space or a double quote.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/command_line_args.h"

namespace {

bool OnlySeparators(const std::string& text, size_t from, size_t to) {
  for (size_t i = from; i < to; ++i) {
    if (text[i] != ' ' && text[i] != '"') return false;
  }
  return true;
}

void Fail(const char* what) {
  std::fprintf(stderr, "command line fuzzer: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string line(reinterpret_cast<const char*>(data), size);
  line = line.substr(0, line.find('\0'));  // the process sees text up to its NUL
  CommandLineArgs args(line.c_str());
  if ((args.count == 0) != (args.items == nullptr)) Fail("count and items disagree");
  size_t cursor = 0;
  for (int32_t i = 0; i < args.count; ++i) {
    std::string token = args.items[i];
    if (token.empty()) Fail("an empty token");
    // The nearest place the token can stand with only separators skipped before it.
    size_t at = line.find(token, cursor);
    while (at != std::string::npos && !OnlySeparators(line, cursor, at)) at = std::string::npos;
    if (at == std::string::npos) Fail("a token that is not the next part of the line");
    cursor = at + token.size();
  }
  if (!OnlySeparators(line, cursor, line.size())) Fail("bytes lost after the last token");
  return 0;
}
