#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zanto {

// Every text the batch rename shows, as UTF-8. Names passed in are already in
// display form (the window converts native names); the texts add nothing to them.

inline constexpr std::string_view CONFIRM_TITLE = "ファイル名変更";
inline constexpr std::string_view DROP_TITLE = "名前変更";
inline constexpr std::string_view STOP_TITLE = "エラー";
inline constexpr std::string_view STOP_MSG = "エラーが発生しました.\r\n\r\nファイル名変換を中止します";
inline constexpr std::string_view END_CAPTION = "ZANTO_ [連続モード]";
// Title of the after-run notices (names too long, files not renamed or not restored).
inline constexpr std::string_view NOTICE_TITLE = "ファイル名変更";

inline constexpr std::string_view RECOVERY_QUESTION =
    "前回の連続変換は途中で終わりました.\r\n\r\n元のファイル名に戻しますか？";
inline constexpr std::string_view UNDO_TITLE = "元に戻す";
inline constexpr std::string_view JOURNAL_UNWRITABLE_MSG =
    "変換の記録を書き込めませんでした.\r\n\r\nファイル名変換を中止します";

// How many names a notice lists before it only counts the rest.
inline constexpr std::size_t NOTICE_NAME_LIMIT = 5;

// The question before anything moves; an empty base names only the number.
std::string confirmText(const std::string& base);

// Asked, entry by entry, for a listed file that can no longer be opened.
std::string dropQuestion(const std::string& entry);

// Caption of the check pass: `remaining` is the position just checked.
std::string checkCaption(std::size_t remaining);

// Caption of the first pass: `position` is the 0-based position just handled.
// A folder that ends with the separator (a root) reads with "--".
std::string readingCaption(const std::string& folder, std::size_t position);

// Caption of the second pass: entries not yet under their final names.
std::string convertingCaption(std::size_t remaining);

// The run is refused before anything moves: `name` would be too long.
std::string nameTooLongText(const std::string& name);

// After a run: `count` files did not get their new names; `names` holds the
// first few as they now stand in the folder (at most NOTICE_NAME_LIMIT are shown).
std::string notRenamedText(std::size_t count, const std::vector<std::string>& names);

// After a stopped run: `count` files could not be given back their old names;
// `names` holds the first few as they now stand in the folder.
std::string notRestoredText(std::size_t count, const std::vector<std::string>& names);

// Asked before the last batch of `folder` is undone.
std::string undoConfirmText(const std::string& folder);

// Told once: the journal of an unfinished run was unreadable and now lies at `path`.
std::string journalDamagedText(const std::string& path);

// The unfinished run's folder is gone or not mounted; the journal waits.
std::string recoveryFolderMissingText(const std::string& folder);

// After an undo: `count` files changed since the batch were left as they are.
std::string leftAloneText(std::size_t count, const std::vector<std::string>& names);

// A case-only rename could not go forward nor back: the file is under `name`.
std::string strandedText(const std::string& name);

} // namespace zanto
