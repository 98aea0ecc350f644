// Every caption and message the program shows, grouped by command, exactly as the user sees them.
// Wide: Windows takes them as UTF-16 on every system.
#pragma once

namespace texts {

// Window caption.
inline constexpr wchar_t kProductName[] = L"カメリオランチャ";
inline constexpr wchar_t kTitleFormat[] = L"カメリオランチャ - %s";
inline constexpr wchar_t kUntitled[] = L"無題";

// Window-state combo box items, by WindowState value.
inline constexpr const wchar_t* kWindowStateItems[] = {L"通常のウィンドウ", L"最小化", L"最大化"};

// Batch button captions.
inline constexpr wchar_t kBatchRun[] = L"一括起動実行(&X)";
inline constexpr wchar_t kBatchStop[] = L"一括起動中止(&X)";

// About box.
inline constexpr wchar_t kAboutCaption[] = L"バージョン情報";
inline constexpr wchar_t kAboutText[] =
    L"カメリオランチャ\n\nVersion 1.10\n\nCopyright (C) kmlaunch developers. All rights reserved.";

// Shared by the single and the batch launch.
inline constexpr wchar_t kNoSettingsText[] = L"起動設定データが1件も登録されていません。";
inline constexpr wchar_t kLaunchFailedFormat[] = L"\"%s\"の起動に失敗しました。";
inline constexpr wchar_t kLaunchFailedCaption[] = L"起動失敗";
inline constexpr wchar_t kInvalidSettingFormat[] = L"%d番目の起動設定データが不正です。";
inline constexpr wchar_t kErrorCaption[] = L"エラー";

// Single launch.
inline constexpr wchar_t kLaunchOneNoSettingsCaption[] = L"単独起動実行不可（未登録）";
inline constexpr wchar_t kNotSelectedText[] = L"起動設定データが選択されていません。";
inline constexpr wchar_t kLaunchOneNotSelectedCaption[] = L"単独起動実行不可（未選択）";

// Showing the selected setting.
inline constexpr wchar_t kReadSettingFailedFormat[] =
    L"\"%s\"の起動設定データの取得に失敗しました。";

// List file commands.
inline constexpr wchar_t kDiscardListText[] =
    L"現在の起動設定リストは破棄されますが、よろしいですか？";
inline constexpr wchar_t kDiscardListCaption[] = L"破棄確認";
inline constexpr wchar_t kLoadChoiceTitle[] = L"読込方法";
inline constexpr wchar_t kLoadAppend[] = L"追加読込";
inline constexpr wchar_t kLoadReplace[] = L"置換読込";
inline constexpr wchar_t kLoadFailedText[] = L"読み込みに失敗しました。";
inline constexpr wchar_t kLoadFailedCaption[] = L"読込失敗";
inline constexpr wchar_t kSaveChoiceTitle[] = L"保存方法";
inline constexpr wchar_t kSaveOverwrite[] = L"上書き保存";
inline constexpr wchar_t kSaveAs[] = L"名前を付けて保存";
inline constexpr wchar_t kSaveFailedText[] = L"保存に失敗しました。";
inline constexpr wchar_t kSaveFailedCaption[] = L"保存失敗";
// Two entries, each a name and a pattern, and the closing empty entry.
inline constexpr wchar_t kListFileFilter[] =
    L"データファイル(*.dat)\0*.dat\0すべてのファイル(*.*)\0*.*\0";
inline constexpr wchar_t kOpenTitle[] = L"ファイルを開く";
inline constexpr wchar_t kSaveTitle[] = L"ファイルを保存";
inline constexpr wchar_t kListFileExtension[] = L"dat";

// Browse dialog and drops on the path and options fields: a path that does not fit.
inline constexpr wchar_t kBrowseTitle[] = L"ファイルまたはフォルダを選択";
inline constexpr wchar_t kBrowseTooLongCaption[] = L"参照不可（文字数上限）";
inline constexpr wchar_t kDropTooLongCaption[] = L"ドロップ不可（文字数上限）";
inline constexpr wchar_t kPathTooLongText[] =
    L"パスが起動パスの文字数上限を超えるため、入力できません。";
inline constexpr wchar_t kOptionsTooLongText[] =
    L"パスを加えるとオプションの文字数上限を超えるため、追加できません。";

// Entry editing.
inline constexpr wchar_t kListFullText[] = L"これ以上登録できません。";
inline constexpr wchar_t kNewFullCaption[] = L"登録不可（件数上限）";
inline constexpr wchar_t kEditNoSettingsCaption[] = L"編集不可（未登録）";
inline constexpr wchar_t kEditNotSelectedCaption[] = L"編集不可（未選択）";
inline constexpr wchar_t kDuplicateNoSettingsCaption[] = L"複製不可（未登録）";
inline constexpr wchar_t kDuplicateFullCaption[] = L"複製不可（件数上限）";
inline constexpr wchar_t kDuplicateNotSelectedCaption[] = L"複製不可（未選択）";
inline constexpr wchar_t kDuplicateFailedFormat[] = L"\"%s\"を複製できません。";
inline constexpr wchar_t kDuplicateFailedCaption[] = L"複製失敗";
inline constexpr wchar_t kDuplicatedFormat[] = L"\"%s\"を複製しました。";
inline constexpr wchar_t kDuplicatedCaption[] = L"複製完了";
inline constexpr wchar_t kMoveNoSettingsCaption[] = L"登録順変更不可（未登録）";
inline constexpr wchar_t kMoveNotSelectedCaption[] = L"登録順変更不可（未選択）";
inline constexpr wchar_t kRequiredText[] = L"登録名と起動パスは必須項目です。";
inline constexpr wchar_t kRequiredCaption[] = L"登録不可（未入力）";
inline constexpr wchar_t kWindowStateText[] = L"ウィンドウ状態を正しく選択してください。";
inline constexpr wchar_t kWindowStateCaption[] = L"登録不可（未選択）";
inline constexpr wchar_t kUnstorableCaption[] = L"登録不可（対象外文字）";
inline constexpr wchar_t kUnstorableNameText[] = L"登録名に保存できない文字が含まれています。";
inline constexpr wchar_t kUnstorablePathText[] = L"起動パスに保存できない文字が含まれています。";
inline constexpr wchar_t kUnstorableOptionsText[] =
    L"オプションに保存できない文字が含まれています。";
inline constexpr wchar_t kRegisterFailedFormat[] = L"\"%s\"を登録できません。";
inline constexpr wchar_t kRegisterFailedCaption[] = L"登録失敗";
inline constexpr wchar_t kRegisteredFormat[] = L"\"%s\"を登録しました。";
inline constexpr wchar_t kRegisteredCaption[] = L"登録完了";
inline constexpr wchar_t kCancelEditText[] = L"変更は取り消されますが、よろしいですか？";
inline constexpr wchar_t kCancelEditCaption[] = L"取消確認";
inline constexpr wchar_t kRestoreFailedFormat[] = L"%d番目の起動設定データの復元に失敗しました。";
inline constexpr wchar_t kDeleteNoSettingsCaption[] = L"削除不可（未登録）";
inline constexpr wchar_t kDeleteNotSelectedCaption[] = L"削除不可（未選択）";
inline constexpr wchar_t kDeleteConfirmFormat[] = L"\"%s\"を本当に削除しますか？";
inline constexpr wchar_t kDeleteConfirmCaption[] = L"削除確認";
inline constexpr wchar_t kDeleteFailedFormat[] = L"\"%s\"の起動設定データの削除に失敗しました。";
inline constexpr wchar_t kDeleteEditingText[] = L"編集中の起動設定データを本当に削除しますか？";
inline constexpr wchar_t kDeleteEditingFailedText[] = L"削除に失敗しました。";

// Batch launch.
inline constexpr wchar_t kBatchNoSettingsCaption[] = L"実行不可（未登録）";
inline constexpr wchar_t kBatchDoneText[] = L"すべての起動が完了しました。";
inline constexpr wchar_t kBatchDoneCaption[] = L"一括起動完了";
inline constexpr wchar_t kBatchStoppedText[] = L"一括起動を中止しました。";
inline constexpr wchar_t kBatchStoppedCaption[] = L"一括起動中止";
inline constexpr wchar_t kBatchThreadFailedText[] = L"一括起動を開始できませんでした。";
// The caption while a batch runs: how many enabled settings have started, of how many, the one
// starting now, then the usual caption.
inline constexpr wchar_t kBatchProgressFormat[] = L"一括起動 %d/%d %s - ";

// Close.
inline constexpr wchar_t kSaveBeforeExitText[] = L"終了する前に変更を保存しますか？";
inline constexpr wchar_t kSaveBeforeExitCaption[] = L"保存確認";

// Sign-out, restart or shut-down with unsaved changes: Windows takes this text wide.
inline constexpr wchar_t kUnsavedChangesReason[] = L"保存されていない変更があります。";
// The same while a list file is being read or written.
inline constexpr wchar_t kListFileWorkReason[] = L"リストファイルを読み書きしています。";

}  // namespace texts
