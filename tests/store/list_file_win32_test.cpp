// The store on real Windows files: texts in code page 932, UTF-8 paths, unshared handles.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "store/launch_setting_list.h"
#include "support/cp932_text.h"
#include "support/test_folder.h"

namespace {

TEST(CodePage, LiteralsCompileToCodePage932) {
  const char text[] = "ソ表";
  ASSERT_EQ(sizeof text, 5u) << "narrow literals are not code page 932 (-fexec-charset lost?)";
  EXPECT_EQ(std::memcmp(text, "\x83\x5C\x95\x5C", 4), 0);
  EXPECT_STREQ(kListFileSignature, "カメリオランチャ");
}

// Another program holding the list file open without sharing.
class HeldOpen {
 public:
  explicit HeldOpen(const std::string& path)
      : handle_(CreateFileW(Wide932(path, CP_UTF8).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~HeldOpen() { CloseHandle(handle_); }
  bool ok() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

TEST(UnsharedFile, HeldListFileCanBeNeitherLoadedNorSaved) {
  TestFolder folder;
  std::string path = folder.Path("held.dat");
  LaunchSettingList source;
  ASSERT_TRUE(source.Put(-1, MakeSetting("a")));
  ASSERT_TRUE(source.SaveToFile(path.c_str(), kListFileSignature));
  Bytes before = ReadBytes(path);

  LaunchSettingList list;
  ASSERT_TRUE(list.Put(-1, MakeSetting("mine")));
  ASSERT_TRUE(list.Put(-1, MakeSetting("unsaved")));
  {
    HeldOpen holder(path);
    ASSERT_TRUE(holder.ok());
    for (bool replace : {true, false}) {
      EXPECT_FALSE(list.LoadFromFile(path.c_str(), kListFileSignature, replace));
      EXPECT_EQ(list.count(), 2);
      EXPECT_STREQ(list.filePath(), "");
    }
    EXPECT_FALSE(list.SaveToFile(path.c_str(), kListFileSignature));
    EXPECT_TRUE(list.modified());
    EXPECT_STREQ(list.filePath(), "");
  }
  EXPECT_EQ(ReadBytes(path), before);
  EXPECT_EQ(folder.FileNames(), std::vector<std::string>{"held.dat"});
  // Once released, the same file saves and loads.
  EXPECT_TRUE(list.SaveToFile(path.c_str(), kListFileSignature));
  LaunchSettingList again;
  EXPECT_TRUE(again.LoadFromFile(path.c_str(), kListFileSignature, true));
  EXPECT_EQ(again.count(), 2);
}

TEST(UnsharedFile, SaveReplacesAFileAnotherProgramHasClosed) {
  TestFolder folder;
  std::string path = folder.Path("ステージ.dat");  // a code page 932 file name
  WriteBytes(folder.Path("placeholder"), {});
  HANDLE created = CreateFileW(Wide932(path, CP_UTF8).c_str(), GENERIC_WRITE, 0, nullptr,
                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(created, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(created, "old contents", 12, &written, nullptr);
  CloseHandle(created);
  LaunchSettingList list;
  ASSERT_TRUE(list.Put(-1, MakeSetting("new")));
  ASSERT_TRUE(list.SaveToFile(path.c_str(), kListFileSignature));
  LaunchSettingList loaded;
  ASSERT_TRUE(loaded.LoadFromFile(path.c_str(), kListFileSignature, true));
  EXPECT_STREQ(loaded.head()->setting.name, "new");
  EXPECT_STREQ(loaded.filePath(), path.c_str());
}

// A save keeps a hidden, system file so, saves a name of 250 characters, writes through a link.
TEST(UnsharedFile, AnOverwriteSaveKeepsWhatTheFileIs) {
  LaunchSettingList list;
  for (std::string name : {std::string("h"), std::string(250, 'n'), std::string("l")}) {
    TestFolder folder;
    std::string path = folder.Path(name), file = folder.Path(name == "l" ? "t" : name);
    std::wstring wide = Wide932(file, CP_UTF8), link = Wide932(path, CP_UTF8);
    DWORD kept = (name == "h" ? FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM : 0) | 0x20;
    WriteBytes(file, {1});
    SetFileAttributesW(wide.c_str(), kept);
    bool noLink =
        file != path && !(CreateSymbolicLinkW(link.c_str(), L"t", 2) && HeldOpen(path).ok());
    if (noLink) GTEST_SKIP() << "no symbolic link can be made: Wine makes none, Windows may refuse";
    ASSERT_TRUE(list.SaveToFile(path.c_str(), kListFileSignature));
    EXPECT_EQ(ReadBytes(file).size(), 25u);
    EXPECT_EQ(GetFileAttributesW(wide.c_str()) & 0x26, kept);  // hidden, system, archive
    EXPECT_EQ(GetFileAttributesW(link.c_str()) & 0x400, file != path ? 0x400u : 0u);  // a link
  }
}

// A list file nobody may read fails at once, as a missing one does: only a hold is waited out.
TEST(UnsharedFile, ADeniedReadFailsAtOnce) {
  TestFolder folder;
  std::string path = folder.Path("denied.dat");
  WriteBytes(path, kSignature);
  ACL none = {ACL_REVISION, 0, sizeof none, 0, 0};  // whom the file allows: nobody
  SECURITY_DESCRIPTOR nobody = {1, 0, SE_DACL_PRESENT, {}, {}, {}, &none};  // revision 1
  ASSERT_TRUE(SetFileSecurityW(Wide932(path, CP_UTF8).c_str(), DACL_SECURITY_INFORMATION, &nobody));
  if (HeldOpen(path).ok()) GTEST_SKIP() << "this user reads what a file denies (root, under Wine)";
  ULONGLONG start = GetTickCount64();
  EXPECT_FALSE(LaunchSettingList().LoadFromFile(path.c_str(), kListFileSignature, true));
  EXPECT_LT(GetTickCount64() - start, 1000u);
}

}  // namespace
