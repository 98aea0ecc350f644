// The command-line splitting rules, case by case.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/command_line_args.h"

namespace {

std::vector<std::string> Split(const char* line) {
  CommandLineArgs args(line);
  std::vector<std::string> tokens;
  for (int32_t i = 0; i < args.count; ++i) tokens.emplace_back(args.items[i]);
  if (args.count == 0) {
    EXPECT_EQ(args.items, nullptr);
  }
  return tokens;
}

TEST(CommandLineArgs, SplitsByTheRules) {
  struct Case {
    const char* line;
    std::vector<std::string> tokens;
  } cases[] = {
      {"", {}},
      {"   ", {}},
      {"kmlaunch.exe", {"kmlaunch.exe"}},
      {"a  b   c", {"a", "b", "c"}},
      {"\"C:\\Program Files\\k.exe\" /x \"D:\\my lists\\a.dat\"",
       {"C:\\Program Files\\k.exe", "/x", "D:\\my lists\\a.dat"}},
      {"pq\"rs tu\"", {"pq\"rs tu"}},  // a quote inside a token stays in it
      {"\"p q\"r", {"p q", "r"}},      // the closing quote ends the token
      {"a \"\" b", {"a", "b"}},        // an empty argument is dropped
      {"\" \"", {" "}},                // a single quoted space is a token
      {"a \"open to the end", {"a", "open to the end"}},
      {"tok\"\" next", {"tok\"", "next"}},  // first of two quotes stays, second ends it
      {"tok\"", {"tok\""}},                 // a lone quote at the very end stays
      {"tab\there", {"tab\there"}},         // tabs are ordinary bytes
      {"100% %PATH%", {"100%", "%PATH%"}},
      {"\x83\x5C\x95\x5C \x83\x5C", {"\x83\x5C\x95\x5C", "\x83\x5C"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(Split(c.line), c.tokens);
  }
}

TEST(CommandLineArgs, LeavesTheCallersTextAlone) {
  char line[] = "a \"b c\" d";
  std::string before = line;
  CommandLineArgs args(line);
  EXPECT_EQ(args.count, 3);
  EXPECT_EQ(std::string(line), before);
}

}  // namespace
