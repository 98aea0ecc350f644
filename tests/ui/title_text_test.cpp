// The caption's name part: the longest existing folder prefix is left out.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "ui/text_format.h"
#include "ui/title_text.h"

namespace {

struct Folders {
  std::set<std::string> existing;
  std::vector<std::string> asked;
};

bool IsFolder(const char* prefix, void* context) {
  auto* folders = static_cast<Folders*>(context);
  folders->asked.emplace_back(prefix);
  return folders->existing.count(prefix) > 0;
}

TEST(TitleText, NameStartsAfterTheDeepestExistingFolder) {
  struct Case {
    const char* path;
    std::set<std::string> existing;
    std::string shown;
  } cases[] = {
      {"D:\\tools\\list.dat", {"D:\\", "D:\\tools\\"}, "list.dat"},
      {"D:\\tools\\list.dat", {"D:\\"}, "tools\\list.dat"},
      {"D:\\tools\\list.dat", {}, "D:\\tools\\list.dat"},
      {"list.dat", {"anything"}, "list.dat"},
      {"a/b/c.dat", {"a/"}, "b/c.dat"},
      {"C:\\dir\\", {"C:\\dir\\"}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    Folders folders{c.existing, {}};
    EXPECT_EQ(std::string(c.path + TitleNameStart(c.path, IsFolder, &folders)), c.shown);
  }
}

TEST(TitleText, SecondByteBackslashIsTriedAndRejectedByTheFolderTest) {
  // "ソ" is 83 5C: its second byte looks like a separator.
  const char path[] = "C:\\\x83\x5C.dat";
  Folders folders{{"C:\\"}, {}};
  EXPECT_STREQ(path + TitleNameStart(path, IsFolder, &folders), "\x83\x5C.dat");
  EXPECT_EQ(folders.asked, (std::vector<std::string>{"C:\\\x83\x5C", "C:\\"}));
}

TEST(TextFormat, PutsTheTextInVerbatimAtAnyLength) {
  std::string longName(3000, 'n');
  longName += "%d%s";
  auto text = FormatWithText("[%s]", longName.c_str());
  EXPECT_EQ(std::string(text.get()), "[" + longName + "]");
  EXPECT_STREQ(FormatWithText("\"%s\"", "").get(), "\"\"");
  EXPECT_STREQ(FormatWithText("no placeholder", "x").get(), "no placeholder");
}

}  // namespace

namespace {

TEST(TextFormat, AppendQuotedSeparatesOnlyWhenNeededAndGoesInWholeOrNotAtAll) {
  struct Case {
    std::string options;
    const char* path;
    std::string expected;  // empty: refused
  } cases[] = {
      {"", "C:\\a b", "\"C:\\a b\""},
      {"-x", "p", "-x \"p\""},
      {"-x ", "p", "-x \"p\""},
      {"-x\t", "p", "-x\t \"p\""},
      {std::string(4088, 'o'), "C:\\l", std::string(4088, 'o') + " \"C:\\l\""},
      {std::string(4089, 'o'), "C:\\l", ""},
      {std::string(4095, 'o'), "p", ""},
      // The closing quote of a path ending in a double-byte character goes in with it, or neither.
      {std::string(4090, 'o'), "\x82\xA0", std::string(4090, 'o') + " \"\x82\xA0\""},
      {std::string(4091, 'o'), "\x82\xA0", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.options.size());
    std::unique_ptr<char[]> text = AppendQuoted(c.options.c_str(), c.path, 4095, FittingLength);
    EXPECT_EQ(text ? std::string(text.get()) : std::string(), c.expected);
  }
}

}  // namespace

namespace {

TEST(TextFormat, FittingLengthNeverEndsInHalfACharacter) {
  // "あ" is 82 A0, "ソ" 83 5C (its second byte a backslash), "ｱ" the single byte B1.
  struct Case {
    const char* what;
    std::string text;
    size_t limit;
    size_t expected;
  } cases[] = {
      {"fits whole", "a\x82\xA0", 3, 3},
      {"cut before a character that does not fit", "a\x82\xA0", 2, 1},
      {"second byte a backslash", "\x83\x5C\x83\x5C", 3, 2},
      {"single-byte katakana is one byte", "\xB1\xB1\xB1", 2, 2},
      {"lead byte with nothing after it", "ab\x82", 10, 2},
      {"empty", "", 5, 0},
      {"limit 0", "abc", 0, 0},
      {"140 double-byte characters into 255 bytes", std::string(140 * 2, '\x82'), 255, 254},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(FittingLength(c.text.data(), c.text.size(), c.limit), c.expected);
  }
}

}  // namespace
