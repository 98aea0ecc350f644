// When a node cannot be allocated the list stays exactly as it was.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "store/launch_setting_list.h"
#include "support/test_folder.h"

namespace {
bool failAllocations = false;
}  // namespace

// The list allocates its nodes with the nothrow form; this stand-in can be told to fail.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  if (failAllocations) return nullptr;
  return std::malloc(size == 0 ? 1 : size);
}

namespace {

TEST(AllocationFailure, PutAndInsertAfterRefuseAndChangeNothing) {
  TestFolder folder;
  LaunchSettingList list;
  ASSERT_TRUE(list.Put(-1, MakeSetting("a")));
  ASSERT_TRUE(list.Put(-1, MakeSetting("b")));
  ASSERT_TRUE(list.SaveToFile(folder.Path("x.dat").c_str(), kListFileSignature));
  std::vector<Bytes> before = RecordsOf(list);
  const LaunchSettingNode* head = list.head();
  const LaunchSettingNode* tail = list.tail();

  failAllocations = true;
  bool appended = list.Put(-1, MakeSetting("c"));
  bool inserted = list.InsertAfter(0, MakeSetting("d"));
  bool replaced = list.Put(1, MakeSetting("B"));  // replacing needs no new node
  failAllocations = false;

  EXPECT_FALSE(appended);
  EXPECT_FALSE(inserted);
  EXPECT_TRUE(replaced);
  EXPECT_EQ(list.count(), 2);
  EXPECT_EQ(list.head(), head);
  EXPECT_EQ(list.tail(), tail);
  EXPECT_EQ(RecordsOf(list)[0], before[0]);
  EXPECT_STREQ(list.tail()->setting.name, "B");
  EXPECT_EQ(BrokenInvariant(list), "");
}

TEST(AllocationFailure, RefusedAppendKeepsModifiedFalse) {
  TestFolder folder;
  LaunchSettingList list;
  ASSERT_TRUE(list.Put(-1, MakeSetting("a")));
  ASSERT_TRUE(list.SaveToFile(folder.Path("x.dat").c_str(), kListFileSignature));
  failAllocations = true;
  bool appended = list.Put(-1, MakeSetting("c"));
  bool inserted = list.InsertAfter(0, MakeSetting("d"));
  failAllocations = false;
  EXPECT_FALSE(appended);
  EXPECT_FALSE(inserted);
  EXPECT_FALSE(list.modified());
}

}  // namespace
