#include "BatchTexts.h"

#include "rename/PathRule.h"

namespace zanto {

namespace {

// "「a」\r\n「b」" for the first names, then how many more there are.
std::string nameLines(std::size_t count, const std::vector<std::string>& names)
{
    std::string lines;
    std::size_t shown = 0;
    for (const auto& name : names) {
        if (shown == NOTICE_NAME_LIMIT || shown == count)
            break;
        if (shown > 0)
            lines += "\r\n";
        lines += "「" + name + "」";
        ++shown;
    }
    if (count > shown)
        lines += "\r\nほか" + std::to_string(count - shown) + "個";
    return lines;
}

} // namespace

std::string confirmText(const std::string& base)
{
    const std::string first =
        base.empty() ? std::string("「連番＋拡張子」に変換します.") : "「" + base + "＋連番＋拡張子」に変換します.";
    return first + "\r\n\r\n実行してもいいですか？";
}

std::string dropQuestion(const std::string& entry)
{
    return "「" + entry + "」が削除されています.\r\n\r\nリストから「" + entry + "」を外しますか？";
}

std::string checkCaption(std::size_t remaining)
{
    return "ファイルチェック中--残り" + std::to_string(remaining) + "個";
}

std::string readingCaption(const std::string& folder, std::size_t position)
{
    const bool root = !folder.empty() && folder.back() == kPathSeparator;
    return (root ? "ファイル読み取り中--" : "ファイル読み取り中") + std::to_string(position) + "個";
}

std::string convertingCaption(std::size_t remaining)
{
    return "変換中--残り" + std::to_string(remaining) + "個";
}

std::string nameTooLongText(const std::string& name)
{
    return "「" + name + "」は長すぎてファイル名にできません.\r\n\r\nファイル名変換を中止します";
}

std::string notRenamedText(std::size_t count, const std::vector<std::string>& names)
{
    return std::to_string(count) + "個のファイルは新しい名前に変換できませんでした.\r\n\r\n" + nameLines(count, names);
}

std::string notRestoredText(std::size_t count, const std::vector<std::string>& names)
{
    return std::to_string(count) + "個のファイルを元の名前に戻せませんでした.\r\n\r\n" + nameLines(count, names);
}

std::string undoConfirmText(const std::string& folder)
{
    return "「" + folder + "」の直前の連続変換を元に戻します.\r\n\r\n実行してもいいですか？";
}

std::string journalDamagedText(const std::string& path)
{
    return "前回の連続変換の記録が壊れているので使えません.\r\n\r\n記録は「" + path + "」に移しました";
}

std::string recoveryFolderMissingText(const std::string& folder)
{
    return "前回の連続変換のフォルダー「" + folder
        + "」が見つかりません.\r\n\r\n元に戻すかどうかは次回の起動時にお尋ねします";
}

std::string leftAloneText(std::size_t count, const std::vector<std::string>& names)
{
    return std::to_string(count) + "個のファイルは変換後に変更されたので元に戻しませんでした.\r\n\r\n"
        + nameLines(count, names);
}

std::string strandedText(const std::string& name)
{
    return "名前を変更できませんでした.\r\n\r\nファイルは「" + name + "」の名前で残っています";
}

} // namespace zanto
