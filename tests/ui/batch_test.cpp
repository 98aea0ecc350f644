// The batch launch on the real dialog: order, skips, failures, stops, the window while it runs,
// and the race at its very end.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "probe_log.h"
#include "resource.h"
#include "support/test_folder.h"
#include "ui_test_support.h"

namespace {

// A box of the batch, with the window's state as it opened.
struct BatchBox {
  Seen box;
  UiMode mode;
  bool topmost;
  bool batchEnabled;
  std::string batchCaption;
  int selection;
};

// Answers the batch's boxes, which its worker shows, and keeps each with the window's state.
class BatchDriver {
 public:
  explicit BatchDriver(MainDialogHost& host, std::vector<Step> steps = {})
      : answerer_(std::move(steps)) {
    answerer_.onOpen = [this, &host](const Seen& seen) {
      if (seen.kind != Step::Box || mainWindow == nullptr) return;
      boxes_.push_back({seen, host.window()->mode.load(), host.Topmost(), host.IsEnabled(IDC_BATCH),
                        host.Text(IDC_BATCH), host.Selection()});
      if (onBox_) onBox_(boxes_.back());
    };
  }

  // Until the batch is over (Idle again), or finished says so; onTick runs at every turn and
  // onBox just before a box is answered.
  bool Run(std::function<void()> onTick = nullptr,
           std::function<void(const BatchBox&)> onBox = nullptr,
           std::function<bool()> finished = nullptr) {
    onBox_ = std::move(onBox);
    bool wasBusy = false;
    bool ended = false;
    WaitUntil(
        [&] {
          if (finished ? finished() : mainWindow == nullptr) return ended = true;
          if (mainWindow == nullptr) return true;
          UiMode mode = mainWindow->mode.load();
          wasBusy |= mode == UiMode::Batch || mode == UiMode::BatchEnd;
          if (!finished && wasBusy && mode == UiMode::Idle) return ended = true;
          if (onTick) onTick();
          return false;
        },
        20000);
    return ended;
  }

  const std::vector<BatchBox>& boxes() const { return boxes_; }

 private:
  Answerer answerer_;
  std::vector<BatchBox> boxes_;
  std::function<void(const BatchBox&)> onBox_;
};

void AddSetting(MainWindow* window, const char* name, const std::string& path, const char* options,
                uint8_t enabled) {
  LaunchSetting setting = {};
  std::strcpy(setting.name, name);
  std::strcpy(setting.path, path.c_str());
  std::strcpy(setting.options, options);
  setting.enabled = enabled;
  ASSERT_TRUE(window->list->Put(-1, setting));
  window->RefillList();
}

const std::string kDone = "すべての起動が完了しました。";
const std::string kStopped = "一括起動を中止しました。";

TEST(Batch, EnabledSettingsStartInOrderEachAfterThePreviousIsReady) {
  ProbeLog log;
  MainDialogHost host;
  AddSetting(host.window(), "p0", ProbePath(), "p0", 1);
  AddSetting(host.window(), "off", ProbePath(), "off", 0);
  AddSetting(host.window(), "p1", ProbePath(), "p1", 1);
  AddSetting(host.window(), "p2", ProbePath(), "p2", 1);
  host.Select(1);  // the current row, selected and shown again afterwards
  // The list's folder then goes, as a file server does: the captions never ask about it again.
  TestFolder folder;
  std::string file = folder.Path("server\\list.dat");
  folder.MakeFolder("server");
  ASSERT_TRUE(host.window()->list->SaveToFile(file.c_str(), kListFileSignature));
  host.window()->UpdateTitle();
  DeleteFileW(Wide932(file, CP_UTF8).c_str());
  RemoveDirectoryW(Wide932(folder.Path("server"), CP_UTF8).c_str());
  BatchDriver driver(host);
  CommandRecorder recorder(host.dialog());
  bool checkedWhileRunning = false;
  host.Click(IDC_BATCH);
  ASSERT_TRUE(driver.Run([&] {
    // While the second enabled setting starts: its row is selected and shown.
    if (checkedWhileRunning || log.Count("command") != 2 || log.Count("ready") != 1) return;
    checkedWhileRunning = true;
    EXPECT_EQ(host.Selection(), 2);
    EXPECT_EQ(host.Text(IDC_NAME), "p1");
    EXPECT_EQ(host.Text(IDC_BATCH), "一括起動中止(&X)");
    EXPECT_TRUE(host.IsEnabled(IDC_BATCH));
    for (int id : {IDC_SETTING_LIST, IDC_NEW_ENTRY, IDC_LAUNCH_ONE, IDC_EXIT, IDC_ABOUT}) {
      EXPECT_FALSE(host.IsEnabled(id)) << id;
    }
    EXPECT_TRUE(host.Topmost());
    SendMessageA(host.dialog(), WM_CLOSE, 0, 0);  // refused silently
    EXPECT_NE(mainWindow, nullptr);
  }));
  EXPECT_TRUE(checkedWhileRunning);
  std::vector<std::string> order;
  for (const std::string& line : log.Lines()) {
    if (line.rfind("command=", 0) == 0) order.push_back(line.substr(line.size() - 2));
    if (line.rfind("ready=", 0) == 0) order.push_back("ready");
  }
  EXPECT_EQ(order, (std::vector<std::string>{"p0", "ready", "p1", "ready", "p2", "ready"}));
  // The caption leads with where the batch stands, then is the plain one again.
  const std::string title = "カメリオランチャ - list.dat";
  EXPECT_EQ(recorder.captions(),
            (std::vector<std::string>{"一括起動 1/3 p0 - " + title, "一括起動 2/3 p1 - " + title,
                                      "一括起動 3/3 p2 - " + title, title}));
  ASSERT_EQ(driver.boxes().size(), 1u);
  const BatchBox& done = driver.boxes()[0];
  EXPECT_EQ(done.box.text, kDone);
  EXPECT_EQ(done.box.caption, "一括起動完了");
  EXPECT_EQ(done.box.icon, "information");
  EXPECT_EQ(done.mode, UiMode::BatchEnd);
  EXPECT_FALSE(done.batchEnabled);
  EXPECT_EQ(done.batchCaption, "一括起動中止(&X)");
  EXPECT_TRUE(done.topmost);
  // Afterwards: the current row again, the normal caption and z-order.
  EXPECT_EQ(host.window()->mode.load(), UiMode::Idle);
  EXPECT_EQ(host.Selection(), 1);
  EXPECT_EQ(host.Text(IDC_NAME), "off");
  EXPECT_EQ(host.Text(IDC_BATCH), "一括起動実行(&X)");
  EXPECT_FALSE(host.Topmost());
  EXPECT_EQ(GetFocus(), host.Control(IDC_NEW_ENTRY));
}

TEST(Batch, AllDisabledStartsNothingSelectsNothingAndCompletes) {
  ProbeLog log;
  MainDialogHost host;
  AddSetting(host.window(), "a", ProbePath(), "", 0);
  AddSetting(host.window(), "b", ProbePath(), "", 0);
  BatchDriver driver(host);
  host.Click(IDC_BATCH);
  ASSERT_TRUE(driver.Run());
  EXPECT_TRUE(log.Lines().empty());
  ASSERT_EQ(driver.boxes().size(), 1u);
  EXPECT_EQ(driver.boxes()[0].box.text, kDone);
  EXPECT_EQ(driver.boxes()[0].selection, -1);
  EXPECT_EQ(host.Selection(), LB_ERR);
  EXPECT_EQ(host.Text(IDC_NAME), "");
  // The focus is back on "新規登録(&N)", and Enter presses it.
  host.Key(WM_KEYDOWN, VK_RETURN);
  EXPECT_EQ(host.window()->mode.load(), UiMode::New);
}

TEST(Batch, MissingProgramIsReportedAndTheBatchGoesOn) {
  ProbeLog log;
  MainDialogHost host;
  AddSetting(host.window(), "gone", "C:\\no such folder\\x.exe", "", 1);
  AddSetting(host.window(), "p", ProbePath(), "--ready-at-once", 1);
  BatchDriver driver(host);
  host.Click(IDC_BATCH);
  ASSERT_TRUE(driver.Run());
  ASSERT_EQ(driver.boxes().size(), 2u);
  EXPECT_EQ(driver.boxes()[0].box.text, "\"gone\"の起動に失敗しました。");
  EXPECT_EQ(driver.boxes()[0].box.caption, "起動失敗");
  EXPECT_EQ(driver.boxes()[0].box.icon, "error");
  EXPECT_EQ(driver.boxes()[1].box.text, kDone);
  EXPECT_EQ(log.Count("ready"), 1);
}

TEST(Batch, StopsTakeEffectBetweenSettings) {
  struct Case {
    const char* what;
    int settings;
    bool failingSecond;
    bool byEsc;
    std::vector<std::string> texts;
    int started;
  } cases[] = {
      {"stop during the second of three", 3, false, false, {kStopped}, 2},
      {"Esc during the last launch", 2, false, true, {kStopped}, 2},
      {"stop during a launch that fails",
       3,
       true,
       false,
       {"\"s1\"の起動に失敗しました。", kStopped},
       1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ProbeLog log;
    MainDialogHost host;
    for (int i = 0; i < c.settings; ++i) {
      std::string name = "s" + std::to_string(i);
      bool fails = c.failingSecond && i == 1;
      AddSetting(host.window(), name.c_str(), fails ? "C:\\missing\\x.exe" : ProbePath(),
                 name.c_str(), 1);
    }
    BatchDriver driver(host);
    CommandRecorder recorder(host.dialog());
    bool stopped = false;
    auto stop = [&] {
      stopped = true;
      if (c.byEsc) {
        host.Key(WM_KEYDOWN, VK_ESCAPE);
      } else {
        host.Click(IDC_BATCH);
      }
      EXPECT_EQ(host.window()->mode.load(), UiMode::BatchEnd);
    };
    host.Click(IDC_BATCH);
    ASSERT_TRUE(driver.Run(
        [&] {
          if (!stopped && !c.failingSecond && log.Count("command") == 2 &&
              log.Count("ready") == 1) {
            stop();
          }
        },
        [&](const BatchBox& box) {
          if (!stopped && c.failingSecond && box.box.caption == "起動失敗") stop();
        }));
    std::vector<std::string> texts;
    for (const BatchBox& box : driver.boxes()) texts.push_back(box.box.text);
    EXPECT_EQ(texts, c.texts);
    EXPECT_EQ(driver.boxes().back().box.caption, "一括起動中止");
    EXPECT_EQ(driver.boxes().back().box.icon, "warning");
    EXPECT_EQ(driver.boxes().back().mode, UiMode::BatchEnd);
    EXPECT_EQ(log.Count("command"), c.started);
    // A stop ends the wait, never the launch: a started program gets ready all the same.
    EXPECT_TRUE(WaitUntil([&] { return log.Count("ready") == c.started; }, 5000));
    EXPECT_EQ(host.window()->mode.load(), UiMode::Idle);
    ASSERT_FALSE(recorder.captions().empty());
    EXPECT_EQ(recorder.captions()[0],
              "一括起動 1/" + std::to_string(c.settings) + " s0 - " + "カメリオランチャ - 無題");
    EXPECT_EQ(recorder.captions().back(), "カメリオランチャ - 無題");
  }
}

TEST(Batch, EmptyListIsRefused) {
  MainDialogHost host;
  Answerer answerer({Press(IDOK)});
  host.Click(IDC_BATCH);
  ASSERT_EQ(answerer.seen().size(), 1u);
  EXPECT_EQ(answerer.seen()[0].text, "起動設定データが1件も登録されていません。");
  EXPECT_EQ(answerer.seen()[0].caption, "実行不可（未登録）");
  EXPECT_EQ(answerer.seen()[0].icon, "warning");
  EXPECT_EQ(host.window()->mode.load(), UiMode::Idle);
}

// A close, or a new batch, aimed at the moment the worker finishes, again and again.
TEST(Batch, EndOfBatchRacesNeitherACloseNorANewBatch) {
  // Wine with no window manager waits 2 s for one at each hide of a box or dialog: time bounds it.
  const int kRounds = 200;
  const int kAtLeast = 10;
  const DWORD kBudgetMs = 60000;
  DWORD start = GetTickCount();
  int closes = 0;
  int restarts = 0;
  int round = 0;
  for (; round < kRounds && (round < kAtLeast || GetTickCount() - start < kBudgetMs); ++round) {
    SCOPED_TRACE(round);
    MainDialogHost host;
    AddSetting(host.window(), "a", ProbePath(), "", 0);
    bool closing = round % 2 == 0;
    // The accepted close asks about the unsaved list: leave without saving.
    BatchDriver driver(host, {Press(IDOK), Press(closing ? IDNO : IDOK)});
    bool answered = false;
    host.Click(IDC_BATCH);
    int batchesSeen = 0;
    bool restarted = false;
    ASSERT_TRUE(driver.Run(
        [&] {
          if (!answered) return;
          if (closing) {
            SendMessageA(host.dialog(), WM_CLOSE, 0, 0);  // the close box, pressed repeatedly
          } else if (!restarted && mainWindow != nullptr && host.IsEnabled(IDC_BATCH)) {
            // The first moment a person could press the button again.
            restarted = true;
            host.Click(IDC_BATCH);
            EXPECT_EQ(host.window()->mode.load(), UiMode::Batch);
          } else if (restarted && host.window()->mode.load() == UiMode::Batch) {
            // Nothing of the old batch's end may land on the new one.
            EXPECT_EQ(host.Text(IDC_BATCH), "一括起動中止(&X)");
            EXPECT_TRUE(host.Topmost());
            EXPECT_FALSE(host.IsEnabled(IDC_EXIT));
            EXPECT_FALSE(host.IsEnabled(IDC_ABOUT));
          }
        },
        [&](const BatchBox& box) {
          if (box.box.caption == "保存確認") return;
          ++batchesSeen;
          EXPECT_EQ(box.box.text, kDone);
          EXPECT_EQ(box.mode, UiMode::BatchEnd);
          answered = true;
        },
        [&] {
          if (closing) return mainWindow == nullptr;
          // The new batch was not undone by the old worker's last steps: it ran to its end.
          return restarted && batchesSeen == 2 && host.window()->mode.load() == UiMode::Idle;
        }));
    if (closing) {
      ASSERT_EQ(driver.boxes().size(), 2u);
      EXPECT_EQ(driver.boxes()[1].box.caption, "保存確認");
      closes += mainWindow == nullptr;
    } else {
      EXPECT_EQ(batchesSeen, 2);
      // Idle again, and looking it.
      EXPECT_EQ(host.Text(IDC_BATCH), "一括起動実行(&X)");
      EXPECT_FALSE(host.Topmost());
      EXPECT_TRUE(host.IsEnabled(IDC_EXIT));
      restarts += restarted && batchesSeen == 2;
    }
  }
  EXPECT_EQ(closes + restarts, round);
}

// A program that makes a message queue and never reads it holds the wait for ever; a stop
// request still ends it, the program keeps running and no later setting starts.
TEST(BatchStop, EndsTheWaitForAProgramThatNeverReadsItsMessages) {
  ProbeLog log;
  MainDialogHost host;
  AddSetting(host.window(), "hung", ProbePath(), "--never-ready", 1);
  AddSetting(host.window(), "next", ProbePath(), "next", 1);
  BatchDriver driver(host);
  bool stopped = false;
  bool hungAliveAtTheBox = false;
  HANDLE hung = nullptr;
  host.Click(IDC_BATCH);
  bool ended = driver.Run(
      [&] {
        if (stopped || log.Count("pid") != 1) return;
        hung = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION, FALSE,
                           std::stoul(log.Values("pid")[0]));
        // Well into the wait, for a program that never gets ready.
        EXPECT_EQ(WaitForInputIdle(hung, 300), static_cast<DWORD>(WAIT_TIMEOUT));
        stopped = true;
        host.Click(IDC_BATCH);
      },
      [&](const BatchBox&) {
        hungAliveAtTheBox = hung != nullptr && WaitForSingleObject(hung, 0) == WAIT_TIMEOUT;
      });
  if (hung != nullptr) {
    TerminateProcess(hung, 0);
    CloseHandle(hung);
  }
  ASSERT_TRUE(ended);
  ASSERT_TRUE(stopped);
  ASSERT_EQ(driver.boxes().size(), 1u);
  EXPECT_EQ(driver.boxes()[0].box.text, kStopped);
  EXPECT_EQ(driver.boxes()[0].mode, UiMode::BatchEnd);
  EXPECT_TRUE(hungAliveAtTheBox);
  EXPECT_EQ(log.Count("command"), 1);  // "next" never started
  EXPECT_EQ(host.window()->mode.load(), UiMode::Idle);
  // And the window can be closed again.
  Answerer saveQuestion({Press(IDNO)});
  SendMessageA(host.dialog(), WM_CLOSE, 0, 0);
  EXPECT_EQ(mainWindow, nullptr);
}

// However the batch ends (a click, Space or Esc on its stop button, or its last setting), the
// keyboard stays with the window while nothing is usable, and comes back to the batch button.
TEST(BatchEnd, TheKeyboardStaysWithTheWindowAndComesBackToTheBatchButton) {
  struct Way {
    const char* what;
    WPARAM key;  // 0: a click
    bool stop = true;
  } const ways[] = {
      {"click", 0}, {"Space", VK_SPACE}, {"Esc", VK_ESCAPE}, {"the last setting", 0, false}};
  for (const Way& way : ways) {
    SCOPED_TRACE(way.what);
    ProbeLog log;
    MainDialogHost host;
    AddSetting(host.window(), "p", ProbePath(), way.stop ? "--never-ready" : "--ready-at-once", 1);
    BatchDriver driver(host);
    bool stopped = false;
    RealClick(host.Control(IDC_BATCH));
    ASSERT_TRUE(driver.Run([&] {
      if (stopped || !way.stop || log.Count("pid") != 1) return;
      stopped = true;
      if (way.key == 0) RealClick(host.Control(IDC_BATCH));
      if (way.key != 0) host.Key(WM_KEYDOWN, way.key);
      if (way.key == VK_SPACE) host.Key(WM_KEYUP, VK_SPACE, 0xC0000001);
      EXPECT_EQ(host.window()->mode.load(), UiMode::BatchEnd);
      EXPECT_TRUE(FocusUsable(host.dialog()));
    }));
    EXPECT_EQ(driver.boxes().size(), 1u);
    EXPECT_EQ(GetFocus(), host.Control(IDC_BATCH));
  }
}

// After the rows were rebuilt, no row is the current one: the end of a batch selects nothing
// and shows nothing, and never reports a row that is gone.
TEST(BatchEnd, NoRowIsCurrentAfterANewListALoadOrADrop) {
  TestFolder folder;
  LaunchSettingList saved;
  saved.Put(-1, MakeSetting("f0", "C:\\x.exe", "", 0, 0));
  std::string file = folder.Path("off.dat");
  ASSERT_TRUE(saved.SaveToFile(file.c_str(), kListFileSignature));
  struct Case {
    const char* what;
    std::function<void(MainDialogHost&)> rebuild;
  } cases[] = {
      {"new list",
       [](MainDialogHost& host) {
         Answerer yes({Press(IDYES)});
         host.Click(IDC_NEW_LIST);
         AddSetting(host.window(), "n0", "C:\\x.exe", "", 0);
       }},
      {"replace load",
       [&](MainDialogHost& host) {
         Answerer answerer({Choose(2), TypeFile(file)});
         host.Click(IDC_LOAD_LIST);
       }},
      {"drop on the list",
       [&](MainDialogHost& host) {
         Answerer yes({Press(IDYES)});
         host.Click(IDC_NEW_LIST);
         SendMessageA(host.Control(IDC_SETTING_LIST), WM_DROPFILES,
                      reinterpret_cast<WPARAM>(MakeDrop({file}, true)), 0);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MainDialogHost host;
    host.AddSettings(3);
    host.Select(2);
    ASSERT_EQ(host.window()->currentIndex, 2);
    c.rebuild(host);
    ASSERT_EQ(host.Rows().size(), 1u);
    EXPECT_EQ(host.window()->currentIndex, -1);
    BatchDriver driver(host);
    host.Click(IDC_BATCH);
    ASSERT_TRUE(driver.Run());
    ASSERT_EQ(driver.boxes().size(), 1u);
    EXPECT_EQ(driver.boxes()[0].box.text, kDone);
    EXPECT_EQ(host.Selection(), LB_ERR);
    EXPECT_EQ(host.Text(IDC_NAME), "");
  }
}

// During a batch, a close through the worker's box is refused as at any other moment of it,
// and commands that other programs post to the disabled controls change nothing.
TEST(BatchFromOutside, ClosesAreRefusedAndCommandsToDisabledControlsIgnored) {
  ProbeLog log;
  MainDialogHost host;
  AddSetting(host.window(), "p", ProbePath(), "", 1);
  BatchDriver driver(host);
  bool posted = false;
  host.Click(IDC_BATCH);
  ASSERT_TRUE(driver.Run(
      [&] {
        if (posted || host.window()->mode.load() != UiMode::Batch) return;
        posted = true;
        for (int id : {IDC_NEW_ENTRY, IDC_NEW_LIST, IDC_DELETE, IDC_LOAD_LIST}) {
          PostMessageA(host.dialog(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                       reinterpret_cast<LPARAM>(host.Control(id)));
        }
      },
      [&](const BatchBox&) { PostMessageA(host.dialog(), WM_CLOSE, 0, 0); }));
  EXPECT_TRUE(posted);
  ASSERT_EQ(driver.boxes().size(), 1u);  // no question, warning or dialog of those commands
  EXPECT_EQ(driver.boxes()[0].box.text, kDone);
  PumpMessages();
  ASSERT_NE(mainWindow, nullptr);
  EXPECT_EQ(host.window()->mode.load(), UiMode::Idle);
  EXPECT_EQ(host.Rows(), std::vector<std::string>{"p"});
}

}  // namespace
