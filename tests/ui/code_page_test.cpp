// The same program on every system code page (scripts/test runs these under 932, 1252 and 65001):
// what is stored stays code page 932 bytes, what is shown is the Japanese text, and a character
// the list file cannot hold is refused rather than stored as something else.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "probe_log.h"
#include "resource.h"
#include "support/test_folder.h"
#include "ui_test_support.h"

namespace {

// A setting as a Japanese user keeps it.
LaunchSetting JapaneseSetting(const std::string& path) {
  return MakeSetting("メモ帳テスト", path.c_str(), "--開く \"ソ表 一覧.txt\"", 2, 1);
}

std::string AsBytes(const LaunchSetting& setting) {
  return std::string(reinterpret_cast<const char*>(&setting), sizeof setting);
}

// A Japanese setting shown, edited without a change and registered keeps every byte; saved, the
// list file is the one a Japanese system writes; started, its program in a Japanese folder gets
// the Japanese options whole.
TEST(CodePage, JapaneseSettingRoundTripsThroughThePaneTheFileAndTheLaunch) {
  TestFolder folder;
  std::string programFolder = folder.Path("起動テスト");
  ASSERT_TRUE(CreateDirectoryW(Wide932(programFolder, CP_UTF8).c_str(), nullptr));
  std::string program = programFolder + "\\probe.exe";
  ASSERT_TRUE(CopyFileW(Wide932(ProbePath()).c_str(), Wide932(program, CP_UTF8).c_str(), FALSE));
  LaunchSetting setting = JapaneseSetting(Narrow932(Wide932(program, CP_UTF8)));

  MainDialogHost host;
  ASSERT_TRUE(host.window()->list->Put(-1, setting));
  host.window()->RefillList();
  EXPECT_EQ(host.Rows(), std::vector<std::string>{"メモ帳テスト"});
  host.window()->SelectRow(0);
  host.ListNotify(LBN_SELCHANGE);
  EXPECT_EQ(host.Text(IDC_NAME), "メモ帳テスト");
  EXPECT_EQ(host.Text(IDC_OPTIONS), "--開く \"ソ表 一覧.txt\"");
  EXPECT_EQ(WindowText932(host.Control(IDC_WINDOW_STATE)), "最大化");
  host.Click(IDC_EDIT_ENTRY);
  {
    Answerer registered({Press(IDOK)});
    host.Click(IDOK);
    ASSERT_EQ(registered.seen().size(), 1u);
    EXPECT_EQ(registered.seen()[0].text, "\"メモ帳テスト\"を登録しました。");
  }
  LaunchSetting stored = {};
  ASSERT_TRUE(host.window()->list->Get(0, &stored));
  EXPECT_EQ(AsBytes(stored), AsBytes(setting));

  std::string listFile = folder.Path("日本語リスト.dat");
  {
    Answerer dialogs({TypeFile(listFile)});
    ASSERT_TRUE(host.window()->SaveList());
  }
  EXPECT_EQ(ReadBytes(listFile),
            ListFileBytes(1, 30, {setting}));  // as a Japanese system writes it
  EXPECT_EQ(WindowText932(host.dialog()), "カメリオランチャ - 日本語リスト.dat");

  ProbeLog log;
  Answerer none;
  host.Click(IDC_LAUNCH_ONE);
  ASSERT_EQ(log.Values("command").size(), 1u);
  EXPECT_EQ(log.Values("command")[0], "\"" + std::string(setting.path) + "\" " + setting.options);
  EXPECT_TRUE(none.seen().empty());
}

// Characters code page 932 lacks, as a user types, pastes, drops or browses them.
struct Unstorable {
  const char* what;
  std::wstring text;
} const kUnstorable[] = {
    {"an accented letter", L"caf\u00E9"},
    {"a Korean folder", L"C:\\\uBAA9\uB85D\\a.exe"},
    {"an emoji", L"x \U0001F600"},
};

TEST(CodePage, ACharacterTheListCannotHoldIsRefusedNamingTheField) {
  struct Field {
    int id;
    const char* text;
  } const fields[] = {{IDC_NAME, "登録名に保存できない文字が含まれています。"},
                      {IDC_PATH, "起動パスに保存できない文字が含まれています。"},
                      {IDC_OPTIONS, "オプションに保存できない文字が含まれています。"}};
  for (const Unstorable& u : kUnstorable) {
    for (const Field& field : fields) {
      SCOPED_TRACE(std::string(u.what) + " in " + std::to_string(field.id));
      MainDialogHost host;
      host.AddSettings(1);
      host.window()->SelectRow(0);
      host.Click(IDC_EDIT_ENTRY);
      LaunchSetting before = {};
      host.window()->list->Get(0, &before);
      SetWindowTextW(host.Control(field.id), u.text.c_str());
      Answerer refused({Press(IDOK)});
      host.Click(IDOK);
      ASSERT_EQ(refused.seen().size(), 1u);
      EXPECT_EQ(refused.seen()[0].caption, "登録不可（対象外文字）");
      EXPECT_EQ(refused.seen()[0].text, field.text);
      EXPECT_EQ(refused.seen()[0].icon, "warning");
      LaunchSetting after = {};
      host.window()->list->Get(0, &after);
      EXPECT_EQ(AsBytes(after), AsBytes(before));
      EXPECT_EQ(host.window()->mode.load(), UiMode::Edit);
    }
  }
}

// A list file whose own name no code page holds opens, saves, and shows that name in the title.
TEST(CodePage, AListFileNamedBeyondCodePage932IsKeptByItsWholeName) {
  for (const Unstorable& u : kUnstorable) {
    SCOPED_TRACE(u.what);
    TestFolder folder;
    std::wstring name = u.text.substr(u.text.rfind(L'\\') + 1) + L".dat";
    std::string path = folder.Path("") + Narrow932(name, CP_UTF8);
    MainDialogHost host;
    host.AddSettings(2);
    {
      Answerer dialogs({TypeFile(path)});
      ASSERT_TRUE(host.window()->SaveList());
    }
    wchar_t title[512] = {};
    GetWindowTextW(host.dialog(), title, 512);
    EXPECT_EQ(std::wstring(title), L"カメリオランチャ - " + name);
    EXPECT_TRUE(GetFileAttributesW(Wide932(path, CP_UTF8).c_str()) != INVALID_FILE_ATTRIBUTES);
    LaunchSettingList loaded;
    ASSERT_TRUE(loaded.LoadFromFile(path.c_str(), kListFileSignature, true));
    EXPECT_EQ(loaded.count(), 2);
    EXPECT_STREQ(loaded.filePath(), path.c_str());
  }
}

// Bytes code page 932 cannot show (85 40 has no character) are kept when their field is left as
// shown; a field the user changed is stored as it reads.
TEST(CodePage, UnshowableStoredBytesSurviveAnEditThatLeavesTheirField) {
  MainDialogHost host;
  LaunchSetting setting = MakeSetting("ab\x85\x40", "C:\\p\x85\x40.exe", "-o");
  ASSERT_TRUE(host.window()->list->Put(-1, setting));
  host.window()->RefillList();
  host.window()->SelectRow(0);
  host.Click(IDC_EDIT_ENTRY);
  SetText932(host.Control(IDC_OPTIONS), "-changed");
  {
    Answerer registered({Press(IDOK)});
    host.Click(IDOK);
  }
  LaunchSetting stored = {};
  ASSERT_TRUE(host.window()->list->Get(0, &stored));
  EXPECT_STREQ(stored.name, setting.name);
  EXPECT_STREQ(stored.path, setting.path);
  EXPECT_STREQ(stored.options, "-changed");
}

}  // namespace
