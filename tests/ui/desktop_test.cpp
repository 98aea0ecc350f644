// The window on a real desktop, where other programs, the shell and Windows act on it at any
// moment: closes and commands that come through an open box or dialog, text at the fields'
// limits, the end of the session, the shell's COM, the current folder, list rows as a Unicode
// list box tells them, drops in both forms, and the keyboard in the choice dialog.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "probe_log.h"
#include "resource.h"
#include "support/test_folder.h"
#include "ui/choice_dialog.h"
#include "ui/shell_calls.h"
#include "ui_test_support.h"

namespace {

// Posts a message to the main dialog as each box or dialog of the answerer's opens over it, as
// the shell, taskkill or another program may at any moment; counted in posted.
void PostWhileOpen(Answerer& answerer, int& posted, HWND dialog, UINT message, WPARAM wParam = 0) {
  answerer.onOpen = [&posted, dialog, message, wParam](const Seen&) {
    PostMessageW(dialog, message, wParam, 0);
    ++posted;
  };
}

std::string Repeat(const char* text, int times) {
  std::string result;
  for (int i = 0; i < times; ++i) result += text;
  return result;
}

const char kA[] = "あ";  // 82 A0: two bytes here, one character in a Unicode edit control

// --- Closes and commands through an open box or dialog ---------------------------------------

TEST(CloseThroughAnOpenBox, IsHeldUntilTheCommandHasEndedAndStillAsks) {
  struct Case {
    const char* what;
    bool unsavedAfter;  // the held close then asks about unsaved changes
    // Runs the command with its answers; returns how many closes came through its dialogs.
    std::function<int(MainDialogHost&)> command;
  } cases[] = {
      {"the new list's question", false,
       [](MainDialogHost& host) {
         Answerer yes({Press(IDYES)});
         int posted = 0;
         PostWhileOpen(yes, posted, host.dialog(), WM_CLOSE);
         host.Click(IDC_NEW_LIST);
         EXPECT_TRUE(host.Rows().empty());  // the command ran to its end on a live list
         return posted;
       }},
      {"the load's choice dialog", true,
       [](MainDialogHost& host) {
         Answerer esc({CancelIt()});
         int posted = 0;
         PostWhileOpen(esc, posted, host.dialog(), WM_CLOSE);
         host.Click(IDC_LOAD_LIST);
         return posted;
       }},
      {"the open dialog", true,
       [](MainDialogHost& host) {
         Answerer cancel({Choose(1), CancelIt()});
         int posted = 0;
         PostWhileOpen(cancel, posted, host.dialog(), WM_CLOSE);
         host.Click(IDC_LOAD_LIST);
         EXPECT_EQ(cancel.unanswered(), 0u);
         return posted;
       }},
      {"the save dialog", true,
       [](MainDialogHost& host) {
         Answerer cancel({CancelIt()});
         int posted = 0;
         PostWhileOpen(cancel, posted, host.dialog(), WM_CLOSE);
         host.Click(IDC_SAVE_LIST);
         return posted;
       }},
      {"the folder browser", true,
       [](MainDialogHost& host) {
         host.Click(IDC_NEW_ENTRY);
         Answerer cancel({CancelIt()});
         int posted = 0;
         PostWhileOpen(cancel, posted, host.dialog(), WM_CLOSE);
         host.Click(IDC_BROWSE_PATH);
         EXPECT_EQ(host.window()->mode.load(), UiMode::New);
         return posted;
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MainDialogHost host;
    host.AddSettings(2);  // unsaved
    EXPECT_GT(c.command(host), 0);
    ASSERT_NE(mainWindow, nullptr);  // not torn down under the command
    // Carried out once the command has returned, through the save question.
    Answerer question({Press(IDNO)});
    PumpMessages();
    ASSERT_EQ(question.seen().size(), c.unsavedAfter ? 1u : 0u);
    if (c.unsavedAfter) {
      EXPECT_EQ(question.seen()[0].caption, "保存確認");
    }
    EXPECT_EQ(mainWindow, nullptr);
  }
}

void CALLBACK EndMenuLoop(HWND, UINT, UINT_PTR, DWORD) { EndMenu(); }

// Alt or F10 enter the window menu's own loop, which dispatches a posted close: carried out
// there, it hid the window while the loop ran on, and the process lived on unseen.
TEST(CloseThroughTheWindowMenu, IsHeldUntilTheMenuIsLeft) {
  MainDialogHost host;
  HWND dialog = host.dialog();
  UINT_PTR guard = SetTimer(nullptr, 0, 3000, EndMenuLoop);  // should Esc not reach the menu
  PostMessageW(dialog, WM_CLOSE, 0, 0);
  PostKey(dialog, VK_ESCAPE);
  // What Alt and F10 send; it returns when the menu is left.
  SendMessageW(dialog, WM_SYSCOMMAND, SC_KEYMENU, 0);
  KillTimer(nullptr, guard);
  ASSERT_NE(mainWindow, nullptr);
  EXPECT_TRUE(IsWindowVisible(dialog));
  PumpMessages();  // the held close, with nothing to ask about
  EXPECT_EQ(mainWindow, nullptr);
}

TEST(CloseThroughAnOpenBox, ASecondCloseDuringTheSaveQuestionIsTheSameRequest) {
  MainDialogHost host;
  host.AddSettings(1);
  Answerer cancel({Press(IDCANCEL)});
  int posted = 0;
  PostWhileOpen(cancel, posted, host.dialog(), WM_CLOSE);
  SendMessageA(host.dialog(), WM_CLOSE, 0, 0);
  PumpMessages();
  EXPECT_EQ(posted, 1);
  EXPECT_EQ(cancel.seen().size(), 1u);  // asked once, and Cancel keeps the window
  EXPECT_NE(mainWindow, nullptr);
}

TEST(CommandThroughAnOpenBox, IsNotRun) {
  MainDialogHost host;
  Answerer ok({Press(IDOK)});
  int posted = 0;
  PostWhileOpen(ok, posted, host.dialog(), WM_COMMAND, MAKEWPARAM(IDC_NEW_ENTRY, BN_CLICKED));
  host.Click(IDC_ABOUT);
  PumpMessages();
  EXPECT_EQ(posted, 1);
  EXPECT_EQ(host.window()->mode.load(), UiMode::Idle);
}

// --- Text at the fields' limits ---------------------------------------------------------------

struct FieldCase {
  int id;
  size_t limit;
};

// Registers the new entry the pane holds, with an empty name or path filled in.
LaunchSetting Register(MainDialogHost& host) {
  if (host.Text(IDC_NAME).empty()) SetText932(host.Control(IDC_NAME), "n");
  if (host.Text(IDC_PATH).empty()) SetText932(host.Control(IDC_PATH), "p");
  Answerer registered({Press(IDOK)});
  host.Click(IDOK);
  EXPECT_EQ(registered.seen().size(), 1u);
  LaunchSetting stored = {};
  EXPECT_TRUE(host.window()->list->Get(host.window()->list->count() - 1, &stored));
  return stored;
}

const FieldCase kFields[] = {{IDC_NAME, 255}, {IDC_PATH, 1023}, {IDC_OPTIONS, 4095}};

const char* StoredText(const LaunchSetting& setting, int id) {
  return id == IDC_NAME ? setting.name : id == IDC_PATH ? setting.path : setting.options;
}

TEST(FieldLimits, TypedTextKeepsTheLastWholeCharacterThatFits) {
  for (const FieldCase& c : kFields) {
    SCOPED_TRACE(c.limit);
    MainDialogHost host;
    host.Click(IDC_NEW_ENTRY);
    HWND field = host.Control(c.id);
    for (size_t i = 0; i < c.limit / 2 + 5; ++i) SendMessageW(field, WM_CHAR, L'あ', 1);
    std::string half = Repeat(kA, static_cast<int>(c.limit / 2));  // limit - 1 bytes
    EXPECT_EQ(host.Text(c.id), half);
    SendMessageW(field, WM_CHAR, L'b', 1);  // exactly at the limit
    SendMessageW(field, WM_CHAR, L'c', 1);  // past it
    EXPECT_EQ(host.Text(c.id), half + "b");
    EXPECT_EQ(std::string(StoredText(Register(host), c.id)), half + "b");
  }
}

TEST(FieldLimits, PastedTextIsCutAtACharacterAndADroppedPathGoesInWholeOrNotAtAll) {
  MainDialogHost host;
  host.Click(IDC_NEW_ENTRY);
  // Pasted into the name.
  ASSERT_TRUE(PutOnClipboard(host.dialog(), std::wstring(300, L'あ')));
  SendMessageW(host.Control(IDC_NAME), WM_PASTE, 0, 0);
  EXPECT_EQ(host.Text(IDC_NAME), Repeat(kA, 127));
  // A dropped Japanese path exactly as long as the path field holds.
  std::string longPath = "C:\\" + Repeat(kA, 510);
  SendMessageA(host.Control(IDC_PATH), WM_DROPFILES,
               reinterpret_cast<WPARAM>(MakeDrop({Utf8From932(longPath)}, true)), 0);
  EXPECT_EQ(host.Text(IDC_PATH), longPath);
  // Appended in quotes to options one byte short of holding it with its closing quote.
  std::string options(4091, 'o');
  SetText932(host.Control(IDC_OPTIONS), options);
  {
    Answerer refused({Press(IDOK)});
    SendMessageA(host.Control(IDC_OPTIONS), WM_DROPFILES,
                 reinterpret_cast<WPARAM>(MakeDrop({Utf8From932(kA)}, true)), 0);
    EXPECT_EQ(refused.seen().size(), 1u);
  }
  EXPECT_EQ(host.Text(IDC_OPTIONS), options);
  LaunchSetting stored = Register(host);
  EXPECT_EQ(std::string(stored.name), Repeat(kA, 127));
  EXPECT_EQ(std::string(stored.path), longPath);
  EXPECT_EQ(std::string(stored.options), options);
}

// --- The end of the session -------------------------------------------------------------------

TEST(EndOfSession, UnsavedChangesSayNoWithoutABoxAndTheEndWritesNothing) {
  TestFolder folder;
  MainDialogHost host;
  Answerer noBoxes;
  HWND dialog = host.dialog();
  EXPECT_EQ(SendMessageA(dialog, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
  host.AddSettings(1);
  EXPECT_EQ(SendMessageA(dialog, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), FALSE);
  EXPECT_EQ(SendMessageA(dialog, WM_QUERYENDSESSION, 0, 0), FALSE);
  EXPECT_TRUE(host.window()->shutdownReasonShown);
  // Saved: the session may end, and Windows is no longer told why not.
  std::string path = folder.Path("saved.dat");
  {
    Answerer saveAs({TypeFile(path)});
    host.Click(IDC_SAVE_LIST);
  }
  EXPECT_FALSE(host.window()->shutdownReasonShown);
  EXPECT_EQ(SendMessageA(dialog, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
  // Changed again, and the session ends all the same: nothing is written.
  host.AddSettings(1);
  Bytes before = ReadBytes(path);
  EXPECT_EQ(SendMessageA(dialog, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), FALSE);
  SendMessageA(dialog, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
  EXPECT_EQ(ReadBytes(path), before);
  // Discarded: no longer told either.
  {
    Answerer yes({Press(IDYES)});
    host.Click(IDC_NEW_LIST);
  }
  EXPECT_FALSE(host.window()->shutdownReasonShown);
  EXPECT_TRUE(noBoxes.seen().empty());
}

// --- The shell's COM, the current folder -----------------------------------------------------

// Whether the calling thread lives in a single-threaded apartment: asking for the other kind
// is then refused.
bool InSingleThreadedApartment() {
  HRESULT result = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  if (SUCCEEDED(result)) CoUninitialize();
  return result == RPC_E_CHANGED_MODE;
}

TEST(ShellCalls, ThreadsThatLaunchLiveInASingleThreadedApartment) {
  ProbeLog log;
  LaunchSettingList list;
  list.Put(-1, MakeSetting("p", ProbePath().c_str(), "--ready-at-once"));
  bool launched = false;
  bool apartment = false;
  std::thread([&] {
    launched = list.Launch(0);
    apartment = InSingleThreadedApartment();
  }).join();
  EXPECT_TRUE(launched);
  EXPECT_TRUE(apartment);
  // A worker's apartment lasts as long as the worker.
  bool during = false;
  bool after = true;
  std::thread([&] {
    {
      shell_calls::ComForThisThread com;
      during = InSingleThreadedApartment();
    }
    after = InSingleThreadedApartment();
  }).join();
  EXPECT_TRUE(during);
  EXPECT_FALSE(after);
}

TEST(FileDialogs, LeaveTheCurrentFolderWhereTheProgramStarted) {
  TestFolder folder;
  std::string started = folder.MakeFolder("started");
  std::string elsewhere = folder.MakeFolder("elsewhere");
  wchar_t before[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, before);
  ASSERT_TRUE(SetCurrentDirectoryW(Wide932(started, CP_UTF8).c_str()));
  auto current = [] {
    wchar_t path[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, path);
    return Narrow932(path, CP_UTF8);
  };
  {
    MainDialogHost host;
    host.AddSettings(1);
    std::string file = elsewhere + "\\list.dat";
    {
      Answerer saveAs({TypeFile(file)});
      host.Click(IDC_SAVE_LIST);
      EXPECT_EQ(saveAs.unanswered(), 0u);
    }
    EXPECT_EQ(current(), started) << "after the save dialog";
    {
      Answerer load({Choose(2), TypeFile(file)});
      host.Click(IDC_LOAD_LIST);
      EXPECT_EQ(load.unanswered(), 0u);
    }
    EXPECT_EQ(current(), started) << "after the open dialog";
  }
  SetCurrentDirectoryW(before);
}

// --- List rows, drops -------------------------------------------------------------------------

// Windows documents that a list box may tell a row's length as more than it is (room for two
// bytes a character); Wine tells it exactly. This procedure answers as Windows may.
WNDPROC listBoxBelow = nullptr;
LRESULT CALLBACK AnswerAsWindowsMay(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = CallWindowProcW(listBoxBelow, window, message, wParam, lParam);
  return message == LB_GETTEXTLEN && result != LB_ERR ? result * 2 : result;
}

TEST(ListRows, ALongNameOfDoubleByteCharactersIsReadWhole) {
  for (bool doubled : {false, true}) {
    SCOPED_TRACE(doubled ? "length told with room for two bytes a character" : "exact length");
    MainDialogHost host;
    std::string longName = Repeat(kA, 127) + "z";  // 255 bytes, 128 characters
    host.window()->list->Put(-1, MakeSetting(longName.c_str()));
    host.window()->list->Put(-1, MakeSetting("short"));
    host.window()->RefillList();
    HWND listBox = host.Control(IDC_SETTING_LIST);
    if (doubled) {
      listBoxBelow = reinterpret_cast<WNDPROC>(
          SetWindowLongPtrW(listBox, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AnswerAsWindowsMay)));
    }
    SendMessageA(listBox, LB_SETCURSEL, 0, 0);
    host.Click(IDC_MOVE_DOWN);
    EXPECT_EQ(host.Rows(), (std::vector<std::string>{"short", longName}));
    Answerer no({Press(IDNO)});
    host.Click(IDC_DELETE);
    ASSERT_EQ(no.seen().size(), 1u);
    EXPECT_EQ(no.seen()[0].text, "\"" + longName + "\"を本当に削除しますか？");
  }
}

TEST(Drops, JapanesePathsArriveWholeInBothForms) {
  TestFolder folder;
  std::string listFile = folder.SaveList("朝の一覧ソ表.dat", {"一覧"});
  const std::string program = "C:\\ツール\\起動ソ表.exe";
  for (bool wide : {false, true}) {
    SCOPED_TRACE(wide ? "Unicode names" : "ANSI names");
    // The ANSI form carries only what the system's code page holds.
    std::wstring name = Wide932(program);
    if (!wide && Wide932(Narrow932(name, CP_ACP), CP_ACP) != name) continue;
    MainDialogHost host;
    SendMessageA(host.Control(IDC_SETTING_LIST), WM_DROPFILES,
                 reinterpret_cast<WPARAM>(MakeDrop({listFile}, wide)), 0);
    EXPECT_EQ(host.Rows(), std::vector<std::string>{"一覧"});
    host.Click(IDC_NEW_ENTRY);
    SendMessageA(host.Control(IDC_PATH), WM_DROPFILES,
                 reinterpret_cast<WPARAM>(MakeDrop({Utf8From932(program)}, wide)), 0);
    EXPECT_EQ(host.Text(IDC_PATH), program);
    SendMessageA(host.Control(IDC_OPTIONS), WM_DROPFILES,
                 reinterpret_cast<WPARAM>(MakeDrop({Utf8From932(program)}, wide)), 0);
    EXPECT_EQ(host.Text(IDC_OPTIONS), "\"" + program + "\"");
  }
}

// --- The choice dialog from the keyboard ------------------------------------------------------

TEST(ChoiceDialog, OpensOnTheCheckedOptionWhichEnterTakesAndArrowsChange) {
  MainDialogHost host;
  struct Case {
    const char* what;
    std::string keys;
    int32_t result;
  } cases[] = {
      {"Enter", {VK_RETURN}, IDC_CHOICE_FIRST},
      {"Down, Enter", {VK_DOWN, VK_RETURN}, IDC_CHOICE_SECOND},
      {"Down, Up, Enter", {VK_DOWN, VK_UP, VK_RETURN}, IDC_CHOICE_FIRST},
      {"Down, Tab, Enter", {VK_DOWN, VK_TAB, VK_RETURN}, IDC_CHOICE_SECOND},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Answerer keys({Keys(c.keys)});
    ChoiceDialogParams params(L"保存方法", L"上書き保存", L"名前を付けて保存");
    DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_CHOICE), host.dialog(),
                    ChoiceDialogProc, reinterpret_cast<LPARAM>(&params));
    ASSERT_EQ(keys.seen().size(), 1u);
    EXPECT_EQ(keys.seen()[0].flags, static_cast<unsigned long>(IDC_CHOICE_FIRST));  // at open
    EXPECT_EQ(params.result, c.result);
  }
}

}  // namespace
