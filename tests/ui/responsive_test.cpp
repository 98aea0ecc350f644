// The window never freezes and never loses what the user had: a single launch waits while the
// dialog keeps answering, and a paste past a field's limit is cut where it went in.
#include <gtest/gtest.h>

#include <process.h>

#include <atomic>
#include <cstring>
#include <string>

#include "probe_log.h"
#include "resource.h"
#include "support/test_folder.h"
#include "ui_test_support.h"

namespace {

// What another program sees of the dialog while the single launch waits: it answers WM_NULL,
// then Esc is pressed and a close posted, and the time of the Esc is kept.
struct Outsider {
  HWND dialog;
  ProbeLog* log;
  bool postClose = true;
  UINT endWith = WM_KEYDOWN;  // Esc, or a quit message for the dialog's thread
  std::atomic<bool> answered{false};
  std::atomic<bool> focusUsable{false};
  std::atomic<DWORD> escAt{0};
};

unsigned __stdcall ActDuringTheWait(void* argument) {
  auto* outsider = static_cast<Outsider*>(argument);
  std::vector<std::string> pids;
  WaitUntil([&] { return !(pids = outsider->log->Values("pid")).empty(); });
  // Well into the wait, for a program that never gets ready.
  DWORD pid = pids.empty() ? 0 : std::stoul(pids[0]);
  if (HANDLE probe = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid)) {
    WaitForInputIdle(probe, 300);
    CloseHandle(probe);
  }
  DWORD_PTR result = 0;
  outsider->answered =
      SendMessageTimeoutW(outsider->dialog, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &result) != 0;
  outsider->focusUsable = FocusUsable(outsider->dialog);
  if (outsider->postClose) PostMessageW(outsider->dialog, WM_CLOSE, 0, 0);
  outsider->escAt = GetTickCount();
  if (outsider->endWith == WM_QUIT) {
    PostThreadMessageW(GetWindowThreadProcessId(outsider->dialog, nullptr), WM_QUIT, 0, 0);
  } else {
    PostKey(outsider->dialog, VK_ESCAPE);
  }
  return 0;
}

TEST(SingleLaunchWait, TheDialogAnswersEscEndsTheWaitAndACloseComesAfter) {
  ProbeLog log;
  MainDialogHost host;
  LaunchSetting setting = MakeSetting("hung", ProbePath().c_str(), "--never-ready");
  ASSERT_TRUE(host.window()->list->Put(-1, setting));
  host.window()->RefillList();
  host.window()->SelectRow(0);
  Outsider outsider{host.dialog(), &log};
  auto thread =
      reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, ActDuringTheWait, &outsider, 0, nullptr));
  {
    Answerer none;
    host.Click(IDC_LAUNCH_ONE);
    DWORD ended = GetTickCount();
    EXPECT_TRUE(none.seen().empty());  // the launch counts as done
    ASSERT_NE(outsider.escAt.load(), 0u);
    EXPECT_LT(ended - outsider.escAt.load(), 500u);
  }
  WaitForSingleObject(thread, 5000);
  CloseHandle(thread);
  EXPECT_TRUE(outsider.answered.load());
  EXPECT_TRUE(host.IsEnabled(IDC_LAUNCH_ONE));
  ASSERT_EQ(log.Count("pid"), 1);
  HANDLE probe =
      OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, std::stoul(log.Values("pid")[0]));
  EXPECT_EQ(WaitForSingleObject(probe, 0), static_cast<DWORD>(WAIT_TIMEOUT));  // still running
  TerminateProcess(probe, 0);
  CloseHandle(probe);
  // The close held during the wait comes now, through the save question.
  Answerer saveQuestion({Press(IDCANCEL)});
  PumpMessages();
  ASSERT_EQ(saveQuestion.seen().size(), 1u);
  EXPECT_EQ(saveQuestion.seen()[0].caption, "保存確認");
  EXPECT_NE(mainWindow, nullptr);
}

// However the single launch is started, the keyboard stays with the window during its wait, Esc
// (as Windows delivers it) or a quit message ends the wait without a failure box, and the focus
// comes back to the button that started it.
TEST(SingleLaunchWait, TheKeyboardStaysWithTheWindowHoweverTheLaunchStarts) {
  struct Way {
    const char* what;
    int focus;  // the control the keys go to
    UINT message;
    WPARAM key;
    UINT endWith = WM_KEYDOWN;
  } const ways[] = {{"mouse", 0, WM_LBUTTONDOWN, 0},
                    {"Space", IDC_LAUNCH_ONE, WM_KEYDOWN, VK_SPACE},
                    {"Enter", IDC_LAUNCH_ONE, WM_KEYDOWN, VK_RETURN},
                    {"Alt+Y", IDC_NEW_ENTRY, WM_SYSCHAR, 'y'},
                    {"double click", IDC_SETTING_LIST, WM_COMMAND, LBN_DBLCLK},
                    {"a quit message", 0, WM_LBUTTONDOWN, 0, WM_QUIT}};
  for (const Way& way : ways) {
    SCOPED_TRACE(way.what);
    ProbeLog log;
    MainDialogHost host;
    ASSERT_TRUE(
        host.window()->list->Put(-1, MakeSetting("hung", ProbePath().c_str(), "--never-ready")));
    host.window()->RefillList();
    host.window()->SelectRow(0);
    host.window()->ShowSelected();
    Outsider outsider{host.dialog(), &log, false, way.endWith};
    auto thread = reinterpret_cast<HANDLE>(
        _beginthreadex(nullptr, 0, ActDuringTheWait, &outsider, 0, nullptr));
    Answerer none;
    if (way.focus != 0) host.window()->FocusControl(way.focus);
    if (way.message == WM_LBUTTONDOWN) RealClick(host.Control(IDC_LAUNCH_ONE));
    if (way.message == WM_COMMAND) host.ListNotify(static_cast<int>(way.key));
    if (way.message == WM_KEYDOWN || way.message == WM_SYSCHAR) {
      host.Key(way.message, way.key, way.message == WM_SYSCHAR ? 1 << 29 : 1);
    }
    if (way.key == VK_SPACE) host.Key(WM_KEYUP, VK_SPACE, 0xC0000001);
    EXPECT_NE(outsider.escAt.load(), 0u);  // the wait lasted until the outsider ended it
    WaitForSingleObject(thread, 5000);
    CloseHandle(thread);
    PumpMessages();  // takes a quit message handed on, as the dialog's own loop would
    EXPECT_EQ(log.Count("pid"), 1);
    EXPECT_TRUE(none.seen().empty());
    EXPECT_TRUE(outsider.focusUsable.load());
    EXPECT_TRUE(FocusUsable(host.dialog()));
    EXPECT_EQ(GetFocus(),
              host.Control(way.focus == IDC_SETTING_LIST ? IDC_SETTING_LIST : IDC_LAUNCH_ONE));
  }
}

// A paste into the middle of a field 10 bytes short of its limit keeps the text on both sides and
// takes in the five double-byte characters that fit; undo takes the paste back whole.
TEST(FieldLimits, APasteIntoTheMiddleIsCutWhereItGoesIn) {
  struct Case {
    int id;
    size_t limit;
  } const cases[] = {{IDC_NAME, 255}, {IDC_PATH, 1023}, {IDC_OPTIONS, 4095}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    MainDialogHost host;
    host.Click(IDC_NEW_ENTRY);
    HWND field = host.Control(c.id);
    // Japanese on both sides: (limit - 10) bytes, the caret between the halves.
    size_t half = (c.limit - 11) / 4;
    std::wstring before(half, L'前');
    std::wstring after(half, L'後');
    std::wstring text = before + after + std::wstring((c.limit - 10) - 4 * half, L'x');
    SetWindowTextW(field, text.c_str());
    SendMessageW(field, EM_SETSEL, before.size(), before.size());
    SendMessageW(field, EM_EMPTYUNDOBUFFER, 0, 0);
    ASSERT_TRUE(PutOnClipboard(host.dialog(), std::wstring(20, L'貼')));
    SendMessageW(field, WM_PASTE, 0, 0);
    EXPECT_EQ(host.Text(c.id),
              Narrow932(before + std::wstring(5, L'貼') + text.substr(before.size())));
    EXPECT_TRUE(SendMessageW(field, EM_CANUNDO, 0, 0));
    SendMessageW(field, EM_UNDO, 0, 0);
    EXPECT_EQ(host.Text(c.id), Narrow932(text));
    SetWindowTextW(field, L"x\ty\x7F\nz");  // another program's text
    EXPECT_EQ(host.Text(c.id), "x y");
    ASSERT_TRUE(PutOnClipboard(host.dialog(), L"C:\\a b.exe\r\n次の行\r\n"));  // a copied line
    SendMessageW(field, WM_PASTE, 0, 0);
    EXPECT_EQ(host.Text(c.id), "C:\\a b.exex y");
  }
}

}  // namespace
