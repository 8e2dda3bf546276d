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

inline constexpr std::string_view UNDO_TITLE = "元に戻す";
inline constexpr std::string_view JOURNAL_UNWRITABLE_MSG =
    "変換の記録を書き込めませんでした.\r\n\r\nファイル名変換を中止します";

// How many names a notice lists before it only counts the rest (all of them
// stand in the notice's details).
inline constexpr std::size_t NOTICE_NAME_LIMIT = 5;

// A file as a notice names it: the name it has now and, where that differs,
// the name it had before the run. Display form.
struct NoticeName {
    std::string now;
    std::string original;
};

// Every name of a notice, one a line, for its details.
std::string nameList(const std::vector<NoticeName>& names);

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
std::string notRenamedText(std::size_t count, const std::vector<NoticeName>& names);

// After a stopped run: `count` files could not be given back their old names;
// `names` holds the first few as they now stand in the folder.
std::string notRestoredText(std::size_t count, const std::vector<NoticeName>& names);

// Asked before the last batch of `folder` is undone.
std::string undoConfirmText(const std::string& folder);

// After an undo: `count` files were not moved back because another file holds
// their original names; the record keeps them for a later undo.
std::string originalTakenText(std::size_t count, const std::vector<NoticeName>& names);

// Asked at start for each run that never ended, naming its folder; `undo`
// when the run was an undo.
std::string recoveryQuestion(const std::string& folder, bool undo);

// Added to the stop message: a failed rename took the file along, which was
// `from` (called `original` before the run) on its way to `to`.
std::string lostFileText(const std::string& from, const std::string& to, const std::string& original);

// Told once: the journal of an unfinished run was unreadable and now lies at `path`.
std::string journalDamagedText(const std::string& path);

// The unfinished run's folder is gone or not mounted; the journal waits.
std::string recoveryFolderMissingText(const std::string& folder);

// After an undo: `count` files changed since the batch were left as they are.
std::string leftAloneText(std::size_t count, const std::vector<NoticeName>& names);

// A case-only rename could not go forward nor back: the file is under `name`,
// which was `original`.
std::string strandedText(const std::string& name, const std::string& original);

} // namespace zanto
