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

// Half a surrogate pair spoils only the argument it is in: its byte 0xFF is no UTF-8.
TEST(CommandLineArgs, UnconvertibleUnitsSpoilOnlyTheirOwnArgument) {
  struct Case {
    std::u16string line;
    std::string utf8;
  } const cases[] = {
      {u"k /x \u30EA.dat", "k /x \xE3\x83\xAA.dat"},
      {u"\xE9 \U0001F600", "\xC3\xA9 \xF0\x9F\x98\x80"},
      {u"k /x b\xD800.dat a.dat", "k /x b\xFF.dat a.dat"},
      {u"\xDC00\xD83D", "\xFF\xFF"},
  };
  for (const Case& c : cases) {
    std::unique_ptr<char[]> utf8 = CommandLineUtf8(c.line.c_str());
    ASSERT_TRUE(utf8);
    EXPECT_EQ(std::string(utf8.get()), c.utf8);
  }
}

}  // namespace
