// The editing commands on the real dialog: every message by its table, and a long random run
// against a plain model of the list.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "resource.h"
#include "ui_test_support.h"

namespace {

// One command, one expected box: its text, caption, buttons and icon, answered with answer.
struct Expectation {
  const char* what;
  void (*prepare)(MainDialogHost&);
  int command;
  std::string text;
  std::string caption;
  std::vector<int> buttons;
  std::string icon;
  int answer;
  UiMode modeAfter;
};

void Empty(MainDialogHost&) {}
void Full(MainDialogHost& h) { h.AddSettings(30); }
void TwoUnselected(MainDialogHost& h) { h.AddSettings(2); }
void TwoSecondSelected(MainDialogHost& h) {
  h.AddSettings(2);
  h.Select(1);
}
void EditingFirst(MainDialogHost& h) {
  h.AddSettings(2);
  h.Select(0);
  h.Click(IDC_EDIT_ENTRY);
}
void NewBlank(MainDialogHost& h) { h.Click(IDC_NEW_ENTRY); }
void NewNoWindowState(MainDialogHost& h) {
  h.Click(IDC_NEW_ENTRY);
  SetText932(h.Control(IDC_NAME), "n");
  SetText932(h.Control(IDC_PATH), "p");
  SendMessageA(h.Control(IDC_WINDOW_STATE), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
}

const std::vector<int> kOk = {IDOK};
const std::vector<int> kYesNo = {IDYES, IDNO};

TEST(EntryEditing, EveryWarningConfirmationAndNotice) {
  const Expectation cases[] = {
      {"new on a full list", Full, IDC_NEW_ENTRY, "これ以上登録できません。",
       "登録不可（件数上限）", kOk, "warning", IDOK, UiMode::Idle},
      {"edit on an empty list", Empty, IDC_EDIT_ENTRY, "起動設定データが1件も登録されていません。",
       "編集不可（未登録）", kOk, "warning", IDOK, UiMode::Idle},
      {"edit without selection", TwoUnselected, IDC_EDIT_ENTRY,
       "起動設定データが選択されていません。", "編集不可（未選択）", kOk, "warning", IDOK,
       UiMode::Idle},
      {"duplicate on an empty list", Empty, IDC_DUPLICATE,
       "起動設定データが1件も登録されていません。", "複製不可（未登録）", kOk, "warning", IDOK,
       UiMode::Idle},
      {"duplicate on a full list, before the selection", Full, IDC_DUPLICATE,
       "これ以上登録できません。", "複製不可（件数上限）", kOk, "warning", IDOK, UiMode::Idle},
      {"duplicate without selection", TwoUnselected, IDC_DUPLICATE,
       "起動設定データが選択されていません。", "複製不可（未選択）", kOk, "warning", IDOK,
       UiMode::Idle},
      {"duplicate", TwoSecondSelected, IDC_DUPLICATE, "\"name1\"を複製しました。", "複製完了", kOk,
       "information", IDOK, UiMode::Idle},
      {"up on an empty list", Empty, IDC_MOVE_UP, "起動設定データが1件も登録されていません。",
       "登録順変更不可（未登録）", kOk, "warning", IDOK, UiMode::Idle},
      {"down without selection", TwoUnselected, IDC_MOVE_DOWN,
       "起動設定データが選択されていません。", "登録順変更不可（未選択）", kOk, "warning", IDOK,
       UiMode::Idle},
      {"register without name", NewBlank, IDOK, "登録名と起動パスは必須項目です。",
       "登録不可（未入力）", kOk, "warning", IDOK, UiMode::New},
      {"register without window state", NewNoWindowState, IDOK,
       "ウィンドウ状態を正しく選択してください。", "登録不可（未選択）", kOk, "warning", IDOK,
       UiMode::New},
      {"cancel edit, No", EditingFirst, IDC_CANCEL_EDIT, "変更は取り消されますが、よろしいですか？",
       "取消確認", kYesNo, "warning", IDNO, UiMode::Edit},
      {"cancel edit, Yes", EditingFirst, IDC_CANCEL_EDIT,
       "変更は取り消されますが、よろしいですか？", "取消確認", kYesNo, "warning", IDYES,
       UiMode::Idle},
      {"delete on an empty list", Empty, IDC_DELETE, "起動設定データが1件も登録されていません。",
       "削除不可（未登録）", kOk, "warning", IDOK, UiMode::Idle},
      {"delete without selection", TwoUnselected, IDC_DELETE,
       "起動設定データが選択されていません。", "削除不可（未選択）", kOk, "warning", IDOK,
       UiMode::Idle},
      {"delete, No", TwoSecondSelected, IDC_DELETE, "\"name1\"を本当に削除しますか？", "削除確認",
       kYesNo, "warning", IDNO, UiMode::Idle},
      {"delete while editing, No", EditingFirst, IDC_DELETE,
       "編集中の起動設定データを本当に削除しますか？", "削除確認", kYesNo, "warning", IDNO,
       UiMode::Edit},
  };
  for (const Expectation& c : cases) {
    SCOPED_TRACE(c.what);
    MainDialogHost host;
    c.prepare(host);
    std::vector<std::string> rowsBefore = host.Rows();
    Answerer answerer({Press(c.answer)});
    host.Click(c.command);
    ASSERT_EQ(answerer.seen().size(), 1u);
    const Seen& box = answerer.seen()[0];
    EXPECT_EQ(box.text, c.text);
    EXPECT_EQ(box.caption, c.caption);
    EXPECT_EQ(box.buttons, c.buttons);
    EXPECT_EQ(box.icon, c.icon);
    EXPECT_EQ(host.window()->mode.load(), c.modeAfter);
    if (c.command != IDC_DUPLICATE || box.icon == "warning") {
      EXPECT_EQ(host.Rows(), rowsBefore);
    }
    host.window()->SetMode(UiMode::Idle);
  }
}

TEST(EntryEditing, NewEntryStartsWithNormalWindowAndEnabledTicked) {
  MainDialogHost host;
  host.AddSettings(2);
  host.Select(1);
  host.Click(IDC_NEW_ENTRY);
  EXPECT_EQ(host.window()->mode.load(), UiMode::New);
  EXPECT_EQ(host.window()->currentIndex, 1);
  EXPECT_EQ(host.Text(IDC_NAME), "");
  EXPECT_EQ(SendMessageA(host.Control(IDC_WINDOW_STATE), CB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(SendMessageA(host.Control(IDC_ENABLED), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(GetFocus(), host.Control(IDC_NAME));
  // Typed, then Enter: inserted after the selected row, and that row selected.
  SetText932(host.Control(IDC_NAME), " ");  // a blank name is a name
  SetText932(host.Control(IDC_PATH), "C:\\x.exe");
  SetText932(host.Control(IDC_OPTIONS), "-o 100%");
  Answerer answerer({Press(IDOK)});
  host.Key(WM_KEYDOWN, VK_RETURN);
  ASSERT_EQ(answerer.seen().size(), 1u);
  EXPECT_EQ(answerer.seen()[0].text, "\" \"を登録しました。");
  EXPECT_EQ(answerer.seen()[0].caption, "登録完了");
  EXPECT_EQ(answerer.seen()[0].icon, "information");
  EXPECT_EQ(host.Rows(), (std::vector<std::string>{"name0", "name1", " "}));
  EXPECT_EQ(host.Selection(), 2);
  EXPECT_EQ(host.window()->mode.load(), UiMode::Idle);
  LaunchSetting stored;
  ASSERT_TRUE(host.window()->list->Get(2, &stored));
  EXPECT_STREQ(stored.options, "-o 100%");
  EXPECT_EQ(stored.enabled, 1);
  EXPECT_EQ(stored.windowState, 0);
}

TEST(EntryEditing, CancelRestoresOrEmptiesAndFailedRestoreNamesTheZeroBasedRow) {
  MainDialogHost host;
  host.AddSettings(2);
  host.Select(0);
  host.Click(IDC_EDIT_ENTRY);
  SetText932(host.Control(IDC_NAME), "changed");
  {
    Answerer answerer({Press(IDYES)});
    host.Click(IDC_CANCEL_EDIT);
    EXPECT_EQ(host.Text(IDC_NAME), "name0");
  }
  SendMessageA(host.Control(IDC_SETTING_LIST), LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  host.Click(IDC_NEW_ENTRY);
  {
    Answerer answerer({Press(IDYES)});
    host.Key(WM_KEYDOWN, VK_ESCAPE);  // Esc in New asks the same
    EXPECT_EQ(answerer.seen().size(), 1u);
    EXPECT_EQ(host.Text(IDC_NAME), "");
    EXPECT_EQ(host.window()->mode.load(), UiMode::Idle);
  }
  host.Select(0);
  host.Click(IDC_EDIT_ENTRY);
  host.window()->list->Clear();  // the record behind the row has gone
  Answerer answerer({Press(IDYES), Press(IDOK)});
  EXPECT_FALSE(host.window()->CancelEdit());
  ASSERT_EQ(answerer.seen().size(), 2u);
  EXPECT_EQ(answerer.seen()[1].text, "0番目の起動設定データの復元に失敗しました。");
  EXPECT_EQ(answerer.seen()[1].caption, "エラー");
  EXPECT_EQ(answerer.seen()[1].icon, "error");
  EXPECT_EQ(host.window()->mode.load(), UiMode::Idle);
  EXPECT_EQ(host.Text(IDC_NAME), "");
}

// The model: names in order, the selection, the mode and the current index.
struct Model {
  std::vector<std::string> names;
  int selection = -1;
  UiMode mode = UiMode::Idle;
  int current = -1;
};

TEST(EntryEditing, AgreesWithAModelOverARandomRun) {
  std::mt19937 random(7);
  MainDialogHost host;
  Model model;
  int serial = 0;
  for (int step = 0; step < 600; ++step) {
    SCOPED_TRACE(step);
    int count = static_cast<int>(model.names.size());
    std::vector<int> answers;
    std::string expectedCaption;  // empty: no box
    int pick = static_cast<int>(random() % 100);
    bool yes = random() % 3 != 0;
    if (model.mode == UiMode::Idle) {
      if (pick < 20) {
        int row = count == 0 ? -1 : static_cast<int>(random() % (count + 1)) - 1;
        if (row >= 0) {
          host.Select(row);
          model.selection = model.current = row;
        } else {
          SendMessageA(host.Control(IDC_SETTING_LIST), LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
          model.selection = -1;
        }
      } else if (pick < 35) {
        Answerer answerer({Press(IDOK)});
        host.Click(IDC_NEW_ENTRY);
        if (count >= 30) {
          expectedCaption = "登録不可（件数上限）";
        } else {
          model.mode = UiMode::New;
          model.current = model.selection;
        }
        ASSERT_EQ(answerer.seen().size(), expectedCaption.empty() ? 0u : 1u);
      } else if (pick < 50) {
        Answerer answerer({Press(IDOK)});
        host.Click(IDC_EDIT_ENTRY);
        if (count == 0) {
          expectedCaption = "編集不可（未登録）";
        } else if (model.selection < 0) {
          expectedCaption = "編集不可（未選択）";
        } else {
          model.mode = UiMode::Edit;
          model.current = model.selection;
        }
        if (!expectedCaption.empty()) {
          ASSERT_EQ(answerer.seen().size(), 1u);
          EXPECT_EQ(answerer.seen()[0].caption, expectedCaption);
        }
      } else if (pick < 60) {
        Answerer answerer({Press(IDOK)});
        host.Click(IDC_DUPLICATE);
        ASSERT_EQ(answerer.seen().size(), 1u);
        if (count == 0) {
          EXPECT_EQ(answerer.seen()[0].caption, "複製不可（未登録）");
        } else if (count >= 30) {
          EXPECT_EQ(answerer.seen()[0].caption, "複製不可（件数上限）");
        } else if (model.selection < 0) {
          EXPECT_EQ(answerer.seen()[0].caption, "複製不可（未選択）");
        } else {
          EXPECT_EQ(answerer.seen()[0].caption, "複製完了");
          model.names.insert(model.names.begin() + model.selection + 1,
                             model.names[model.selection]);
          model.current = model.selection;
        }
      } else if (pick < 80) {
        bool up = pick < 70;
        Answerer answerer({Press(IDOK)});
        host.Click(up ? IDC_MOVE_UP : IDC_MOVE_DOWN);
        if (count == 0 || model.selection < 0) {
          ASSERT_EQ(answerer.seen().size(), 1u);
        } else {
          ASSERT_EQ(answerer.seen().size(), 0u);
          int s = model.selection;
          model.current = s;
          int target = up ? s - 1 : s + 1;
          if (target >= 0 && target < count) {
            std::swap(model.names[s], model.names[target]);
            model.selection = target;
          }
        }
      } else {
        Answerer answerer({Press(yes ? IDYES : IDNO)});
        host.Click(IDC_DELETE);
        ASSERT_EQ(answerer.seen().size(), 1u);
        if (count > 0 && model.selection >= 0 && yes) {
          model.names.erase(model.names.begin() + model.selection);
          model.current = model.selection;
          if (model.names.empty()) {
            model.selection = -1;
          } else {
            if (model.current >= static_cast<int>(model.names.size())) {
              model.current = static_cast<int>(model.names.size()) - 1;
            }
            model.selection = model.current;
          }
        } else if (count > 0 && model.selection >= 0) {
          model.current = model.selection;
        }
      }
    } else {
      if (pick < 60) {
        std::string name = "s" + std::to_string(serial++);
        SetText932(host.Control(IDC_NAME), name);
        SetText932(host.Control(IDC_PATH), "C:\\p.exe");
        Answerer answerer({Press(IDOK)});
        host.Click(IDOK);
        ASSERT_EQ(answerer.seen().size(), 1u);
        EXPECT_EQ(answerer.seen()[0].caption, "登録完了");
        if (model.mode == UiMode::Edit) {
          model.names[model.current] = name;
          model.selection = model.current;
        } else if (model.current == -1) {
          model.names.push_back(name);
          model.selection = static_cast<int>(model.names.size()) - 1;
        } else {
          model.names.insert(model.names.begin() + model.current + 1, name);
          model.selection = model.current + 1;
        }
        model.mode = UiMode::Idle;
      } else if (pick < 85) {
        Answerer answerer({Press(yes ? IDYES : IDNO)});
        host.Click(IDC_CANCEL_EDIT);
        ASSERT_EQ(answerer.seen().size(), 1u);
        if (yes) model.mode = UiMode::Idle;
      } else if (model.mode == UiMode::Edit) {
        Answerer answerer({Press(yes ? IDYES : IDNO)});
        host.Click(IDC_DELETE);
        ASSERT_EQ(answerer.seen().size(), 1u);
        if (yes) {
          model.names.erase(model.names.begin() + model.current);
          model.mode = UiMode::Idle;
          if (model.names.empty()) {
            model.selection = -1;
          } else {
            if (model.current >= static_cast<int>(model.names.size())) {
              model.current = static_cast<int>(model.names.size()) - 1;
            }
            model.selection = model.current;
          }
        }
      }
    }
    std::vector<std::string> listNames;
    for (const LaunchSettingNode* n = host.window()->list->head(); n; n = n->next) {
      listNames.emplace_back(n->setting.name);
    }
    ASSERT_EQ(host.Rows(), model.names);
    ASSERT_EQ(listNames, model.names);
    ASSERT_EQ(host.Selection(), model.selection);
    ASSERT_EQ(host.window()->mode.load(), model.mode);
    ASSERT_EQ(host.window()->currentIndex, model.current);
  }
}

}  // namespace
