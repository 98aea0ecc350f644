// Single launches from the real dialog, seen from the probe programs they start.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "probe_log.h"
#include "resource.h"
#include "support/test_folder.h"
#include "ui_test_support.h"

namespace {

// What the probe was given after its own name, as its command line shows it.
std::string ArgumentsOf(const std::string& commandLine) {
  size_t end = commandLine[0] == '"' ? commandLine.find('"', 1) + 1 : commandLine.find(' ');
  if (end == std::string::npos || end >= commandLine.size()) return "";
  return commandLine.substr(end + 1);
}

void AddProbe(MainWindow* window, const char* name, const char* options, int32_t windowState,
              const std::string& path = ProbePath()) {
  LaunchSetting setting = {};
  std::strcpy(setting.name, name);
  std::strcpy(setting.path, path.c_str());
  std::strcpy(setting.options, options);
  setting.windowState = windowState;
  setting.enabled = 1;
  ASSERT_TRUE(window->list->Put(-1, setting));
  window->RefillList();
}

TEST(SingleLaunch, ShowCommandsAndOptionsReachTheProgramExactly) {
  struct Case {
    int32_t windowState;
    const char* options;
    int showCommand;
  } cases[] = {
      {0, "", 9},
      {1, "plain", 6},
      {2, "-a \"b c\" 100% %PATH% \"\"", 3},
      {0, "  two  spaces  ", 9},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.options);
    ProbeLog log;
    MainDialogHost host;
    AddProbe(host.window(), "probe", c.options, c.windowState);
    SendMessageA(host.Control(IDC_SETTING_LIST), LB_SETCURSEL, 0, 0);
    Answerer answerer;
    host.Click(IDC_LAUNCH_ONE);
    // Launch has waited until the probe was ready for input.
    EXPECT_EQ(log.Values("ready").size(), 1u);
    ASSERT_EQ(log.Values("command").size(), 1u);
    EXPECT_EQ(ArgumentsOf(log.Values("command")[0]), c.options);
    EXPECT_EQ(log.Values("show"), std::vector<std::string>{std::to_string(c.showCommand)});
    EXPECT_TRUE(answerer.seen().empty());
    EXPECT_TRUE(host.IsEnabled(IDC_LAUNCH_ONE));
    EXPECT_EQ(host.Selection(), 0);
    EXPECT_EQ(host.window()->currentIndex, 0);
  }
}

TEST(SingleLaunch, DoubleClickLaunchesOnlyInIdle) {
  ProbeLog log;
  MainDialogHost host;
  AddProbe(host.window(), "probe", "dbl", 0);
  SendMessageA(host.Control(IDC_SETTING_LIST), LB_SETCURSEL, 0, 0);
  Answerer answerer;
  for (UiMode mode : {UiMode::Edit, UiMode::New, UiMode::Batch, UiMode::BatchEnd}) {
    host.window()->SetMode(mode);
    host.ListNotify(LBN_DBLCLK);
  }
  EXPECT_TRUE(log.Lines().empty());
  host.window()->SetMode(UiMode::Idle);
  SendMessageA(host.Control(IDC_SETTING_LIST), LB_SETCURSEL, 0, 0);
  host.ListNotify(LBN_DBLCLK);
  EXPECT_EQ(log.Values("command").size(), 1u);
  EXPECT_TRUE(answerer.seen().empty());
}

TEST(SingleLaunch, RefusalsAndFailuresShowExactlyOneBox) {
  struct Case {
    const char* what;
    int settings;  // 0: empty list
    int select;
    bool missingPath;
    std::string text;
    std::string caption;
    std::string icon;
  } cases[] = {
      {"empty list", 0, -1, false, "起動設定データが1件も登録されていません。",
       "単独起動実行不可（未登録）", "warning"},
      {"no selection", 2, -1, false, "起動設定データが選択されていません。",
       "単独起動実行不可（未選択）", "warning"},
      {"missing program", 2, 1, true, "\"missing\"の起動に失敗しました。", "起動失敗", "error"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ProbeLog log;
    MainDialogHost host;
    if (c.settings > 0) {
      AddProbe(host.window(), "first", "", 0);
      AddProbe(host.window(), "missing", "", 0,
               c.missingPath ? "C:\\no such folder\\nothing.exe" : ProbePath());
    }
    host.window()->currentIndex = 7;
    SendMessageA(host.Control(IDC_SETTING_LIST), LB_SETCURSEL, c.select, 0);
    Answerer answerer({Press(IDOK)});
    host.Click(IDC_LAUNCH_ONE);
    ASSERT_EQ(answerer.seen().size(), 1u);
    EXPECT_EQ(answerer.seen()[0].text, c.text);
    EXPECT_EQ(answerer.seen()[0].caption, c.caption);
    EXPECT_EQ(answerer.seen()[0].buttons, std::vector<int>{IDOK});
    EXPECT_EQ(answerer.seen()[0].icon, c.icon);
    EXPECT_EQ(host.window()->currentIndex, c.select == -1 ? 7 : c.select);
    EXPECT_TRUE(host.IsEnabled(IDC_LAUNCH_ONE));
    EXPECT_EQ(host.Selection(), c.select == -1 ? LB_ERR : c.select);
    EXPECT_TRUE(log.Lines().empty());
  }
}

TEST(SingleLaunch, RowWithoutASettingNamesItsZeroBasedIndex) {
  MainDialogHost host;
  SendMessageA(host.Control(IDC_SETTING_LIST), LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>("a"));
  AddProbe(host.window(), "only", "", 0);
  SendMessageA(host.Control(IDC_SETTING_LIST), LB_INSERTSTRING, 1,
               reinterpret_cast<LPARAM>("stray"));
  SendMessageA(host.Control(IDC_SETTING_LIST), LB_SETCURSEL, 1, 0);
  Answerer answerer({Press(IDOK)});
  host.Click(IDC_LAUNCH_ONE);
  ASSERT_EQ(answerer.seen().size(), 1u);
  EXPECT_EQ(answerer.seen()[0].text, "1番目の起動設定データが不正です。");
  EXPECT_EQ(answerer.seen()[0].caption, "エラー");
  EXPECT_EQ(answerer.seen()[0].icon, "error");
  EXPECT_TRUE(host.IsEnabled(IDC_LAUNCH_ONE));
}

TEST(SingleLaunch, DisabledButtonDoesNothing) {
  ProbeLog log;
  MainDialogHost host;
  AddProbe(host.window(), "probe", "", 0);
  SendMessageA(host.Control(IDC_SETTING_LIST), LB_SETCURSEL, 0, 0);
  EnableWindow(host.Control(IDC_LAUNCH_ONE), FALSE);
  Answerer answerer;
  EXPECT_FALSE(host.window()->LaunchSelected());
  EXPECT_TRUE(answerer.seen().empty());
  EXPECT_TRUE(log.Lines().empty());
}

TEST(Launch, OutOfRangeStartsNothing) {
  ProbeLog log;
  LaunchSettingList list;
  LaunchSetting setting = {};
  std::strcpy(setting.name, "p");
  std::strcpy(setting.path, ProbePath().c_str());
  ASSERT_TRUE(list.Put(-1, setting));
  EXPECT_FALSE(list.Launch(-1));
  EXPECT_FALSE(list.Launch(1));
  EXPECT_TRUE(log.Lines().empty());
  EXPECT_TRUE(list.Launch(0));
  EXPECT_EQ(log.Values("ready").size(), 1u);
}

TEST(Launch, FolderOpensWithItsDefaultAction) {
  TestFolder folder;
  std::string path = folder.MakeFolder("opened");
  LaunchSettingList list;
  ASSERT_TRUE(list.Put(-1, MakeSetting("folder", Narrow932(Wide932(path, CP_UTF8)).c_str())));
  EXPECT_TRUE(list.Launch(0));
  // The folder's window, named after it, would outlive the test: closed as its close box would,
  // leaving the Explorer that shows it running.
  HWND opened = nullptr;
  EXPECT_TRUE(WaitUntil([&] {
    EnumWindows(
        [](HWND window, LPARAM found) -> BOOL {
          if (!IsWindowVisible(window) || WindowText932(window).find("opened") == std::string::npos)
            return TRUE;
          *reinterpret_cast<HWND*>(found) = window;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&opened));
    return opened != nullptr;
  }));
  if (opened != nullptr) PostMessageW(opened, WM_CLOSE, 0, 0);
}

}  // namespace
