// The list file: exact bytes on save, and what each kind of bad or short file does to a load.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "store/launch_setting_list.h"
#include "support/test_folder.h"

namespace {

// Everything a caller can see of a list.
struct Snapshot {
  std::vector<Bytes> records;
  int32_t capacity;
  std::string filePath;
  bool modified;
  bool operator==(const Snapshot&) const = default;
};

Snapshot Take(const LaunchSettingList& list) {
  return {RecordsOf(list), list.capacity(), list.filePath(), list.modified()};
}

// A record whose unused bytes are not zero, as a file from elsewhere may hold them.
LaunchSetting NoisySetting(const char* name, int32_t windowState) {
  LaunchSetting setting =
      MakeSetting(name, "C:\\Program Files\\app.exe", "-a \"b c\" 100%", windowState, 1);
  setting.name[250] = 'x';
  setting.path[1000] = 'y';
  setting.options[4095] = 'z';
  setting.filler[0] = 0xAB;
  setting.filler[2] = 0xCD;
  return setting;
}

class ListFileTest : public testing::Test {
 protected:
  std::string PathOf(const char* name) const { return folder_.Path(name); }
  TestFolder folder_;
};

TEST_F(ListFileTest, EmptyListIsTwentyFiveBytes) {
  LaunchSettingList list;
  std::string path = PathOf("empty.dat");
  ASSERT_TRUE(list.SaveToFile(path.c_str(), kListFileSignature));
  EXPECT_EQ(ReadBytes(path), ListFileBytes(0, 30, {}));
  EXPECT_EQ(ReadBytes(path).size(), 25u);
}

TEST_F(ListFileTest, SaveWritesEveryByteOfEveryRecord) {
  LaunchSettingList list;
  std::vector<LaunchSetting> records = {NoisySetting("one", 0), NoisySetting("two", 2)};
  records[1].enabled = 0x7F;
  for (const LaunchSetting& record : records) ASSERT_TRUE(list.Put(-1, record));
  std::string path = PathOf("two.dat");
  ASSERT_TRUE(list.SaveToFile(path.c_str(), kListFileSignature));
  EXPECT_EQ(ReadBytes(path), ListFileBytes(2, 30, records));
  EXPECT_EQ(list.filePath(), path);
  EXPECT_FALSE(list.modified());
  // No temporary file stays behind.
  EXPECT_EQ(folder_.FileNames(), std::vector<std::string>{"two.dat"});
}

TEST_F(ListFileTest, SaveOverwritesAnExistingFileWhole) {
  std::string path = PathOf("old.dat");
  WriteBytes(path, Bytes(100000, 0xEE));
  LaunchSettingList list;
  ASSERT_TRUE(list.Put(-1, MakeSetting("only")));
  ASSERT_TRUE(list.SaveToFile(path.c_str(), kListFileSignature));
  EXPECT_EQ(ReadBytes(path), ListFileBytes(1, 30, {MakeSetting("only")}));
}

TEST_F(ListFileTest, ReplaceLoadGivesBackWhatWasSaved) {
  LaunchSettingList saved;
  for (int i = 0; i < 30; ++i) {
    ASSERT_TRUE(saved.Put(-1, NoisySetting(std::to_string(i).c_str(), i % 3)));
  }
  std::string path = PathOf("full 100%.dat");
  ASSERT_TRUE(saved.SaveToFile(path.c_str(), kListFileSignature));
  LaunchSettingList loaded;
  ASSERT_TRUE(loaded.Put(-1, MakeSetting("dropped")));
  ASSERT_TRUE(loaded.LoadFromFile(path.c_str(), kListFileSignature, true));
  EXPECT_EQ(RecordsOf(loaded), RecordsOf(saved));
  EXPECT_EQ(loaded.capacity(), 30);
  EXPECT_EQ(loaded.filePath(), path);
  EXPECT_FALSE(loaded.modified());
  EXPECT_EQ(BrokenInvariant(loaded), "");
}

TEST_F(ListFileTest, BadHeadersLeaveTheListUntouchedInEitherMode) {
  Bytes good = ListFileBytes(1, 30, {MakeSetting("r")});
  Bytes wrongSignature = good;
  wrongSignature[3] ^= 1;
  Bytes noNul = good;
  noNul[16] = 'X';
  Bytes shortSignature(kSignature.begin(), kSignature.begin() + 10);
  struct Case {
    const char* what;
    Bytes bytes;
  } cases[] = {
      {"wrong signature", wrongSignature},
      {"signature without its NUL", noNul},
      {"empty file", {}},
      {"file ends inside the signature", shortSignature},
      {"file of 24 bytes", Bytes(good.begin(), good.begin() + 24)},
      {"negative count", ListFileBytes(-1, 30, {})},
      {"negative capacity", ListFileBytes(0, -1, {})},
      {"count above capacity", ListFileBytes(3, 2, {})},
  };
  for (bool replace : {true, false}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.what) + (replace ? ", replace" : ", append"));
      std::string path = PathOf("bad.dat");
      WriteBytes(path, c.bytes);
      LaunchSettingList list;
      ASSERT_TRUE(list.Put(-1, MakeSetting("kept")));
      Snapshot before = Take(list);
      EXPECT_FALSE(list.LoadFromFile(path.c_str(), kListFileSignature, replace));
      EXPECT_EQ(Take(list), before);
    }
  }
  LaunchSettingList list;
  EXPECT_FALSE(list.LoadFromFile(PathOf("missing.dat").c_str(), kListFileSignature, true));
  EXPECT_EQ(list.count(), 0);
}

TEST_F(ListFileTest, ZeroCapacityFileGivesAListThatTakesNothing) {
  std::string path = PathOf("zero.dat");
  WriteBytes(path, ListFileBytes(0, 0, {}));
  LaunchSettingList list;
  ASSERT_TRUE(list.Put(-1, MakeSetting("gone")));
  ASSERT_TRUE(list.LoadFromFile(path.c_str(), kListFileSignature, true));
  EXPECT_EQ(list.count(), 0);
  EXPECT_EQ(list.capacity(), 0);
  EXPECT_FALSE(list.Put(-1, MakeSetting("x")));
  EXPECT_FALSE(list.modified());
}

TEST_F(ListFileTest, RecordFailuresKeepWhatWasReadInEachMode) {
  std::vector<LaunchSetting> four = {MakeSetting("a"), MakeSetting("b"), MakeSetting("c"),
                                     MakeSetting("d")};
  Bytes cutInThird = ListFileBytes(4, 9, four);
  cutInThird.resize(25 + 5384 * 2 + 100);
  LaunchSetting noPath = MakeSetting("c");
  noPath.path[0] = '\0';
  Bytes badThird = ListFileBytes(4, 9, {four[0], four[1], noPath, four[3]});
  struct Case {
    const char* what;
    Bytes bytes;
  } cases[] = {{"file ends inside the third record", cutInThird},
               {"third record has an empty path", badThird}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string path = PathOf("cut.dat");
    WriteBytes(path, c.bytes);

    LaunchSettingList replaced;
    ASSERT_TRUE(replaced.Put(-1, MakeSetting("old")));
    EXPECT_FALSE(replaced.LoadFromFile(path.c_str(), kListFileSignature, true));
    EXPECT_STREQ(replaced.head()->setting.name, "a");
    EXPECT_STREQ(replaced.tail()->setting.name, "b");
    EXPECT_EQ(replaced.count(), 2);
    EXPECT_EQ(replaced.capacity(), 9);
    EXPECT_STREQ(replaced.filePath(), "");  // not tied to the damaged file
    EXPECT_TRUE(replaced.modified());

    LaunchSettingList appended;
    ASSERT_TRUE(appended.Put(-1, MakeSetting("old")));
    EXPECT_FALSE(appended.LoadFromFile(path.c_str(), kListFileSignature, false));
    EXPECT_EQ(appended.count(), 3);
    EXPECT_STREQ(appended.tail()->setting.name, "b");
    EXPECT_EQ(appended.capacity(), 30);
    EXPECT_STREQ(appended.filePath(), "");
    EXPECT_EQ(BrokenInvariant(appended), "");
  }
}

TEST_F(ListFileTest, ReplaceLoadThatFailsOnTheFirstRecordLeavesItUnmodified) {
  std::string path = PathOf("first.dat");
  Bytes bytes = ListFileBytes(2, 30, {MakeSetting("a")});
  bytes.resize(25 + 10);
  WriteBytes(path, bytes);
  LaunchSettingList list;
  ASSERT_TRUE(list.Put(-1, MakeSetting("old")));
  EXPECT_FALSE(list.LoadFromFile(path.c_str(), kListFileSignature, true));
  EXPECT_EQ(list.count(), 0);
  EXPECT_STREQ(list.filePath(), "");
  EXPECT_FALSE(list.modified());
}

TEST_F(ListFileTest, AppendStopsWhenListIsFullAndStillSucceeds) {
  std::string path = PathOf("five.dat");
  std::vector<LaunchSetting> five;
  for (const char* name : {"f0", "f1", "f2", "f3", "f4"}) five.push_back(MakeSetting(name));
  WriteBytes(path, ListFileBytes(5, 30, five));

  LaunchSettingList list;
  for (int i = 0; i < 28; ++i) ASSERT_TRUE(list.Put(-1, MakeSetting("own")));
  ASSERT_TRUE(list.SaveToFile(PathOf("own.dat").c_str(), kListFileSignature));
  ASSERT_TRUE(list.LoadFromFile(path.c_str(), kListFileSignature, false));
  EXPECT_EQ(list.count(), 30);
  EXPECT_STREQ(list.tail()->prev->setting.name, "f0");
  EXPECT_STREQ(list.tail()->setting.name, "f1");
  EXPECT_EQ(list.filePath(), PathOf("own.dat"));
  EXPECT_EQ(list.capacity(), 30);
  EXPECT_TRUE(list.modified());

  // Already full: the header is read, no record is, and modified keeps its value.
  ASSERT_TRUE(list.SaveToFile(PathOf("own.dat").c_str(), kListFileSignature));
  ASSERT_TRUE(list.LoadFromFile(path.c_str(), kListFileSignature, false));
  EXPECT_EQ(list.count(), 30);
  EXPECT_FALSE(list.modified());
}

TEST_F(ListFileTest, BytesAfterTheAnnouncedRecordsAreIgnored) {
  std::string path = PathOf("tail.dat");
  Bytes bytes = ListFileBytes(1, 30, {MakeSetting("a")});
  Bytes garbage(7000, 0x00);
  bytes.insert(bytes.end(), garbage.begin(), garbage.end());
  WriteBytes(path, bytes);
  LaunchSettingList list;
  EXPECT_TRUE(list.LoadFromFile(path.c_str(), kListFileSignature, true));
  EXPECT_EQ(list.count(), 1);
}

TEST_F(ListFileTest, SignatureIsAParameter) {
  std::string path = PathOf("other.dat");
  LaunchSettingList list;
  ASSERT_TRUE(list.Put(-1, MakeSetting("a")));
  ASSERT_TRUE(list.SaveToFile(path.c_str(), "ABC"));
  Bytes bytes = ReadBytes(path);
  ASSERT_EQ(bytes.size(), 4u + 8u + 5384u);
  EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 4), (Bytes{'A', 'B', 'C', 0}));
  LaunchSettingList other;
  EXPECT_FALSE(other.LoadFromFile(path.c_str(), kListFileSignature, true));
  EXPECT_TRUE(other.LoadFromFile(path.c_str(), "ABC", true));
  EXPECT_EQ(other.count(), 1);
}

TEST_F(ListFileTest, FailedSaveKeepsTheListStateAndLeavesNoTemporaryFile) {
  std::string path = PathOf("keep.dat");
  LaunchSettingList list;
  ASSERT_TRUE(list.Put(-1, MakeSetting("a")));
  ASSERT_TRUE(list.SaveToFile(path.c_str(), kListFileSignature));
  ASSERT_TRUE(list.Put(-1, MakeSetting("b")));
  Bytes before = ReadBytes(path);

  folder_.MakeFolder("folder.dat");
  struct Case {
    const char* what;
    std::string target;
  } cases[] = {{"target is a folder", PathOf("folder.dat")},
               {"folder does not exist", PathOf("no such folder/x.dat")}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_FALSE(list.SaveToFile(c.target.c_str(), kListFileSignature));
    EXPECT_EQ(list.filePath(), path);
    EXPECT_TRUE(list.modified());
    EXPECT_EQ(ReadBytes(path), before);
    std::vector<std::string> names = folder_.FileNames();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"folder.dat", "keep.dat"}));
    EXPECT_TRUE(folder_.IsFolder("folder.dat"));
  }
}

}  // namespace
