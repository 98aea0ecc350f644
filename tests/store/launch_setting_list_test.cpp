// The list operations: refusals change nothing, links stay whole, modified tracks changes.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "store/launch_setting_list.h"
#include "support/test_folder.h"

namespace {

std::vector<std::string> NamesOf(const LaunchSettingList& list) {
  std::vector<std::string> names;
  for (const LaunchSettingNode* node = list.head(); node != nullptr; node = node->next) {
    names.emplace_back(node->setting.name);
  }
  return names;
}

// Appends the given names in order.
void Fill(LaunchSettingList* list, std::initializer_list<const char*> names) {
  for (const char* name : names) ASSERT_TRUE(list->Put(-1, MakeSetting(name)));
}

// A save is the way to hold records with modified false.
void MarkSaved(LaunchSettingList* list, const TestFolder& folder) {
  ASSERT_TRUE(list->SaveToFile(folder.Path("saved.dat").c_str(), kListFileSignature));
  ASSERT_FALSE(list->modified());
}

TEST(LaunchSettingList, StartsEmptyWithCapacityThirty) {
  LaunchSettingList list;
  EXPECT_EQ(list.count(), 0);
  EXPECT_EQ(list.capacity(), 30);
  EXPECT_EQ(list.head(), nullptr);
  EXPECT_EQ(list.tail(), nullptr);
  EXPECT_STREQ(list.filePath(), "");
  EXPECT_FALSE(list.modified());
}

TEST(LaunchSettingList, PutReplacesInRangeAndAppendsOtherwise) {
  LaunchSettingList list;
  Fill(&list, {"a", "b", "c"});
  ASSERT_TRUE(list.Put(7, MakeSetting("beyond")));
  EXPECT_EQ(NamesOf(list), (std::vector<std::string>{"a", "b", "c", "beyond"}));
  ASSERT_TRUE(list.Put(1, MakeSetting("B")));
  EXPECT_EQ(NamesOf(list), (std::vector<std::string>{"a", "B", "c", "beyond"}));
  EXPECT_EQ(BrokenInvariant(list), "");
}

TEST(LaunchSettingList, FullListRefusesAppendButStillReplaces) {
  LaunchSettingList list;
  for (int i = 0; i < 30; ++i) ASSERT_TRUE(list.Put(-1, MakeSetting(std::to_string(i).c_str())));
  EXPECT_FALSE(list.Put(-1, MakeSetting("extra")));
  EXPECT_FALSE(list.Put(30, MakeSetting("extra")));
  EXPECT_FALSE(list.InsertAfter(3, MakeSetting("extra")));
  EXPECT_EQ(list.count(), 30);
  ASSERT_TRUE(list.Put(29, MakeSetting("last")));
  EXPECT_EQ(NamesOf(list).back(), "last");
  EXPECT_EQ(BrokenInvariant(list), "");
}

TEST(LaunchSettingList, RecordCheckRefusalsChangeNothing) {
  struct Case {
    const char* what;
    void (*spoil)(LaunchSetting*);
  } cases[] = {
      {"empty name", [](LaunchSetting* s) { s->name[0] = '\0'; }},
      {"empty path", [](LaunchSetting* s) { s->path[0] = '\0'; }},
      {"window state 3", [](LaunchSetting* s) { s->windowState = 3; }},
      {"window state -1", [](LaunchSetting* s) { s->windowState = -1; }},
      {"name without NUL", [](LaunchSetting* s) { std::memset(s->name, 'n', sizeof s->name); }},
      {"path without NUL", [](LaunchSetting* s) { std::memset(s->path, 'p', sizeof s->path); }},
      {"options without NUL",
       [](LaunchSetting* s) { std::memset(s->options, 'o', sizeof s->options); }},
  };
  for (bool modifiedBefore : {false, true}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.what) + (modifiedBefore ? ", modified" : ", saved"));
      TestFolder folder;
      LaunchSettingList list;
      Fill(&list, {"a", "b"});
      if (!modifiedBefore) MarkSaved(&list, folder);
      bool modified = list.modified();
      std::vector<Bytes> before = RecordsOf(list);
      LaunchSetting bad = MakeSetting("x");
      c.spoil(&bad);
      EXPECT_FALSE(list.Put(-1, bad));
      EXPECT_FALSE(list.Put(0, bad));
      EXPECT_FALSE(list.InsertAfter(0, bad));
      EXPECT_EQ(RecordsOf(list), before);
      EXPECT_EQ(list.modified(), modified);
    }
  }
}

TEST(LaunchSettingList, LongestTextsAreAccepted) {
  LaunchSetting setting = MakeSetting("x");
  std::memset(setting.name, 'n', 255);
  std::memset(setting.path, 'p', 1023);
  std::memset(setting.options, 'o', 4095);
  LaunchSettingList list;
  EXPECT_TRUE(list.Put(-1, setting));
  EXPECT_TRUE(list.InsertAfter(0, setting));
  EXPECT_EQ(list.count(), 2);
}

TEST(LaunchSettingList, EnabledAndFillerTakeNoPartInTheCheckAndAreKept) {
  LaunchSetting setting = MakeSetting("x", "p", "o");
  setting.enabled = 0xA5;
  setting.filler[0] = 1;
  setting.filler[2] = 0xFF;
  setting.name[200] = 'z';  // after the NUL
  setting.options[4095] = 'q';
  LaunchSettingList list;
  ASSERT_TRUE(list.Put(-1, setting));
  LaunchSetting copy;
  std::memset(&copy, 0x11, sizeof copy);
  ASSERT_TRUE(list.Get(0, &copy));
  EXPECT_EQ(std::memcmp(&copy, &setting, sizeof copy), 0);
}

TEST(LaunchSettingList, GetOutOfRangeLeavesDestinationAlone) {
  LaunchSettingList list;
  Fill(&list, {"a"});
  for (int32_t index : {-1, 1, 100}) {
    SCOPED_TRACE(index);
    LaunchSetting destination;
    std::memset(&destination, 0x5A, sizeof destination);
    LaunchSetting untouched = destination;
    EXPECT_FALSE(list.Get(index, &destination));
    EXPECT_EQ(std::memcmp(&destination, &untouched, sizeof destination), 0);
  }
}

TEST(LaunchSettingList, MoveUpRefusalsKeepModified) {
  TestFolder folder;
  LaunchSettingList list;
  Fill(&list, {"a", "b", "c"});
  MarkSaved(&list, folder);
  for (int32_t index : {0, 3, -1, 99}) {
    SCOPED_TRACE(index);
    EXPECT_FALSE(list.MoveUp(index));
    EXPECT_FALSE(list.modified());
  }
  EXPECT_EQ(NamesOf(list), (std::vector<std::string>{"a", "b", "c"}));
}

TEST(LaunchSettingList, MoveUpRelinksAtEveryPosition) {
  struct Case {
    std::initializer_list<const char*> names;
    int32_t index;
    std::vector<std::string> expected;
  } cases[] = {
      {{"a", "b"}, 1, {"b", "a"}},
      {{"a", "b", "c", "d", "e"}, 4, {"a", "b", "c", "e", "d"}},
      {{"a", "b", "c", "d", "e"}, 1, {"b", "a", "c", "d", "e"}},
      {{"a", "b", "c", "d", "e"}, 2, {"a", "c", "b", "d", "e"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index);
    LaunchSettingList list;
    Fill(&list, c.names);
    const LaunchSettingNode* moved = list.head();
    for (int32_t i = 0; i < c.index; ++i) moved = moved->next;
    ASSERT_TRUE(list.MoveUp(c.index));
    EXPECT_EQ(NamesOf(list), c.expected);
    EXPECT_EQ(BrokenInvariant(list), "");
    EXPECT_TRUE(list.modified());
    // Nodes are relinked, not copied: the moved node is the same block one place higher.
    const LaunchSettingNode* now = list.head();
    for (int32_t i = 0; i < c.index - 1; ++i) now = now->next;
    EXPECT_EQ(now, moved);
  }
}

TEST(LaunchSettingList, InsertAfterPlacesTheRecordOneBelow) {
  LaunchSettingList list;
  Fill(&list, {"a", "b", "c", "d", "e"});
  ASSERT_TRUE(list.InsertAfter(0, MakeSetting("new")));
  EXPECT_EQ(NamesOf(list), (std::vector<std::string>{"a", "new", "b", "c", "d", "e"}));
  ASSERT_TRUE(list.InsertAfter(5, MakeSetting("end")));
  EXPECT_EQ(NamesOf(list), (std::vector<std::string>{"a", "new", "b", "c", "d", "e", "end"}));
  EXPECT_EQ(BrokenInvariant(list), "");
}

TEST(LaunchSettingList, InsertAfterRefusesEmptyListAndBadIndexes) {
  LaunchSettingList empty;
  EXPECT_FALSE(empty.InsertAfter(0, MakeSetting("x")));
  EXPECT_FALSE(empty.InsertAfter(-1, MakeSetting("x")));
  EXPECT_FALSE(empty.modified());
  LaunchSettingList list;
  Fill(&list, {"a", "b"});
  EXPECT_FALSE(list.InsertAfter(-1, MakeSetting("x")));
  EXPECT_FALSE(list.InsertAfter(2, MakeSetting("x")));
  EXPECT_EQ(NamesOf(list), (std::vector<std::string>{"a", "b"}));
}

TEST(LaunchSettingList, RemoveUnlinksHeadMiddleTailAndOnly) {
  LaunchSettingList list;
  Fill(&list, {"a", "b", "c", "d"});
  ASSERT_TRUE(list.Remove(1));
  EXPECT_EQ(NamesOf(list), (std::vector<std::string>{"a", "c", "d"}));
  ASSERT_TRUE(list.Remove(2));
  EXPECT_EQ(NamesOf(list), (std::vector<std::string>{"a", "c"}));
  ASSERT_TRUE(list.Remove(0));
  EXPECT_EQ(NamesOf(list), (std::vector<std::string>{"c"}));
  EXPECT_EQ(BrokenInvariant(list), "");
  EXPECT_FALSE(list.Remove(1));
  EXPECT_FALSE(list.Remove(-1));
  ASSERT_TRUE(list.Remove(0));
  EXPECT_EQ(list.head(), nullptr);
  EXPECT_EQ(list.tail(), nullptr);
  EXPECT_EQ(list.count(), 0);
  EXPECT_TRUE(list.modified());
}

TEST(LaunchSettingList, ClearEmptiesButKeepsCapacity) {
  TestFolder folder;
  std::string path = folder.Path("seven.dat");
  {
    // A file whose header carries capacity 7.
    Bytes file(kListFileSignature, kListFileSignature + 17);
    Bytes header = {0, 0, 0, 0, 7, 0, 0, 0};
    file.insert(file.end(), header.begin(), header.end());
    WriteBytes(path, file);
  }
  LaunchSettingList list;
  ASSERT_TRUE(list.LoadFromFile(path.c_str(), kListFileSignature, true));
  Fill(&list, {"a"});
  ASSERT_TRUE(list.Clear());
  EXPECT_EQ(list.capacity(), 7);
  EXPECT_EQ(list.count(), 0);
  EXPECT_STREQ(list.filePath(), "");
  EXPECT_FALSE(list.modified());
}

// A long random run of every operation against a plain vector that behaves as the list should.
TEST(LaunchSettingList, AgreesWithASimpleModelOverRandomOperations) {
  std::mt19937 random(20261207);
  LaunchSettingList list;
  std::vector<std::string> model;
  bool modified = false;
  int serial = 0;
  for (int step = 0; step < 20000; ++step) {
    SCOPED_TRACE(step);
    int32_t size = static_cast<int32_t>(model.size());
    int32_t index = static_cast<int32_t>(random() % 36) - 2;
    std::string name = "n" + std::to_string(serial++);
    bool inRange = index >= 0 && index < size;
    switch (random() % 6) {
      case 0: {
        bool fits = inRange || size < 30;
        EXPECT_EQ(list.Put(index, MakeSetting(name.c_str())), fits);
        if (inRange) {
          model[index] = name;
        } else if (fits) {
          model.push_back(name);
        }
        modified |= fits;
        break;
      }
      case 1:
        EXPECT_EQ(list.Remove(index), inRange);
        if (inRange) model.erase(model.begin() + index);
        modified |= inRange;
        break;
      case 2: {
        bool moves = inRange && index > 0;
        EXPECT_EQ(list.MoveUp(index), moves);
        if (moves) std::swap(model[index], model[index - 1]);
        modified |= moves;
        break;
      }
      case 3: {
        bool fits = inRange && size < 30;
        EXPECT_EQ(list.InsertAfter(index, MakeSetting(name.c_str())), fits);
        if (fits) model.insert(model.begin() + index + 1, name);
        modified |= fits;
        break;
      }
      case 4: {
        LaunchSetting out = MakeSetting("untouched");
        EXPECT_EQ(list.Get(index, &out), inRange);
        EXPECT_EQ(out.name, inRange ? model[index] : std::string("untouched"));
        break;
      }
      case 5:
        if (random() % 20 == 0) {
          list.Clear();
          model.clear();
          modified = false;
        }
        break;
    }
    ASSERT_EQ(BrokenInvariant(list), "");
    ASSERT_EQ(NamesOf(list), model);
    ASSERT_EQ(list.modified(), modified);
  }
}

}  // namespace
