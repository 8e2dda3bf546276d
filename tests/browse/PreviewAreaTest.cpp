#include "browse/PreviewArea.h"
#include "browse/TextPreview.h"
#include "tests/support/TempFolder.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QWidget>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace zanto {
namespace {

const std::string kData = ZANTO_TEST_DATA;

// Which of the five controls a view shows, in the order Image1, mainTEXT,
// Image2, Label5, Label6.
struct Visible {
    bool image1, mainText, image2, label5, label6;
    bool operator==(const Visible&) const = default;
};

constexpr Visible kPictureView{true, false, false, false, false};
constexpr Visible kTextView{false, true, false, false, false};
constexpr Visible kTooLargeView{false, false, true, true, true};
constexpr Visible kInformationView{false, false, true, true, false};

void PrintTo(const Visible& v, std::ostream* out)
{
    *out << "Image1=" << v.image1 << " mainTEXT=" << v.mainText << " Image2=" << v.image2 << " Label5=" << v.label5
         << " Label6=" << v.label6;
}

class PreviewAreaTest : public ::testing::Test {
protected:
    PreviewAreaTest()
    {
        m_image1->setGeometry(-2, -2, 312, 380);
        m_image1->setScaledContents(true);
        m_image2->setGeometry(-2, -2, 300, 380);
        for (QWidget* widget : std::initializer_list<QWidget*>{m_image1, m_image2, m_mainText, m_label5, m_label6})
            widget->hide();
    }

    Visible visible() const
    {
        return {!m_image1->isHidden(), !m_mainText->isHidden(), !m_image2->isHidden(), !m_label5->isHidden(),
                !m_label6->isHidden()};
    }

    PreviewOutcome preview(const std::string& name) { return m_area.preview(m_folder.pathOf(name), name); }

    void copySample(const std::string& sample, const std::string& name)
    {
        m_folder.write(name, test::readFile(kData + "/" + sample));
    }

    test::TempFolder m_folder;
    QWidget m_box;
    QLabel* m_image1 = new QLabel(&m_box);
    QLabel* m_image2 = new QLabel(&m_box);
    QPlainTextEdit* m_mainText = new QPlainTextEdit(&m_box);
    QLabel* m_label5 = new QLabel(&m_box);
    QLabel* m_label6 = new QLabel(&m_box);
    PreviewArea m_area{PreviewWidgets{m_image1, m_image2, m_mainText, m_label5, m_label6}};
};

// Which view a file gets: pictures by their lower-case ending, texts up to
// the limit, everything else (FIFOs too, without blocking) the information.
struct ViewCase {
    const char* family;
    const char* name;
    const char* sample; // a file from the test data, or none
    std::string content;
    bool fifo;
    Visible view;
    const char* shown; // the text shown, or how Label5 starts in the information views
};

class PreviewView : public PreviewAreaTest, public ::testing::WithParamInterface<ViewCase> {};

TEST_P(PreviewView, ShowsTheViewOfTheFile)
{
    const auto& p = GetParam();
    if (p.fifo)
        ASSERT_EQ(::mkfifo(m_folder.pathOf(p.name).c_str(), 0600), 0);
    else if (p.sample != nullptr)
        copySample(p.sample, p.name);
    else
        m_folder.write(p.name, p.content);
    m_mainText->setPlainText(QStringLiteral("old"));

    EXPECT_EQ(preview(p.name), PreviewOutcome::Shown);
    EXPECT_EQ(visible(), p.view);
    if (p.view == kPictureView) {
        EXPECT_EQ(m_image1->pixmap().size(), QSize(312, 380));
    }
    if (p.view == kTextView) {
        EXPECT_EQ(m_mainText->toPlainText(), QString::fromUtf8(p.shown));
    } else if (p.shown != nullptr) {
        EXPECT_TRUE(m_label5->text().startsWith(QString::fromUtf8(p.shown))) << m_label5->text().toStdString();
    }
    if (p.view == kTooLargeView) {
        EXPECT_EQ(m_label6->text(), QStringLiteral("４Ｋbyte以上のFileは開きません"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Families, PreviewView,
    ::testing::Values(
        ViewCase{"picture_upper_case_ending", "photo.GIF", "picture.gif", {}, false, kPictureView, nullptr},
        ViewCase{"picture_mixed_case_ending", "photo.Jpg", "photo-rotated.jpg", {}, false, kInformationView,
                 "拡張子「Jpg」\r\n\r\n"},
        ViewCase{"text_with_two_dots", "a.b.txt", nullptr, "first\r\nsecond", false, kTextView, "first\nsecond\n"},
        ViewCase{"text_at_the_limit", "big.TXT", nullptr, std::string(TEXT_PREVIEW_LIMIT, 'x'), false, kTooLargeView,
                 "拡張子「TXT」\r\n\r\n4096バイト\r\n\r\n"},
        ViewCase{"last_ending_only", "archive.tar.gz", nullptr, "zz", false, kInformationView,
                 "拡張子「gz」\r\n\r\n2バイト\r\n\r\n"},
        ViewCase{"fifo_text", "pipe.txt", nullptr, {}, true, kInformationView, "拡張子「txt」\r\n\r\n0バイト"}),
    [](const auto& info) { return std::string(info.param.family); });

TEST_F(PreviewAreaTest, DamagedPictureAfterGoodOneLeavesTheGoodOneShown)
{
    copySample("picture.bmp", "good.bmp");
    copySample("damaged.jpg", "bad.jpg");
    ASSERT_EQ(preview("good.bmp"), PreviewOutcome::Shown);
    const QImage good = m_image1->pixmap().toImage();

    EXPECT_EQ(preview("bad.jpg"), PreviewOutcome::InvalidPicture);
    EXPECT_EQ(visible(), kPictureView);
    m_area.showPlaceholder();
    EXPECT_EQ(visible(), (Visible{true, false, true, false, false}));
    EXPECT_EQ(m_image1->pixmap().toImage(), good);
    // The picture stays in front of the placeholder.
    EXPECT_GT(m_box.children().indexOf(m_image1), m_box.children().indexOf(m_image2));
}

TEST_F(PreviewAreaTest, VanishedFilesAreNotFoundAndChangeNothing)
{
    m_folder.write("shown.txt", "shown");
    ASSERT_EQ(preview("shown.txt"), PreviewOutcome::Shown);
    for (const char* name : {"gone.jpg", "gone.txt", "gone"})
        EXPECT_EQ(preview(name), PreviewOutcome::FileNotFound) << name;
    EXPECT_EQ(m_area.KOMA(m_folder.pathOf("gone")), PreviewOutcome::FileNotFound);
    EXPECT_EQ(visible(), kTextView);
    EXPECT_EQ(m_mainText->toPlainText(), QStringLiteral("shown\n"));
}

TEST_F(PreviewAreaTest, KomaShowsNoExtensionEvenForANameWithOne)
{
    m_folder.write("notes.txt", "abc");
    EXPECT_EQ(m_area.KOMA(m_folder.pathOf("notes.txt")), PreviewOutcome::Shown);
    EXPECT_EQ(visible(), kInformationView);
    EXPECT_TRUE(m_label5->text().startsWith(QStringLiteral("拡張子「なし」\r\n\r\n3バイト\r\n\r\n")));
}

TEST_F(PreviewAreaTest, NothingSelectedShowsTheEmptyArea)
{
    m_folder.write("x.txt", "x");
    ASSERT_EQ(preview("x.txt"), PreviewOutcome::Shown);
    EXPECT_EQ(m_area.preview(m_folder.path(), ""), PreviewOutcome::Shown);
    EXPECT_EQ(visible(), (Visible{false, false, true, false, false}));
}

TEST_F(PreviewAreaTest, ResetClearPictureAndHideMessages)
{
    copySample("picture.wmf", "clip.WMF");
    ASSERT_EQ(preview("clip.WMF"), PreviewOutcome::Shown);
    m_area.clearPicture();
    EXPECT_TRUE(m_image1->pixmap().isNull());
    EXPECT_EQ(visible(), kPictureView);

    m_folder.write("big.htm", std::string(5000, 'x'));
    ASSERT_EQ(preview("big.htm"), PreviewOutcome::Shown);
    m_area.HIDEMSG();
    EXPECT_EQ(visible(), (Visible{false, false, true, false, false}));

    ASSERT_EQ(preview("big.htm"), PreviewOutcome::Shown);
    m_mainText->show();
    m_image1->show();
    m_area.reset();
    EXPECT_EQ(visible(), (Visible{false, false, true, false, false}));
    EXPECT_EQ(m_label6->text(), QStringLiteral("４Ｋbyte以上のFileは開きません"));
}

} // namespace
} // namespace zanto
