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

// Entry editing.
inline constexpr char kListFullText[] = "これ以上登録できません。";
inline constexpr char kNewFullCaption[] = "登録不可（件数上限）";
inline constexpr char kEditNoSettingsCaption[] = "編集不可（未登録）";
inline constexpr char kEditNotSelectedCaption[] = "編集不可（未選択）";
inline constexpr char kDuplicateNoSettingsCaption[] = "複製不可（未登録）";
inline constexpr char kDuplicateFullCaption[] = "複製不可（件数上限）";
inline constexpr char kDuplicateNotSelectedCaption[] = "複製不可（未選択）";
inline constexpr char kDuplicateFailedFormat[] = "\"%s\"を複製できません。";
inline constexpr char kDuplicateFailedCaption[] = "複製失敗";
inline constexpr char kDuplicatedFormat[] = "\"%s\"を複製しました。";
inline constexpr char kDuplicatedCaption[] = "複製完了";
inline constexpr char kMoveNoSettingsCaption[] = "登録順変更不可（未登録）";
inline constexpr char kMoveNotSelectedCaption[] = "登録順変更不可（未選択）";
inline constexpr char kRequiredText[] = "登録名と起動パスは必須項目です。";
inline constexpr char kRequiredCaption[] = "登録不可（未入力）";
inline constexpr char kWindowStateText[] = "ウィンドウ状態を正しく選択してください。";
inline constexpr char kWindowStateCaption[] = "登録不可（未選択）";
inline constexpr char kRegisterFailedFormat[] = "\"%s\"を登録できません。";
inline constexpr char kRegisterFailedCaption[] = "登録失敗";
inline constexpr char kRegisteredFormat[] = "\"%s\"を登録しました。";
inline constexpr char kRegisteredCaption[] = "登録完了";
inline constexpr char kCancelEditText[] = "変更は取り消されますが、よろしいですか？";
inline constexpr char kCancelEditCaption[] = "取消確認";
inline constexpr char kRestoreFailedFormat[] = "%d番目の起動設定データの復元に失敗しました。";
inline constexpr char kDeleteNoSettingsCaption[] = "削除不可（未登録）";
inline constexpr char kDeleteNotSelectedCaption[] = "削除不可（未選択）";
inline constexpr char kDeleteConfirmFormat[] = "\"%s\"を本当に削除しますか？";
inline constexpr char kDeleteConfirmCaption[] = "削除確認";
inline constexpr char kDeleteFailedFormat[] = "\"%s\"の起動設定データの削除に失敗しました。";
inline constexpr char kDeleteEditingText[] = "編集中の起動設定データを本当に削除しますか？";
inline constexpr char kDeleteEditingFailedText[] = "削除に失敗しました。";

// Batch launch.
inline constexpr char kBatchNoSettingsCaption[] = "実行不可（未登録）";
inline constexpr char kBatchDoneText[] = "すべての起動が完了しました。";
inline constexpr char kBatchDoneCaption[] = "一括起動完了";
inline constexpr char kBatchStoppedText[] = "一括起動を中止しました。";
inline constexpr char kBatchStoppedCaption[] = "一括起動中止";
inline constexpr char kBatchThreadFailedText[] = "一括起動を開始できませんでした。";

// Close.
inline constexpr char kSaveBeforeExitText[] = "終了する前に変更を保存しますか？";
inline constexpr char kSaveBeforeExitCaption[] = "保存確認";

// Sign-out, restart or shut-down with unsaved changes: Windows takes this text wide.
inline constexpr wchar_t kUnsavedChangesReason[] = L"保存されていない変更があります。";

}  // namespace texts
