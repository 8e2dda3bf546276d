#include "browse/PreviewArea.h"
#include "preview/TextPreview.h"
#include "fs/NativeFileSystem.h"
#include "tests/support/TempFolder.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QWidget>
#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/stat.h>

namespace zanto {
namespace {

const std::string kData = ZANTO_TEST_DATA;

class PreviewAreaTest : public ::testing::Test {
protected:
    // Which controls show, in the order Image1, mainTEXT, Image2, Label5, Label6.
    std::string visible() const
    {
        std::string shown;
        for (const QWidget* widget : std::initializer_list<const QWidget*>{m_image1, m_mainText, m_image2, m_label5, m_label6})
            shown += widget->isHidden() ? '-' : '+';
        return shown;
    }
    PreviewOutcome preview(const std::string& name) { return m_area.preview(m_folder.pathOf(name), name); }

    test::TempFolder m_folder;
    QWidget m_box;
    QLabel* m_image1 = new QLabel(&m_box);
    QLabel* m_image2 = new QLabel(&m_box);
    QPlainTextEdit* m_mainText = new QPlainTextEdit(&m_box);
    QLabel* m_label5 = new QLabel(&m_box);
    QLabel* m_label6 = new QLabel(&m_box);
    NativeFileSystem m_fs;
    PreviewArea m_area{PreviewWidgets{m_image1, m_image2, m_mainText, m_label5, m_label6}, m_fs};
};

// Which view a file gets: pictures by their exact ending, texts below the
// limit, everything else (FIFOs too, without blocking) the information.
TEST_F(PreviewAreaTest, EachFileGetsItsView)
{
    const struct {
        const char* name;
        std::string content; // "fifo": a FIFO
        const char* view;
        const char* shown; // the text, or how Label5 starts
    } rows[] = {
        {"photo.GIF", test::readFile(kData + "/picture.gif"), "+----", ""},
        {"photo.Jpg", test::readFile(kData + "/photo-rotated.jpg"), "--++-", "拡張子「Jpg」\r\n\r\n"},
        {"photo.webp", test::readFile(kData + "/picture.webp"), "+----", ""},
        {"photo.ARW", test::readFile(kData + "/photo-rotated.dng"), "+----", ""},
        {"photo.Heic", test::readFile(kData + "/photo-exif-rotated.heic"), "--++-", "拡張子「Heic」"},
        {"a.b.txt", "first\r\nsecond", "-+---", "first\nsecond\n"},
        {"big.TXT", std::string(TEXT_PREVIEW_LIMIT, 'x'), "--+++", "拡張子「TXT」\r\n\r\n4096バイト\r\n\r\n"},
        {"archive.tar.gz", "zz", "--++-", "拡張子「gz」\r\n\r\n2バイト\r\n\r\n"},
        {"pipe.txt", "fifo", "--++-", "拡張子「txt」\r\n\r\n0バイト"},
        {"pipe.jpg", "fifo", "--++-", "拡張子「jpg」"},
    };
    for (const auto& row : rows) {
        if (row.content == "fifo")
            ASSERT_EQ(::mkfifo(m_folder.pathOf(row.name).c_str(), 0600), 0);
        else
            m_folder.write(row.name, row.content);
        EXPECT_EQ(preview(row.name), PreviewOutcome::Shown) << row.name;
        EXPECT_EQ(visible(), row.view) << row.name;
        const QString shown = row.view[1] == '+' ? m_mainText->toPlainText() : m_label5->text();
        EXPECT_TRUE(*row.shown == '\0' || shown.startsWith(QString::fromUtf8(row.shown))) << row.name;
    }
}

// HEIF goes through the helper program: without it the file shows as a kind
// the preview does not know; with it, a damaged one is an invalid picture.
TEST_F(PreviewAreaTest, HeifFilesFollowTheHelper)
{
    const struct {
        const char* helper;
        const char* sample;
        PreviewOutcome outcome;
        const char* view;
    } rows[] = {
        {ZANTO_TEST_HEIF_HELPER, "photo-exif-rotated.heic", PreviewOutcome::Shown, "+----"},
        {"/nonexistent/zanto-heif", "photo-exif-rotated.heic", PreviewOutcome::Shown, "--++-"},
        {ZANTO_TEST_HEIF_HELPER, "damaged.heic", PreviewOutcome::InvalidPicture, "--++-"},
    };
    for (const auto& row : rows) {
        ::setenv("ZANTO_HEIF_HELPER", row.helper, 1);
        m_folder.write("photo.HEIC", test::readFile(kData + "/" + row.sample));
        EXPECT_EQ(preview("photo.HEIC"), row.outcome) << row.helper << ' ' << row.sample;
        EXPECT_EQ(visible(), row.view) << row.helper << ' ' << row.sample;
    }
    EXPECT_TRUE(m_label5->text().startsWith(QStringLiteral("拡張子「HEIC」")));
}

} // namespace
} // namespace zanto
