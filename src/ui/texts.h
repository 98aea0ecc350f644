// Every caption and message the program shows, grouped by command, exactly as the user sees them.
#pragma once

namespace texts {

// Window caption.
inline constexpr char kProductName[] = "カメリオランチャ";
inline constexpr char kTitleFormat[] = "カメリオランチャ - %s";
inline constexpr char kUntitled[] = "無題";

// Window-state combo box items, by WindowState value.
inline constexpr const char* kWindowStateItems[] = {"通常のウィンドウ", "最小化", "最大化"};

// Batch button captions.
inline constexpr char kBatchRun[] = "一括起動実行(&X)";
inline constexpr char kBatchStop[] = "一括起動中止(&X)";

// About box.
inline constexpr char kAboutCaption[] = "バージョン情報";
inline constexpr char kAboutText[] =
    "カメリオランチャ\n\nVersion 1.10\n\nCopyright (C) kmlaunch developers. All rights reserved.";

// Shared by the single and the batch launch.
inline constexpr char kNoSettingsText[] = "起動設定データが1件も登録されていません。";
inline constexpr char kLaunchFailedFormat[] = "\"%s\"の起動に失敗しました。";
inline constexpr char kLaunchFailedCaption[] = "起動失敗";
inline constexpr char kInvalidSettingFormat[] = "%d番目の起動設定データが不正です。";
inline constexpr char kErrorCaption[] = "エラー";

// Single launch.
inline constexpr char kLaunchOneNoSettingsCaption[] = "単独起動実行不可（未登録）";
inline constexpr char kNotSelectedText[] = "起動設定データが選択されていません。";
inline constexpr char kLaunchOneNotSelectedCaption[] = "単独起動実行不可（未選択）";

// Showing the selected setting.
inline constexpr char kReadSettingFailedFormat[] = "\"%s\"の起動設定データの取得に失敗しました。";

// List file commands.
inline constexpr char kDiscardListText[] = "現在の起動設定リストは破棄されますが、よろしいですか？";
inline constexpr char kDiscardListCaption[] = "破棄確認";
inline constexpr char kLoadChoiceTitle[] = "読込方法";
inline constexpr char kLoadAppend[] = "追加読込";
inline constexpr char kLoadReplace[] = "置換読込";
inline constexpr char kLoadFailedText[] = "読み込みに失敗しました。";
inline constexpr char kLoadFailedCaption[] = "読込失敗";
inline constexpr char kSaveChoiceTitle[] = "保存方法";
inline constexpr char kSaveOverwrite[] = "上書き保存";
inline constexpr char kSaveAs[] = "名前を付けて保存";
inline constexpr char kSaveFailedText[] = "保存に失敗しました。";
inline constexpr char kSaveFailedCaption[] = "保存失敗";
// Two entries, each a name and a pattern, and the closing empty entry.
inline constexpr char kListFileFilter[] =
    "データファイル(*.dat)\0*.dat\0すべてのファイル(*.*)\0*.*\0";
inline constexpr char kOpenTitle[] = "ファイルを開く";
inline constexpr char kSaveTitle[] = "ファイルを保存";
inline constexpr char kListFileExtension[] = "dat";

// Browse dialog.
inline constexpr char kBrowseTitle[] = "ファイルまたはフォルダを選択";

// Close.
inline constexpr char kSaveBeforeExitText[] = "終了する前に変更を保存しますか？";
inline constexpr char kSaveBeforeExitCaption[] = "保存確認";

}  // namespace texts
