#include "BatchTexts.h"

#include "rename/PathRule.h"

namespace zanto {

namespace {

std::string nameLine(const NoticeName& name)
{
    std::string line = "「" + name.now + "」";
    if (name.original != name.now)
        line += "（元の名前「" + name.original + "」）";
    return line;
}

// "「a」\r\n「b」" for the first names, then how many more there are.
std::string nameLines(std::size_t count, const std::vector<NoticeName>& names)
{
    std::string lines;
    std::size_t shown = 0;
    for (const auto& name : names) {
        if (shown == NOTICE_NAME_LIMIT || shown == count)
            break;
        if (shown > 0)
            lines += "\r\n";
        lines += nameLine(name);
        ++shown;
    }
    if (count > shown)
        lines += "\r\nほか" + std::to_string(count - shown) + "個";
    return lines;
}

} // namespace

std::string nameList(const std::vector<NoticeName>& names)
{
    std::string lines;
    for (const NoticeName& name : names)
        lines += nameLine(name) + "\n";
    return lines;
}

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

std::string notRenamedText(std::size_t count, const std::vector<NoticeName>& names)
{
    return std::to_string(count) + "個のファイルは新しい名前に変換できませんでした.\r\n\r\n" + nameLines(count, names);
}

std::string notRestoredText(std::size_t count, const std::vector<NoticeName>& names)
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

std::string leftAloneText(std::size_t count, const std::vector<NoticeName>& names)
{
    return std::to_string(count) + "個のファイルは変換後に変更されたので元に戻しませんでした.\r\n\r\n"
        + nameLines(count, names);
}

std::string strandedText(const std::string& name, const std::string& original)
{
    return "名前を変更できませんでした.\r\n\r\nファイル「" + original + "」は「" + name + "」の名前で残っています";
}

std::string originalTakenText(std::size_t count, const std::vector<NoticeName>& names)
{
    return std::to_string(count)
        + "個のファイルは元の名前がほかのファイルに使われているので元に戻しませんでした.\r\n"
          "その名前を空けると, もう一度元に戻せます.\r\n\r\n"
        + nameLines(count, names);
}

std::string recoveryQuestion(const std::string& folder, bool undo)
{
    if (undo)
        return "「" + folder + "」での「元に戻す」は途中で終わりました.\r\n\r\n「元に戻す」の前のファイル名に戻しますか？";
    return "「" + folder + "」での前回の連続変換は途中で終わりました.\r\n\r\n元のファイル名に戻しますか？";
}

std::string lostFileText(const std::string& from, const std::string& to, const std::string& original)
{
    std::string text = "「" + from + "」を「" + to + "」に変更できず, ファイルが見つからなくなりました";
    if (original != from)
        text += "（元の名前「" + original + "」）";
    return text + ".";
}

} // namespace zanto
