// New, load and save through Wine's real choice, open and save dialogs; the title; the drops;
// the browse dialog.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "probe_log.h"
#include "resource.h"
#include "support/test_folder.h"
#include "ui/choice_dialog.h"
#include "ui_test_support.h"

namespace {

// The file-type box: both filter entries, the first selected.
const std::vector<std::string> kFilterItems = {"データファイル(*.dat)", "すべてのファイル(*.*)",
                                               "0"};

std::string Title(const MainDialogHost& host) { return WindowText932(host.dialog()); }

TEST(ChoiceDialog, EnterTakesTheFirstOptionAndEscTakesNone) {
  MainDialogHost host;
  struct Case {
    int option;
    int32_t result;
  } cases[] = {{1, IDC_CHOICE_FIRST}, {2, IDC_CHOICE_SECOND}, {0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.option);
    Answerer answerer({c.option == 0 ? CancelIt() : Choose(c.option)});
    ChoiceDialogParams params(L"読込方法", L"追加読込", L"置換読込");
    DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_CHOICE), host.dialog(),
                    ChoiceDialogProc, reinterpret_cast<LPARAM>(&params));
    EXPECT_EQ(params.result, c.result);
    ASSERT_EQ(answerer.seen().size(), 1u);
    EXPECT_EQ(answerer.seen()[0].caption, "読込方法");
    EXPECT_EQ(answerer.seen()[0].texts, (std::vector<std::string>{"追加読込", "置換読込"}));
  }
}

TEST(NewList, AlwaysAsksAndYesEmptiesEverything) {
  MainDialogHost host;
  {
    Answerer boxes({Press(IDNO)});
    EXPECT_FALSE(host.window()->NewList());
    ASSERT_EQ(boxes.seen().size(), 1u);  // asked although the list is empty and unchanged
    EXPECT_EQ(boxes.seen()[0].text, "現在の起動設定リストは破棄されますが、よろしいですか？");
    EXPECT_EQ(boxes.seen()[0].caption, "破棄確認");
    EXPECT_EQ(boxes.seen()[0].buttons, (std::vector<int>{IDYES, IDNO}));
    EXPECT_EQ(boxes.seen()[0].icon, "warning");
  }
  host.AddSettings(3);
  host.window()->ShowSetting(host.window()->list->head()->setting);
  {
    Answerer boxes({Press(IDNO)});
    host.Click(IDC_NEW_LIST);
    EXPECT_EQ(host.Rows().size(), 3u);
  }
  Answerer boxes({Press(IDYES)});
  host.Click(IDC_NEW_LIST);
  EXPECT_TRUE(host.Rows().empty());
  EXPECT_EQ(host.window()->list->count(), 0);
  EXPECT_FALSE(host.window()->list->modified());
  EXPECT_EQ(host.Text(IDC_NAME), "");
  EXPECT_EQ(Title(host), "カメリオランチャ - 無題");
}

TEST(SaveList, UntitledGoesStraightToTheSaveDialog) {
  TestFolder folder;
  MainDialogHost host;
  host.AddSettings(2);
  std::string typed = folder.Path("new list");  // the default extension is added
  Answerer answerer({TypeFile(typed)});
  host.Click(IDC_SAVE_LIST);
  ASSERT_EQ(answerer.seen().size(), 1u);
  EXPECT_EQ(answerer.seen()[0].caption, "ファイルを保存");
  EXPECT_EQ(answerer.seen()[0].texts[0], "");
  EXPECT_EQ(std::vector<std::string>(answerer.seen()[0].texts.begin() + 1,
                                     answerer.seen()[0].texts.end()),
            kFilterItems);
  EXPECT_EQ(answerer.seen()[0].flags, static_cast<DWORD>(OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY));
  EXPECT_TRUE(answerer.boxes().empty());
  EXPECT_STREQ(host.window()->list->filePath(), (typed + ".dat").c_str());
  EXPECT_FALSE(host.window()->list->modified());
  EXPECT_EQ(ReadBytes(typed + ".dat").size(), 25u + 2 * 5384u);
  EXPECT_EQ(Title(host), "カメリオランチャ - new list.dat");
}

TEST(SaveList, WithAPathTheChoiceComesFirst) {
  TestFolder folder;
  MainDialogHost host;
  std::string current = folder.SaveList("current.dat", {"a"});
  std::string other = folder.SaveList("other.dat", {"x", "y", "z"});
  host.window()->list->LoadFromFile(current.c_str(), kListFileSignature, true);
  host.window()->RefillList();
  host.AddSettings(1);
  {
    // Overwrite: no file dialog at all.
    Answerer answerer({Choose(1)});
    EXPECT_TRUE(host.window()->SaveList());
    ASSERT_EQ(answerer.seen().size(), 1u);
    EXPECT_EQ(answerer.seen()[0].caption, "保存方法");
    EXPECT_EQ(answerer.seen()[0].texts,
              (std::vector<std::string>{"上書き保存", "名前を付けて保存"}));
    EXPECT_EQ(ReadBytes(current).size(), 25u + 2 * 5384u);
  }
  {
    // Save as: the current path is proposed; an existing file is asked about first.
    Answerer answerer({Choose(2), TypeFile(other), Keys("Y")});
    EXPECT_TRUE(host.window()->SaveList());
    ASSERT_EQ(answerer.seen().size(), 3u);  // the last, the dialog's overwrite question
    EXPECT_EQ(answerer.seen()[1].texts[0], current);
    EXPECT_TRUE(answerer.boxes().empty());
    EXPECT_EQ(ReadBytes(other).size(), 25u + 2 * 5384u);
    EXPECT_STREQ(host.window()->list->filePath(), other.c_str());
    EXPECT_EQ(Title(host), "カメリオランチャ - other.dat");
  }
  struct Case {
    const char* what;
    std::vector<Step> steps;
  } cancels[] = {{"choice cancelled", {CancelIt()}},
                 {"file dialog cancelled", {Choose(2), CancelIt()}}};
  host.AddSettings(1);
  for (const Case& c : cancels) {
    SCOPED_TRACE(c.what);
    Answerer answerer(c.steps);
    EXPECT_FALSE(host.window()->SaveList());
    EXPECT_EQ(answerer.unanswered(), 0u);
    EXPECT_TRUE(answerer.boxes().empty());
    EXPECT_TRUE(host.window()->list->modified());
    EXPECT_STREQ(host.window()->list->filePath(), other.c_str());
  }
}

TEST(SaveList, FailureIsReportedAndChangesNothing) {
  TestFolder folder;
  MainDialogHost host;
  host.AddSettings(1);
  // Another program holds the file open without sharing.
  std::string held = folder.SaveList("held.dat", {"h"});
  HANDLE holder = CreateFileW(Wide932(held, CP_UTF8).c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  Answerer answerer({TypeFile(held), Keys("Y"), Press(IDOK)});
  EXPECT_FALSE(host.window()->SaveList());
  CloseHandle(holder);
  EXPECT_EQ(answerer.unanswered(), 0u);    // the overwrite question answered
  ASSERT_EQ(answerer.boxes().size(), 1u);  // the failure
  EXPECT_EQ(answerer.boxes().back().text, "保存に失敗しました。");
  EXPECT_EQ(answerer.boxes().back().caption, "保存失敗");
  EXPECT_EQ(answerer.boxes().back().icon, "error");
  EXPECT_STREQ(host.window()->list->filePath(), "");
  EXPECT_TRUE(host.window()->list->modified());
}

TEST(LoadList, AppendKeepsTheTitleReplaceNamesTheFile) {
  TestFolder folder;
  MainDialogHost host;
  std::string file = folder.SaveList("loaded.dat", {"l0", "l1"});
  host.AddSettings(1);
  {
    Answerer answerer({Choose(1), TypeFile(file)});
    EXPECT_TRUE(host.window()->LoadList());
    ASSERT_EQ(answerer.seen().size(), 2u);
    EXPECT_EQ(answerer.seen()[0].texts, (std::vector<std::string>{"追加読込", "置換読込"}));
    EXPECT_EQ(answerer.seen()[1].caption, "ファイルを開く");
    EXPECT_EQ(answerer.seen()[1].flags, static_cast<DWORD>(OFN_FILEMUSTEXIST | OFN_HIDEREADONLY));
    EXPECT_EQ(std::vector<std::string>(answerer.seen()[1].texts.begin() + 1,
                                       answerer.seen()[1].texts.end()),
              kFilterItems);
    EXPECT_EQ(host.Rows(), (std::vector<std::string>{"name0", "l0", "l1"}));
    EXPECT_EQ(Title(host), "カメリオランチャ - 無題");
  }
  Answerer answerer({Choose(2), TypeFile(file)});
  EXPECT_TRUE(host.window()->LoadList());
  ASSERT_EQ(answerer.seen().size(), 2u);
  EXPECT_EQ(answerer.seen()[1].texts[0], file);  // the previous load's file
  EXPECT_EQ(host.Rows(), (std::vector<std::string>{"l0", "l1"}));
  EXPECT_EQ(Title(host), "カメリオランチャ - loaded.dat");
  EXPECT_FALSE(host.window()->list->modified());
}

TEST(LoadList, FailedLoadIsReportedAndTheWindowShowsWhatTheListHolds) {
  TestFolder folder;
  MainDialogHost host;
  std::string cut = folder.SaveList("cut.dat", {"c0", "c1", "c2"});
  Bytes bytes = ReadBytes(cut);
  bytes.resize(25 + 5384 * 2 + 10);  // ends inside the third record
  WriteBytes(cut, bytes);
  host.AddSettings(2);
  Answerer answerer({Choose(2), TypeFile(cut), Press(IDOK)});
  EXPECT_FALSE(host.window()->LoadList());
  ASSERT_EQ(answerer.boxes().size(), 1u);
  EXPECT_EQ(answerer.boxes()[0].text, "読み込みに失敗しました。");
  EXPECT_EQ(answerer.boxes()[0].caption, "読込失敗");
  EXPECT_EQ(answerer.boxes()[0].icon, "error");
  // The replace had begun: the rows and the caption follow the list, not the old window.
  EXPECT_EQ(host.Rows(), (std::vector<std::string>{"c0", "c1"}));
  EXPECT_EQ(Title(host), "カメリオランチャ - 無題");  // not tied to the damaged file
}

// A list file that a scanner holds for a moment is read or written once it lets go; held longer,
// the command fails as before within the bound, the file as it was and nothing left beside it.
// While it waits the window takes no input or drops, and says no to a sign-out although nothing
// is unsaved. The desktop asks once the wait has begun, and a moment's holder lets go after that.
struct HeldCase {
  bool save;
  bool letGo;           // the holder lets go while the command waits
  const char* failure;  // the box's text, when the command fails
  bool target;          // for a save, the list file itself rather than the save's new file
};

void RunHeld(const HeldCase& c) {
  SCOPED_TRACE(testing::Message() << c.save << " " << c.letGo << " " << c.target);
  TestFolder folder;
  std::string path = folder.SaveList("list.dat", {"a", "b"});
  MainDialogHost host;
  host.window()->list->LoadFromFile(path.c_str(), kListFileSignature, true);
  folder.SaveList("list.dat", {"c"});  // changed on disk since: a save shows
  Bytes before = ReadBytes(path);
  Answerer answerer({Choose(c.save ? 1 : 2), TypeFile(path)});
  HWND drops = host.Control(IDC_SETTING_LIST);
  auto takesDrops = [&] {
    return (GetWindowLongPtrW(drops, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0;
  };
  ASSERT_TRUE(HoldFile(c.save && !c.target ? folder.Path("~kmlaunch.tmp") : path, 60000));
  bool refused = false;
  DWORD_PTR mayEnd = TRUE;
  ULONGLONG waitBegan = 0;
  HANDLE asked = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread desktop([&] {
    WaitUntil([&] { return !takesDrops(); }, 60000);
    waitBegan = GetTickCount64();
    refused = !takesDrops() && !IsWindowEnabled(host.dialog());
    SendMessageTimeoutW(host.dialog(), WM_QUERYENDSESSION, 0, 0, 0, 5000, &mayEnd);
    if (c.letGo) CloseProbes();
    SetEvent(asked);
  });
  EXPECT_EQ(c.save ? host.window()->SaveList() : host.window()->LoadList(), !*c.failure);
  // The dialog answers meanwhile.
  EXPECT_TRUE(WaitUntil([&] { return WaitForSingleObject(asked, 0) == WAIT_OBJECT_0; }, 30000));
  CloseHandle(asked);
  EXPECT_LT(GetTickCount64() - waitBegan, 10000u);  // about 2 s at the most, never the whole hold
  desktop.join();
  EXPECT_TRUE(refused);
  EXPECT_EQ(mayEnd, FALSE);
  EXPECT_TRUE(takesDrops() && IsWindowEnabled(host.dialog()) && FocusUsable(host.dialog()));
  EXPECT_EQ(SendMessageW(host.dialog(), WM_QUERYENDSESSION, 0, 0), TRUE);  // done: as usual
  EXPECT_EQ(answerer.boxes().empty() ? "" : answerer.boxes()[0].text, c.failure);
  CloseProbes();
  EXPECT_EQ(folder.FileNames(), std::vector<std::string>{"list.dat"});
  EXPECT_EQ(ReadBytes(path) == before, !c.save || *c.failure);
}

TEST(ListFileHeld, AMomentIsWaitedOutAndLongerFailsCleanly) {
  for (const HeldCase& c :
       {HeldCase{false, true, "", false}, HeldCase{false, false, "読み込みに失敗しました。", false},
        HeldCase{true, true, "", false}, HeldCase{true, false, "保存に失敗しました。", false}}) {
    RunHeld(c);
  }
}

// Windows refuses to replace a list file that a scanner holds without delete sharing.
TEST(ListFileHeld, OnWindowsAHeldTargetIsWaitedOutToo) {
  if (UnderWine()) GTEST_SKIP() << "Wine replaces a file that another program holds open";
  for (const HeldCase& c :
       {HeldCase{true, true, "", true}, HeldCase{true, false, "保存に失敗しました。", true}}) {
    RunHeld(c);
  }
}

TEST(LoadList, CancelsChangeNothing) {
  MainDialogHost host;
  host.AddSettings(2);
  struct Case {
    const char* what;
    std::vector<Step> steps;
  } cases[] = {{"choice", {CancelIt()}}, {"open dialog", {Choose(1), CancelIt()}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Answerer answerer(c.steps);
    EXPECT_FALSE(host.window()->LoadList());
    EXPECT_EQ(answerer.unanswered(), 0u);
    EXPECT_TRUE(answerer.boxes().empty());
    EXPECT_EQ(host.Rows().size(), 2u);
  }
}

TEST(ConfirmClose, YesSavesAndClosesButACancelledSaveKeepsTheWindow) {
  TestFolder folder;
  {
    MainDialogHost host;
    host.AddSettings(1);
    Answerer answerer({Press(IDYES), CancelIt()});
    host.Click(IDC_EXIT);
    EXPECT_EQ(answerer.boxes().size(), 1u);
    EXPECT_NE(mainWindow, nullptr);
  }
  MainDialogHost host;
  host.AddSettings(1);
  Answerer answerer({Press(IDYES), TypeFile(folder.Path("on exit.dat"))});
  host.Click(IDC_EXIT);
  EXPECT_EQ(mainWindow, nullptr);
  EXPECT_EQ(ReadBytes(folder.Path("on exit.dat")).size(), 25u + 5384u);
}

TEST(UpdateTitle, ShowsThePathBelowTheDeepestExistingFolder) {
  TestFolder folder;
  MainDialogHost host;
  std::string inner = folder.MakeFolder("inner");
  std::string path = inner + "\\list.dat";
  ASSERT_TRUE(host.window()->list->SaveToFile(path.c_str(), kListFileSignature));
  host.window()->UpdateTitle();
  EXPECT_EQ(Title(host), "カメリオランチャ - list.dat");
  DeleteFileW(Wide932(path, CP_UTF8).c_str());
  RemoveDirectoryW(Wide932(inner, CP_UTF8).c_str());
  host.window()->UpdateTitle();
  EXPECT_EQ(Title(host), "カメリオランチャ - inner\\list.dat");
}

// Unicode names, as Explorer drops them: the scratch folder's may be beyond the code page.
void Drop(HWND target, const std::vector<std::string>& files) {
  SendMessageW(target, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(files, true)), 0);
}

TEST(Drops, ListFilesAppendInDropOrderAndOthersAreSkipped) {
  TestFolder folder;
  MainDialogHost host;
  std::string first = folder.SaveList("one.dat", {"o0", "o1"});
  std::string second = folder.SaveList("two.dat", {"t0"});
  std::string notAList = folder.Path("notes.txt");
  WriteBytes(notAList, Bytes(100, 'n'));
  host.AddSettings(1);
  host.window()->ShowSetting(host.window()->list->head()->setting);
  Answerer boxes;
  Drop(host.Control(IDC_SETTING_LIST), {second, notAList, first});
  EXPECT_TRUE(boxes.seen().empty());
  EXPECT_EQ(host.Rows(), (std::vector<std::string>{"name0", "t0", "o0", "o1"}));
  EXPECT_EQ(host.Text(IDC_NAME), "");
  EXPECT_EQ(Title(host), "カメリオランチャ - 無題");
  Drop(host.Control(IDC_SETTING_LIST), {notAList});
  EXPECT_EQ(host.Rows().size(), 4u);
}

TEST(Drops, FieldsTakeTheFirstFileOnly) {
  MainDialogHost host;
  host.window()->SetMode(UiMode::New);
  Drop(host.Control(IDC_PATH), {"C:\\first file.exe", "C:\\second.exe"});
  EXPECT_EQ(host.Text(IDC_PATH), "C:\\first file.exe");
  struct Case {
    const char* before;
    std::string after;
  } cases[] = {{"", "\"C:\\a b.txt\""},
               {"-x", "-x \"C:\\a b.txt\""},
               {"-x ", "-x \"C:\\a b.txt\""},
               {"-x\t", "-x\t \"C:\\a b.txt\""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.before);
    SetText932(host.Control(IDC_OPTIONS), c.before);
    Drop(host.Control(IDC_OPTIONS), {"C:\\a b.txt", "C:\\ignored.txt"});
    EXPECT_EQ(host.Text(IDC_OPTIONS), c.after);
  }
  // Dropped on the group box of the pane, outside the fields: nothing happens.
  HWND group = nullptr;
  for (HWND child = GetWindow(host.dialog(), GW_CHILD); child;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if ((GetWindowLongPtrA(child, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX &&
        GetDlgCtrlID(child) == -1) {
      group = child;
    }
  }
  ASSERT_NE(group, nullptr);
  std::string options = host.Text(IDC_OPTIONS);
  Drop(group, {"C:\\other.exe"});
  EXPECT_EQ(host.Text(IDC_PATH), "C:\\first file.exe");
  EXPECT_EQ(host.Text(IDC_OPTIONS), options);
  host.window()->SetMode(UiMode::Idle);
}

// A path goes into its field whole, or is refused with a warning and the field keeps its text.
TEST(FieldLimits, APathThatDoesNotFitIsRefusedWholeHoweverItComes) {
  TestFolder folder;
  std::string file = folder.Path("target.exe");
  WriteBytes(file, Bytes(10, 'x'));
  std::string shown = Narrow932(Wide932(file, CP_UTF8));  // as the fields and settings hold it
  std::string quoted = " \"" + shown + "\"";
  enum Way { DropOnPath, DropOnOptions, BrowseOptions };
  struct Case {
    Way way;
    size_t over;  // bytes past the limit
    const char* refusal;
  } const cases[] = {{BrowseOptions, 1, "参照不可（文字数上限）"},
                     {BrowseOptions, 0, nullptr},
                     {DropOnPath, 0, nullptr},
                     {DropOnPath, 1, "ドロップ不可（文字数上限）"},
                     {DropOnOptions, 0, nullptr},
                     {DropOnOptions, 1, "ドロップ不可（文字数上限）"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.way << " over " << c.over);
    if (c.way == BrowseOptions && WineCannotBrowseTo(file)) {
      std::printf("browse cases left out: %s\n", kWineCannotBrowseThere);
      continue;
    }
    MainDialogHost host;
    host.window()->SetMode(UiMode::New);
    int field = c.way == DropOnPath ? IDC_PATH : IDC_OPTIONS;
    // What the field has, and what comes in: together one byte short of, at or over the limit.
    std::string kept =
        c.way == DropOnPath ? "kept" : std::string(4095 + c.over - quoted.size(), 'o');
    std::string path = c.way == DropOnPath ? "C:\\" + std::string(1020 + c.over, 'p') : file;
    SetText932(host.Control(field), kept);
    Answerer answerer(c.way == BrowseOptions ? std::vector<Step>{PickFolder(file)}
                                             : std::vector<Step>{});
    if (c.way == BrowseOptions) {
      std::strcpy(host.window()->editBuffer.options, shown.c_str());
      host.Click(IDC_BROWSE_OPTIONS);
    } else {
      Drop(host.Control(field), {path});
    }
    std::string whole = c.way == DropOnPath ? path : kept + quoted;
    EXPECT_EQ(host.Text(field), c.refusal ? kept : whole);
    ASSERT_EQ(answerer.boxes().size(), c.refusal ? 1u : 0u);
    if (c.refusal) {
      EXPECT_EQ(answerer.boxes()[0].caption, c.refusal);
    }
    host.window()->SetMode(UiMode::Idle);
  }
}

TEST(Browse, CancelChangesNothingAndOkTakesThePreselectedItem) {
  TestFolder folder;
  std::string file = folder.Path("target.exe");
  if (WineCannotBrowseTo(file)) GTEST_SKIP() << kWineCannotBrowseThere;
  WriteBytes(file, Bytes(10, 'x'));
  std::string shown = Narrow932(Wide932(file, CP_UTF8));
  MainDialogHost host;
  host.window()->SetMode(UiMode::Edit);
  std::strcpy(host.window()->editBuffer.path, shown.c_str());
  SetText932(host.Control(IDC_PATH), "typed");
  {
    Answerer answerer({CancelIt()});
    EXPECT_TRUE(host.window()->BrowsePath());
    ASSERT_EQ(answerer.seen().size(), 1u);
    EXPECT_EQ(host.Text(IDC_PATH), "typed");
    EXPECT_STREQ(host.window()->editBuffer.path, shown.c_str());
  }
  {
    Answerer answerer({PickFolder()});
    host.Click(IDC_BROWSE_PATH);
    ASSERT_EQ(answerer.seen().size(), 1u);
    EXPECT_EQ(answerer.seen()[0].caption, "ファイルまたはフォルダを選択");
    EXPECT_EQ(answerer.seen()[0].flags,
              static_cast<unsigned long>(BIF_RETURNONLYFSDIRS | BIF_BROWSEINCLUDEFILES));
    EXPECT_EQ(host.Text(IDC_PATH), shown);
  }
  std::strcpy(host.window()->editBuffer.options, shown.c_str());
  SetText932(host.Control(IDC_OPTIONS), "-x");
  Answerer answerer({PickFolder()});
  host.Click(IDC_BROWSE_OPTIONS);
  EXPECT_EQ(host.Text(IDC_OPTIONS), "-x \"" + shown + "\"");
  host.window()->SetMode(UiMode::Idle);
}

}  // namespace
