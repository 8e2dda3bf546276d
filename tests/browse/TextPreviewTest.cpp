#include "browse/TextPreview.h"
#include "tests/support/TempFolder.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zanto {
namespace {

struct LineCase {
    const char* family;
    const char* bytes;
    const char16_t* text;
};

class TextLines : public ::testing::TestWithParam<LineCase> {};

TEST_P(TextLines, EveryLineEndsInCrLf)
{
    EXPECT_EQ(TextPreview::decode(QByteArrayView(GetParam().bytes)), QString::fromUtf16(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Families, TextLines,
    ::testing::Values(LineCase{"empty", "", u""},
                      LineCase{"crlf", "one\r\ntwo\r\n", u"one\r\ntwo\r\n"},
                      LineCase{"last_line_unended", "one\r\ntwo", u"one\r\ntwo\r\n"},
                      LineCase{"cr_only", "one\rtwo\r", u"one\r\ntwo\r\n"},
                      LineCase{"lf_stays_inside", "one\ntwo\n", u"one\ntwo\n\r\n"},
                      LineCase{"empty_lines", "\r\n\r\nx", u"\r\n\r\nx\r\n"},
                      LineCase{"cr_then_crlf", "a\r\r\nb", u"a\r\n\r\nb\r\n"},
                      LineCase{"utf8_bom_dropped", "\xEF\xBB\xBF旅行\r\n", u"旅行\r\n"},
                      LineCase{"shift_jis", "\x83\x65\x83\x58\x83\x67\r\n\x93\xfa\x96\x7b", u"テスト\r\n日本\r\n"}),
    [](const auto& info) { return std::string(info.param.family); });

class TextFile : public ::testing::Test {
protected:
    test::TempFolder m_folder;
};

TEST_F(TextFile, ReadsJustBelowTheLimit)
{
    m_folder.write("below.txt", std::string(TEXT_PREVIEW_LIMIT - 1, 'a'));
    const TextPreview preview = TextPreview::read(m_folder.pathOf("below.txt"));
    ASSERT_EQ(preview.status, TextPreview::Status::Read);
    EXPECT_EQ(preview.text, QString(TEXT_PREVIEW_LIMIT - 1, u'a') + QStringLiteral("\r\n"));
}

TEST_F(TextFile, RefusesAtTheLimitWithoutOpening)
{
    m_folder.write("at.txt", std::string(TEXT_PREVIEW_LIMIT, 'a'));
    // Unreadable, yet sized: the size test alone decides.
    ASSERT_EQ(::chmod(m_folder.pathOf("at.txt").c_str(), 0), 0);
    EXPECT_EQ(TextPreview::read(m_folder.pathOf("at.txt")).status, TextPreview::Status::TooLarge);
    EXPECT_EQ(TOO_LARGE_NOTICE, u"４Ｋbyte以上のFileは開きません");
}

TEST_F(TextFile, EmptyFileGivesEmptyText)
{
    std::ofstream(m_folder.pathOf("empty.txt"));
    const TextPreview preview = TextPreview::read(m_folder.pathOf("empty.txt"));
    EXPECT_EQ(preview.status, TextPreview::Status::Read);
    EXPECT_TRUE(preview.text.isEmpty());
}

TEST_F(TextFile, VanishedFileIsNotFound)
{
    const TextPreview preview = TextPreview::read(m_folder.pathOf("gone.txt"));
    EXPECT_EQ(preview.status, TextPreview::Status::Failed);
    EXPECT_EQ(preview.error, FsError::FileNotFound);
}

// A FIFO without a writer would block an open() or read(): reaching the end
// of this test is the check.
TEST_F(TextFile, FifoIsNeverOpened)
{
    ASSERT_EQ(::mkfifo(m_folder.pathOf("pipe.txt").c_str(), 0600), 0);
    EXPECT_EQ(TextPreview::read(m_folder.pathOf("pipe.txt")).status, TextPreview::Status::NotRegularFile);
    EXPECT_EQ(TextPreview::read(m_folder.path()).status, TextPreview::Status::NotRegularFile);
}

TEST_F(TextFile, UnreadableFileFails)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    m_folder.write("locked.txt", "x");
    ASSERT_EQ(::chmod(m_folder.pathOf("locked.txt").c_str(), 0), 0);
    const TextPreview preview = TextPreview::read(m_folder.pathOf("locked.txt"));
    EXPECT_EQ(preview.status, TextPreview::Status::Failed);
    EXPECT_EQ(preview.error, FsError::PathFileAccess);
}

} // namespace
} // namespace zanto
