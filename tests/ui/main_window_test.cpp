// The real main dialog under Wine: modes, routing, Esc, About, close, the list pane, the keyboard.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "resource.h"
#include "support/test_folder.h"
#include "ui_test_support.h"

namespace {

const int kAllControls[] = {IDC_SETTING_LIST, IDC_NEW_LIST,    IDC_NEW_ENTRY,  IDC_EDIT_ENTRY,
                            IDC_DUPLICATE,    IDC_MOVE_UP,     IDC_MOVE_DOWN,  IDC_NAME,
                            IDC_PATH,         IDC_BROWSE_PATH, IDC_OPTIONS,    IDC_BROWSE_OPTIONS,
                            IDC_WINDOW_STATE, IDC_ENABLED,     IDC_LAUNCH_ONE, IDOK,
                            IDC_CANCEL_EDIT,  IDC_DELETE,      IDC_LOAD_LIST,  IDC_SAVE_LIST,
                            IDC_BATCH,        IDC_ABOUT,       IDC_EXIT};

// The enabled set of each mode, written out from the table rather than from the code.
std::set<int> EnabledIn(UiMode mode) {
  switch (mode) {
    case UiMode::Idle:
      return {IDC_SETTING_LIST, IDC_NEW_LIST,  IDC_NEW_ENTRY,  IDC_EDIT_ENTRY, IDC_DUPLICATE,
              IDC_MOVE_UP,      IDC_MOVE_DOWN, IDC_LAUNCH_ONE, IDC_DELETE,     IDC_LOAD_LIST,
              IDC_SAVE_LIST,    IDC_BATCH,     IDC_ABOUT,      IDC_EXIT};
    case UiMode::Edit:
      return {IDC_NAME,           IDC_PATH,         IDC_BROWSE_PATH, IDC_OPTIONS,
              IDC_BROWSE_OPTIONS, IDC_WINDOW_STATE, IDC_ENABLED,     IDOK,
              IDC_CANCEL_EDIT,    IDC_DELETE,       IDC_ABOUT,       IDC_EXIT};
    case UiMode::New:
      return {IDC_NAME,           IDC_PATH,         IDC_BROWSE_PATH, IDC_OPTIONS,
              IDC_BROWSE_OPTIONS, IDC_WINDOW_STATE, IDC_ENABLED,     IDOK,
              IDC_CANCEL_EDIT,    IDC_ABOUT,        IDC_EXIT};
    case UiMode::Batch:
      return {IDC_BATCH};
    default:
      return {};
  }
}

std::set<int> EnabledNow(const MainDialogHost& host) {
  std::set<int> enabled;
  for (int id : kAllControls) {
    if (host.IsEnabled(id)) enabled.insert(id);
  }
  return enabled;
}

const char* ModeName(UiMode mode) {
  static const char* names[] = {"Idle", "Edit", "New", "Batch", "BatchEnd"};
  return names[static_cast<int>(mode)];
}

constexpr UiMode kModes[] = {UiMode::Idle, UiMode::Edit, UiMode::New, UiMode::Batch,
                             UiMode::BatchEnd};

TEST(SetMode, EveryPairOfModes) {
  for (UiMode from : kModes) {
    for (UiMode to : kModes) {
      SCOPED_TRACE(std::string(ModeName(from)) + " -> " + ModeName(to));
      MainDialogHost host;
      MainWindow* window = host.window();
      window->SetMode(from);
      // BatchEnd keeps the look it was entered with; from Idle that is the normal one.
      bool batchLookBefore = from == UiMode::Batch;
      HWND focusBefore = GetFocus();
      std::set<int> enabledBefore = EnabledNow(host);

      EXPECT_EQ(window->SetMode(to), from);
      EXPECT_EQ(window->mode.load(), to);
      if (from == to) {
        EXPECT_EQ(EnabledNow(host), enabledBefore);
        EXPECT_EQ(GetFocus(), focusBefore);
        continue;
      }
      EXPECT_EQ(EnabledNow(host), EnabledIn(to));
      bool batchLook = to == UiMode::Batch || (to == UiMode::BatchEnd && batchLookBefore);
      EXPECT_EQ(host.Text(IDC_BATCH), batchLook ? "一括起動中止(&X)" : "一括起動実行(&X)");
      EXPECT_EQ(host.Topmost(), batchLook);
      switch (to) {
        case UiMode::Idle:
          EXPECT_EQ(GetFocus(), host.Control(IDC_NEW_ENTRY));
          break;
        case UiMode::Edit:
        case UiMode::New:
          EXPECT_EQ(GetFocus(), host.Control(IDC_NAME));
          break;
        case UiMode::Batch:
          EXPECT_EQ(GetFocus(), host.Control(IDC_BATCH));
          break;
        default:
          break;
      }
    }
  }
}

// WM_ENABLE of the dialog's controls (not of the combo box's own drop-down list).
std::vector<int>* enableLog = nullptr;
HWND enableLogDialog = nullptr;
LRESULT CALLBACK RecordEnable(int code, WPARAM wParam, LPARAM lParam) {
  auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && call->message == WM_ENABLE && enableLog != nullptr &&
      GetAncestor(call->hwnd, GA_PARENT) == enableLogDialog) {
    enableLog->push_back(GetDlgCtrlID(call->hwnd));
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// A control whose state stays must not flicker through disabled and back.
TEST(SetMode, TouchesOnlyTheControlsWhoseStateChanges) {
  for (UiMode from : kModes) {
    for (UiMode to : kModes) {
      if (from == to) continue;
      SCOPED_TRACE(std::string(ModeName(from)) + " -> " + ModeName(to));
      MainDialogHost host;
      host.window()->SetMode(from);
      std::set<int> before = EnabledNow(host);
      std::vector<int> changed;
      for (int id : kAllControls) {
        if (before.count(id) != EnabledIn(to).count(id)) changed.push_back(id);
      }
      std::vector<int> log;
      enableLog = &log;
      enableLogDialog = host.dialog();
      HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, RecordEnable, nullptr, GetCurrentThreadId());
      host.window()->SetMode(to);
      UnhookWindowsHookEx(hook);
      enableLog = nullptr;
      std::sort(log.begin(), log.end());
      std::sort(changed.begin(), changed.end());
      EXPECT_EQ(log, changed);
    }
  }
}

TEST(SetMode, ValueOutsideTheModesDisablesEverythingAndKeepsTheMode) {
  MainDialogHost host;
  for (UiMode odd : {UiMode::None, static_cast<UiMode>(7)}) {
    host.window()->SetMode(UiMode::Idle);
    EXPECT_EQ(host.window()->SetMode(odd), UiMode::Idle);
    EXPECT_EQ(host.window()->mode.load(), UiMode::Idle);
    EXPECT_TRUE(EnabledNow(host).empty());
  }
}

TEST(MainDialog, OpensIdleWithAnEmptyPane) {
  MainDialogHost host;
  EXPECT_EQ(host.window()->mode.load(), UiMode::Idle);
  EXPECT_EQ(host.window()->currentIndex, -1);
  EXPECT_EQ(host.Text(IDC_NAME), "");
  EXPECT_EQ(SendMessageA(host.Control(IDC_WINDOW_STATE), CB_GETCURSEL, 0, 0), CB_ERR);
  EXPECT_EQ(SendMessageA(host.Control(IDC_WINDOW_STATE), CB_GETCOUNT, 0, 0), 3);
  const char* items[] = {"通常のウィンドウ", "最小化", "最大化"};
  for (int i = 0; i < 3; ++i) {
    wchar_t text[64] = {};
    SendMessageW(host.Control(IDC_WINDOW_STATE), CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(Narrow932(text), items[i]);
  }
  EXPECT_EQ(SendMessageA(host.Control(IDC_NAME), EM_GETLIMITTEXT, 0, 0), 255);
  EXPECT_EQ(SendMessageA(host.Control(IDC_PATH), EM_GETLIMITTEXT, 0, 0), 1023);
  EXPECT_EQ(SendMessageA(host.Control(IDC_OPTIONS), EM_GETLIMITTEXT, 0, 0), 4095);
  EXPECT_EQ(EnabledNow(host), EnabledIn(UiMode::Idle));
}

TEST(MainDialog, AboutBoxHasItsTextAndNoIcon) {
  MainDialogHost host;
  Answerer answerer({Press(IDOK)});
  host.Click(IDC_ABOUT);
  ASSERT_EQ(answerer.seen().size(), 1u);
  const Seen& box = answerer.seen()[0];
  EXPECT_EQ(box.caption, "バージョン情報");
  EXPECT_EQ(box.text.rfind("カメリオランチャ\n\nVersion 1.10\n\n", 0), 0u) << box.text;
  EXPECT_EQ(box.text.find('\n', std::strlen("カメリオランチャ\n\nVersion 1.10\n\n")),
            std::string::npos);
  EXPECT_GT(box.text.size(), std::strlen("カメリオランチャ\n\nVersion 1.10\n\n"));
  EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
  EXPECT_EQ(box.icon, "none");
  EXPECT_EQ(host.window()->mode.load(), UiMode::Idle);
}

// Each way of closing an unchanged list closes at once and puts the procedures back.
TEST(MainDialog, ExitCloseBoxAndEscCloseAnUnchangedListAndRestoreProcedures) {
  struct Case {
    const char* what;
    void (*close)(MainDialogHost&);
  } cases[] = {
      {"exit button", [](MainDialogHost& h) { h.Click(IDC_EXIT); }},
      {"close box", [](MainDialogHost& h) { SendMessageA(h.dialog(), WM_CLOSE, 0, 0); }},
      {"Esc key", [](MainDialogHost& h) { h.Key(WM_KEYDOWN, VK_ESCAPE); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MainDialogHost host;
    MainWindow* window = host.window();
    WNDPROC saved[] = {window->listBoxProc, window->pathEditProc, window->optionsEditProc};
    int ids[] = {IDC_SETTING_LIST, IDC_PATH, IDC_OPTIONS};
    for (int i = 0; i < 3; ++i) EXPECT_NE(saved[i], nullptr);
    Answerer answerer;
    c.close(host);
    EXPECT_TRUE(answerer.seen().empty());
    EXPECT_EQ(mainWindow, nullptr);
    EXPECT_FALSE(IsWindowVisible(host.dialog()));  // EndDialog hides it
    for (int i = 0; i < 3; ++i) {
      // The control's own procedure again: its class's.
      EXPECT_EQ(GetWindowLongPtrW(host.Control(ids[i]), GWLP_WNDPROC),
                GetClassLongPtrW(host.Control(ids[i]), GCLP_WNDPROC));
      EXPECT_EQ(GetWindowLongPtrA(host.Control(ids[i]), GWLP_USERDATA), 0);
    }
    // The window's remaining messages find no handler and touch nothing.
    host.Click(IDC_ABOUT);
    EXPECT_TRUE(answerer.seen().empty());
  }
}

TEST(MainDialog, CloseWithUnsavedChangesAsksAndCancelKeepsTheWindow) {
  MainDialogHost host;
  host.AddSettings(1);
  {
    Answerer answerer({Press(IDCANCEL)});
    host.Click(IDC_EXIT);
    ASSERT_EQ(answerer.seen().size(), 1u);
    const Seen& box = answerer.seen()[0];
    EXPECT_EQ(box.caption, "保存確認");
    EXPECT_EQ(box.text, "終了する前に変更を保存しますか？");
    EXPECT_EQ(box.buttons, (std::vector<int>{IDCANCEL, IDYES, IDNO}));
    EXPECT_EQ(box.icon, "question");
    EXPECT_NE(mainWindow, nullptr);
    EXPECT_TRUE(IsWindowVisible(host.dialog()));
  }
  Answerer answerer({Press(IDNO)});
  SendMessageA(host.dialog(), WM_CLOSE, 0, 0);
  EXPECT_EQ(answerer.seen().size(), 1u);
  EXPECT_EQ(mainWindow, nullptr);
}

TEST(MainDialog, CloseIsRefusedSilentlyDuringABatch) {
  for (UiMode batchMode : {UiMode::Batch, UiMode::BatchEnd}) {
    SCOPED_TRACE(ModeName(batchMode));
    MainDialogHost host;
    host.AddSettings(2);
    host.window()->SetMode(UiMode::Batch);
    host.window()->SetMode(batchMode);
    Answerer answerer;
    SendMessageA(host.dialog(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(answerer.seen().empty());
    EXPECT_NE(mainWindow, nullptr);
    EXPECT_EQ(host.window()->mode.load(), batchMode);
    host.window()->SetMode(UiMode::Idle);
  }
}

TEST(MainDialog, EscOutsideIdleDoesNotClose) {
  struct Case {
    UiMode mode;
    std::vector<std::string> captions;  // Edit and New ask before cancelling the edit
  } cases[] = {{UiMode::Edit, {"取消確認"}}, {UiMode::New, {"取消確認"}}, {UiMode::BatchEnd, {}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(ModeName(c.mode));
    MainDialogHost host;
    host.window()->SetMode(c.mode);
    CommandRecorder recorder(host.dialog());
    Answerer answerer({Press(IDNO)});
    host.Key(WM_KEYDOWN, VK_ESCAPE);
    EXPECT_EQ(recorder.keyCommands(), std::vector<int>{IDCANCEL});
    std::vector<std::string> captions;
    for (const Seen& box : answerer.seen()) captions.push_back(box.caption);
    EXPECT_EQ(captions, c.captions);
    EXPECT_NE(mainWindow, nullptr);
    EXPECT_EQ(host.window()->mode.load(), c.mode);
    host.window()->SetMode(UiMode::Idle);
  }
}

TEST(ListPane, ClearAndShowSetting) {
  MainDialogHost host;
  MainWindow* window = host.window();
  LaunchSetting setting = {};
  std::strcpy(setting.name, "メモ帳");
  std::strcpy(setting.path, "C:\\windows\\notepad.exe");
  std::strcpy(setting.options, "-a \"b c\" 100%");
  setting.windowState = 2;
  setting.enabled = 2;  // any nonzero byte is enabled
  window->currentIndex = 4;
  window->ShowSetting(setting);
  EXPECT_EQ(host.Text(IDC_NAME), "メモ帳");
  EXPECT_EQ(host.Text(IDC_PATH), "C:\\windows\\notepad.exe");
  EXPECT_EQ(host.Text(IDC_OPTIONS), "-a \"b c\" 100%");
  EXPECT_EQ(SendMessageA(host.Control(IDC_WINDOW_STATE), CB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(SendMessageA(host.Control(IDC_ENABLED), BM_GETCHECK, 0, 0), BST_CHECKED);
  window->ClearFields();
  EXPECT_EQ(host.Text(IDC_NAME), "");
  EXPECT_EQ(host.Text(IDC_PATH), "");
  EXPECT_EQ(host.Text(IDC_OPTIONS), "");
  EXPECT_EQ(SendMessageA(host.Control(IDC_WINDOW_STATE), CB_GETCURSEL, 0, 0), CB_ERR);
  EXPECT_EQ(SendMessageA(host.Control(IDC_ENABLED), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(window->currentIndex, 4);
}

TEST(ListPane, SelectRowAndRefill) {
  MainDialogHost host;
  MainWindow* window = host.window();
  host.AddSettings(3);
  EXPECT_EQ(host.Rows(), (std::vector<std::string>{"name0", "name1", "name2"}));
  EXPECT_EQ(host.Selection(), LB_ERR);
  EXPECT_TRUE(window->SelectRow(2));
  EXPECT_EQ(host.Selection(), 2);
  EXPECT_FALSE(window->SelectRow(3));
  EXPECT_TRUE(window->SelectRow(-1));
  EXPECT_EQ(host.Selection(), LB_ERR);
  window->SelectRow(1);
  window->RefillList();
  EXPECT_EQ(host.Rows().size(), 3u);
  EXPECT_EQ(host.Selection(), LB_ERR);
}

TEST(ListPane, SelectionChangeShowsTheSettingAndSelCancelEmptiesThePane) {
  MainDialogHost host;
  host.AddSettings(3);
  SendMessageA(host.Control(IDC_SETTING_LIST), LB_SETCURSEL, 1, 0);
  host.ListNotify(LBN_SELCHANGE);
  EXPECT_EQ(host.window()->currentIndex, 1);
  EXPECT_EQ(host.Text(IDC_NAME), "name1");
  EXPECT_EQ(SendMessageA(host.Control(IDC_ENABLED), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_STREQ(host.window()->editBuffer.name, "name1");
  host.ListNotify(LBN_SELCANCEL);
  EXPECT_EQ(host.Text(IDC_NAME), "");
  EXPECT_EQ(host.window()->currentIndex, 1);
}

TEST(ListPane, ShowSelectedWithoutARecordReportsAndKeepsThePane) {
  MainDialogHost host;
  MainWindow* window = host.window();
  host.AddSettings(1);
  window->ShowSetting(window->list->head()->setting);
  struct Case {
    const char* what;
    int select;
    std::string expectedName;
  } cases[] = {{"no selection", -1, ""}, {"row without a record", 1, "stray"}};
  // A row the list does not hold, as when the two have fallen out of step.
  SendMessageA(host.Control(IDC_SETTING_LIST), LB_INSERTSTRING, 1,
               reinterpret_cast<LPARAM>("stray"));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SendMessageA(host.Control(IDC_SETTING_LIST), LB_SETCURSEL, c.select, 0);
    Answerer answerer({Press(IDOK)});
    EXPECT_FALSE(window->ShowSelected());
    ASSERT_EQ(answerer.seen().size(), 1u);
    EXPECT_EQ(answerer.seen()[0].text,
              "\"" + c.expectedName + "\"の起動設定データの取得に失敗しました。");
    EXPECT_EQ(answerer.seen()[0].caption, "エラー");
    EXPECT_EQ(answerer.seen()[0].buttons, std::vector<int>{IDOK});
    EXPECT_EQ(answerer.seen()[0].icon, "error");
    EXPECT_EQ(window->currentIndex, c.select);
    EXPECT_EQ(host.Text(IDC_NAME), "name0");
    EXPECT_EQ(window->mode.load(), UiMode::Idle);
  }
}

TEST(ListPane, StrayRowTooLongForANameIsNeverCopied) {
  MainDialogHost host;
  MainWindow* window = host.window();
  std::string longRow(600, 'w');
  SendMessageA(host.Control(IDC_SETTING_LIST), LB_INSERTSTRING, 0,
               reinterpret_cast<LPARAM>(longRow.c_str()));
  SendMessageA(host.Control(IDC_SETTING_LIST), LB_SETCURSEL, 0, 0);
  std::memset(window->editBuffer.path, 'p', 16);
  Answerer answerer({Press(IDOK)});
  EXPECT_FALSE(window->ShowSelected());
  ASSERT_EQ(answerer.seen().size(), 1u);
  EXPECT_EQ(answerer.seen()[0].text, "\"\"の起動設定データの取得に失敗しました。");
  EXPECT_EQ(window->editBuffer.path[0], '\0');  // zeroed, not overrun by the row
  window->UpdateHorizontalExtent();
  EXPECT_EQ(SendMessageA(host.Control(IDC_SETTING_LIST), LB_GETHORIZONTALEXTENT, 0, 0), 0);
}

// The widest row with a space after it, every row measured in the list box's font.
LONG WidestRow(HWND listBox) {
  HDC dc = GetDC(listBox);
  HGDIOBJ old =
      SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(listBox, WM_GETFONT, 0, 0)));
  LONG widest = 0;
  for (LRESULT row = 0; row < SendMessageW(listBox, LB_GETCOUNT, 0, 0); ++row) {
    std::wstring text(SendMessageW(listBox, LB_GETTEXTLEN, row, 0) + 1, L'\0');
    SendMessageW(listBox, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text.data()));
    text.resize(wcslen(text.c_str()));
    text += L" ";
    SIZE size = {};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    widest = std::max(widest, size.cx);
  }
  SelectObject(dc, old);
  ReleaseDC(listBox, dc);
  return widest;
}

// On a list of thousands, after the fill and after each kind of edit, row i shows record i and
// the extent is the widest row's, though an edit measures only the rows it changed.
TEST(ListPane, LongListRowsAndExtentFollowEveryEdit) {
  TestFolder folder;
  std::string file = folder.Path("long.dat");
  std::vector<LaunchSetting> settings;
  for (int i = 0; i < 3000; ++i)
    settings.push_back(MakeSetting(("row" + std::to_string(i % 97)).c_str()));
  std::strcpy(settings[1500].name, "WWWWWWWWWWWWWWWWWWWW");
  WriteBytes(file, ListFileBytes(3000, 3100, settings));  // room for more
  MainDialogHost host;
  MainWindow* window = host.window();
  ASSERT_TRUE(window->list->LoadFromFile(file.c_str(), kListFileSignature, true));
  HWND listBox = host.Control(IDC_SETTING_LIST);
  auto inStep = [&](const char* after) {
    SCOPED_TRACE(after);
    std::vector<std::string> names;
    for (const LaunchSettingNode* node = window->list->head(); node; node = node->next) {
      names.push_back(node->setting.name);
    }
    EXPECT_EQ(host.Rows(), names);
    EXPECT_EQ(SendMessageW(listBox, LB_GETHORIZONTALEXTENT, 0, 0), WidestRow(listBox));
  };
  auto edit = [&](int row, int command, const char* name) {
    window->SelectRow(row);
    Answerer answers({Press(command == IDC_DELETE ? IDYES : IDOK)});
    host.Click(command);
    if (name == nullptr) return;
    SetText932(host.Control(IDC_NAME), name);
    SetText932(host.Control(IDC_PATH), "C:\\p.exe");
    host.Click(IDOK);
  };
  window->RefillList();
  inStep("fill");
  edit(10, IDC_NEW_ENTRY, "WWWWWWWWWWWWWWWWWWWWWWWWWWWW");
  inStep("a wider one inserted");
  edit(11, IDC_EDIT_ENTRY, "n");
  inStep("the widest edited narrower");
  edit(1500, IDC_DUPLICATE, nullptr);
  inStep("the widest duplicated");
  edit(1501, IDC_MOVE_UP, nullptr);
  edit(1501, IDC_DELETE, nullptr);
  inStep("moved, and one of the two widest deleted");
  edit(1500, IDC_DELETE, nullptr);
  inStep("the last of the widest deleted");
}

TEST(ListPane, HorizontalExtentIsTheWidestNamePlusASpace) {
  MainDialogHost host;
  MainWindow* window = host.window();
  HWND listBox = host.Control(IDC_SETTING_LIST);
  window->UpdateHorizontalExtent();
  EXPECT_EQ(SendMessageA(listBox, LB_GETHORIZONTALEXTENT, 0, 0), 0);
  const char* names[] = {"短い", "とても長い起動設定の名前です", "mid"};
  for (const char* name : names) {
    LaunchSetting setting = {};
    std::strcpy(setting.name, name);
    std::strcpy(setting.path, "x");
    window->list->Put(-1, setting);
  }
  window->RefillList();
  auto widestInFont = [listBox, &names]() {
    HDC dc = GetDC(listBox);
    HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(listBox, WM_GETFONT, 0, 0)));
    SIZE size = {};
    std::wstring widest = Wide932(names[1]) + L" ";
    GetTextExtentPoint32W(dc, widest.c_str(), static_cast<int>(widest.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(listBox, dc);
    return size.cx;
  };
  LONG width = widestInFont();
  EXPECT_GT(width, 0);
  EXPECT_EQ(SendMessageW(listBox, LB_GETHORIZONTALEXTENT, 0, 0), width);
  // A larger font, as Windows sends each control when the window moves to a monitor of more DPI.
  HFONT larger = CreateFontW(-40, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, 0, 0,
                             0, 0, L"MS UI Gothic");
  SendMessageW(listBox, WM_SETFONT, reinterpret_cast<WPARAM>(larger), FALSE);
  EXPECT_GT(widestInFont(), width);
  EXPECT_EQ(SendMessageW(listBox, LB_GETHORIZONTALEXTENT, 0, 0), widestInFont());
  SendMessageW(listBox, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
  DeleteObject(larger);
}

TEST(DialogAsMet, MinimiseBoxButNoMaximiseAndNoSizing) {
  MainDialogHost host;
  LONG_PTR style = GetWindowLongPtrA(host.dialog(), GWL_STYLE);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_EQ(GetWindowLongPtrA(host.dialog(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
}

TEST(DialogAsMet, TwentyThreeDifferentMnemonics) {
  MainDialogHost host;
  std::vector<char> letters;
  for (HWND child = GetWindow(host.dialog(), GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    std::string caption = WindowText932(child);
    const char* text = caption.c_str();
    for (const char* amp = std::strchr(text, '&'); amp != nullptr;
         amp = std::strchr(amp + 2, '&')) {
      if (amp[1] != '\0' && amp[1] != '&')
        letters.push_back(static_cast<char>(std::toupper(amp[1])));
    }
  }
  EXPECT_EQ(letters.size(), 23u);
  EXPECT_EQ(std::set<char>(letters.begin(), letters.end()).size(), 23u);
}

TEST(DialogAsMet, AltLettersReachTheirFields) {
  MainDialogHost host;
  host.Key(WM_SYSCHAR, 'i', 1 << 29);
  EXPECT_EQ(GetFocus(), host.Control(IDC_SETTING_LIST));
  host.window()->SetMode(UiMode::Edit);
  SetFocus(host.Control(IDC_OPTIONS));
  host.Key(WM_SYSCHAR, 'm', 1 << 29);
  EXPECT_EQ(GetFocus(), host.Control(IDC_NAME));
  host.window()->SetMode(UiMode::Idle);
}

// Keyboard input arrives as Unicode WM_CHARs; the subclassed fields must not split them.
TEST(DialogAsMet, TypedDoubleByteCharactersReachEveryFieldWhole) {
  MainDialogHost host;
  host.window()->SetMode(UiMode::New);
  for (int id : {IDC_NAME, IDC_PATH, IDC_OPTIONS}) {
    SCOPED_TRACE(id);
    for (wchar_t typed : std::wstring(L"一番 ソ表"))
      SendMessageW(host.Control(id), WM_CHAR, typed, 1);
    EXPECT_EQ(host.Text(id), "一番 ソ表");
  }
  host.window()->SetMode(UiMode::Idle);
}

// Enter presses the push button that has the focus, as the dialog manager keeps the default
// button with the focus: "新規登録(&N)" after start-up and after a registration; in a field of
// New, Enter registers.
TEST(DialogAsMet, EnterPressesTheFocusedButtonAndRegistersFromAField) {
  MainDialogHost host;
  for (const char* when : {"after start-up", "after a registration"}) {
    SCOPED_TRACE(when);
    EXPECT_EQ(GetFocus(), host.Control(IDC_NEW_ENTRY));
    host.Key(WM_KEYDOWN, VK_RETURN);
    ASSERT_EQ(host.window()->mode.load(), UiMode::New);
    EXPECT_EQ(GetFocus(), host.Control(IDC_NAME));
    {
      Answerer refused({Press(IDOK)});  // the empty pane is refused
      host.Key(WM_KEYDOWN, VK_RETURN);
      ASSERT_EQ(refused.seen().size(), 1u);
      EXPECT_EQ(refused.seen()[0].caption, "登録不可（未入力）");
    }
    SetText932(host.Control(IDC_NAME), "n");
    SetText932(host.Control(IDC_PATH), "p");
    Answerer registered({Press(IDOK)});
    host.Key(WM_KEYDOWN, VK_RETURN);
    ASSERT_EQ(registered.seen().size(), 1u);
    EXPECT_EQ(registered.seen()[0].caption, "登録完了");
    EXPECT_EQ(host.window()->mode.load(), UiMode::Idle);
  }
}

}  // namespace
