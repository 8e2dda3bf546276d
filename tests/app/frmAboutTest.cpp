#include "app/frmAbout.h"
#include "tests/support/LoggingOpener.h"
#include "ui/ShellOpener.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace zanto {
using test::LoggingOpener;
namespace {


struct HelpPathCase {
    const char* family;
    const char* folder; // UTF-8
    const char* path;
};

class HelpPath : public ::testing::TestWithParam<HelpPathCase> {};

TEST_P(HelpPath, HasOneSeparatorBeforeTheName)
{
    EXPECT_EQ(frmAbout::helpFilePath(QString::fromUtf8(GetParam().folder)), QString::fromUtf8(GetParam().path));
}

INSTANTIATE_TEST_SUITE_P(
    Families, HelpPath,
    ::testing::Values(HelpPathCase{"root", "/", "/readme.html"},
                      HelpPathCase{"trailing_separator", "/opt/zanto/", "/opt/zanto/readme.html"},
                      HelpPathCase{"japanese", "/home/利用者/ツール", "/home/利用者/ツール/readme.html"}),
    [](const auto& info) { return std::string(info.param.family); });

class AboutDialog : public ::testing::Test {
protected:
    void SetUp() override { dialog.show(); }

    LoggingOpener opener;
    frmAbout dialog{opener};
};

TEST_F(AboutDialog, HelpOpensTheFileBesideTheProgramAndStaysOpen)
{
    dialog.findChild<QPushButton*>(QStringLiteral("CmdOPEN"))->click();
    EXPECT_EQ(opener.opened,
              QStringList{QStringLiteral("path ") + frmAbout::helpFilePath(QCoreApplication::applicationDirPath())});
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(AboutDialog, ClickOnTheAddressOpensIt)
{
    auto* address = dialog.findChild<QLabel*>(QStringLiteral("Label4"));
    QTest::mouseClick(address, Qt::LeftButton);
    EXPECT_EQ(opener.opened, QStringList{QStringLiteral("address ") + address->text()});
    EXPECT_EQ(address->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(address, Qt::RightButton);
    EXPECT_EQ(opener.opened.size(), 1);
}

} // namespace
} // namespace zanto
