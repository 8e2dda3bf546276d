#include "preview/TextPreview.h"
#include "fs/NativeFileSystem.h"
#include "tests/support/TempFolder.h"
#include "tests/support/Unprivileged.h"

#include <gtest/gtest.h>

namespace zanto {
namespace {

NativeFileSystem nativeFs;

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
    ::testing::Values(LineCase{"last_line_unended", "one\r\ntwo", u"one\r\ntwo\r\n"},
                      LineCase{"cr_only", "one\rtwo\r", u"one\r\ntwo\r\n"},
                      LineCase{"lf_stays_inside", "one\ntwo\n", u"one\ntwo\n\r\n"},
                      LineCase{"utf8_bom_dropped", "\xEF\xBB\xBF旅行\r\n", u"旅行\r\n"},
                      LineCase{"shift_jis", "\x83\x65\x83\x58\x83\x67\r\n\x93\xfa\x96\x7b", u"テスト\r\n日本\r\n"}),
    [](const auto& info) { return std::string(info.param.family); });

// The size alone decides, before the file is opened: an unreadable file at
// the limit is too large, one below it fails to open. A FIFO would block an
// open(): reaching the end of the test is the check.
TEST(TextFile, TheLimitTheFifoAndTheUnreadableFile)
{
    test::TempFolder folder;
    folder.write("below.txt", std::string(TEXT_PREVIEW_LIMIT - 1, 'a'));
    folder.write("at.txt", std::string(TEXT_PREVIEW_LIMIT, 'a'));
    folder.write("locked.txt", "x");
    ASSERT_EQ(::chmod(folder.pathOf("at.txt").c_str(), 0), 0);
    ASSERT_EQ(::chmod(folder.pathOf("locked.txt").c_str(), 0), 0);
    ASSERT_EQ(::mkfifo(folder.pathOf("pipe.txt").c_str(), 0600), 0);

    const TextPreview below = TextPreview::read(nativeFs, folder.pathOf("below.txt"));
    ASSERT_EQ(below.status, TextPreview::Status::Read);
    EXPECT_EQ(below.text, QString(TEXT_PREVIEW_LIMIT - 1, u'a') + QStringLiteral("\r\n"));
    EXPECT_EQ(TextPreview::read(nativeFs, folder.pathOf("pipe.txt")).status, TextPreview::Status::NotRegularFile);
    EXPECT_EQ(TextPreview::read(nativeFs, folder.pathOf("gone.txt")).error, FsError::FileNotFound);
    const auto statusOf = [&](const char* name) {
        return test::asUnprivileged(folder.path(), [&] {
            const TextPreview preview = TextPreview::read(nativeFs, folder.pathOf(name));
            return preview.status == TextPreview::Status::Failed ? static_cast<int>(preview.error) : 100 + static_cast<int>(preview.status);
        });
    };
    EXPECT_EQ(statusOf("at.txt"), 100 + static_cast<int>(TextPreview::Status::TooLarge));
    EXPECT_EQ(statusOf("locked.txt"), static_cast<int>(FsError::PathFileAccess));
}

} // namespace
} // namespace zanto
