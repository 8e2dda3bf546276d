#include "rename/BatchTexts.h"

#include <gtest/gtest.h>

namespace zanto {
namespace {

TEST(BatchTexts, ConfirmationNamesTheBaseOrOnlyTheNumber)
{
    EXPECT_EQ(confirmText(""), "「連番＋拡張子」に変換します.\r\n\r\n実行してもいいですか？");
    EXPECT_EQ(confirmText("旅行"), "「旅行＋連番＋拡張子」に変換します.\r\n\r\n実行してもいいですか？");
    EXPECT_EQ(CONFIRM_TITLE, "ファイル名変更");
}

TEST(BatchTexts, QuestionAndStopMessage)
{
    EXPECT_EQ(dropQuestion("b.jpg"), "「b.jpg」が削除されています.\r\n\r\nリストから「b.jpg」を外しますか？");
    EXPECT_EQ(DROP_TITLE, "名前変更");
    EXPECT_EQ(STOP_MSG, "エラーが発生しました.\r\n\r\nファイル名変換を中止します");
    EXPECT_EQ(STOP_TITLE, "エラー");
}

TEST(BatchTexts, CaptionsInAFolderAndAtTheRoot)
{
    EXPECT_EQ(checkCaption(12), "ファイルチェック中--残り12個");
    EXPECT_EQ(readingCaption("/home/user/photos", 0), "ファイル読み取り中0個");
    EXPECT_EQ(readingCaption("/home/user/photos", 1), "ファイル読み取り中1個");
    EXPECT_EQ(readingCaption("/", 0), "ファイル読み取り中--0個");
    EXPECT_EQ(convertingCaption(0), "変換中--残り0個");
    EXPECT_EQ(END_CAPTION, "ZANTO_ [連続モード]");
}

TEST(BatchTexts, NoticesNameTheFirstFiveAndCountTheRest)
{
    EXPECT_EQ(notRenamedText(2, {"a.jpg", "b.jpg"}),
              "2個のファイルは新しい名前に変換できませんでした.\r\n\r\n「a.jpg」\r\n「b.jpg」");
    EXPECT_EQ(notRestoredText(7, {"1", "2", "3", "4", "5", "6", "7"}),
              "7個のファイルを元の名前に戻せませんでした.\r\n\r\n「1」\r\n「2」\r\n「3」\r\n「4」\r\n「5」\r\nほか2個");
    // Fewer names than the count: the rest is still counted.
    EXPECT_EQ(notRenamedText(3, {"a"}), "3個のファイルは新しい名前に変換できませんでした.\r\n\r\n「a」\r\nほか2個");
}

} // namespace
} // namespace zanto
