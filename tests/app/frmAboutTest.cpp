#include "app/frmAbout.h"
#include "tests/support/LoggingOpener.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace zanto {
namespace {

TEST(AboutDialog, HelpPathHasOneSeparatorBeforeTheName)
{
    EXPECT_EQ(frmAbout::helpFilePath(QStringLiteral("/")), QStringLiteral("/readme.html"));
    EXPECT_EQ(frmAbout::helpFilePath(QStringLiteral("/opt/ツール/")), QStringLiteral("/opt/ツール/readme.html"));
}

// The help button and a left click on the address open them; the dialog stays.
TEST(AboutDialog, OpensTheHelpFileAndTheAddress)
{
    test::LoggingOpener opener;
    frmAbout dialog{opener};
    dialog.show();
    dialog.findChild<QPushButton*>(QStringLiteral("CmdOPEN"))->click();
    auto* address = dialog.findChild<QLabel*>(QStringLiteral("Label4"));
    QTest::mouseClick(address, Qt::RightButton);
    QTest::mouseClick(address, Qt::LeftButton);
    EXPECT_EQ(opener.opened, (QStringList{QStringLiteral("path ") + frmAbout::helpFilePath(QCoreApplication::applicationDirPath()),
                                          QStringLiteral("address ") + address->text()}));
    EXPECT_TRUE(dialog.isVisible());
}

} // namespace
} // namespace zanto
