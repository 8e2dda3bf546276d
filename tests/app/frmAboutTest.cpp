#include "app/HelpBrowser.h"
#include "app/frmAbout.h"

#include "tests/support/LoggingOpener.h"

#include <QCoreApplication>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <gtest/gtest.h>

namespace zanto::test {
namespace {

// ヘルプ hands the page beside the program to the desktop; where the desktop
// cannot open it, the page is shown inside the program, over the about box.
TEST(frmAboutTest, HelpTheDesktopCannotOpenIsShownInside)
{
    for (const bool desktopFails : {false, true}) {
        LoggingOpener opener;
        opener.fails = desktopFails;
        frmAbout about(opener);
        about.show();
        QTest::mouseClick(about.findChild<QPushButton*>(QStringLiteral("CmdOPEN")), Qt::LeftButton);
        EXPECT_EQ(opener.opened,
                  QStringList{QStringLiteral("path ") + frmAbout::helpFilePath(QCoreApplication::applicationDirPath())});
        EXPECT_TRUE(about.isVisible());
        const auto* help = about.findChild<HelpBrowser*>();
        ASSERT_EQ(help != nullptr && help->isVisible(), desktopFails) << desktopFails;
        if (help == nullptr)
            continue;
        EXPECT_EQ(help->windowTitle(), QStringLiteral("ZANTO ヘルプ"));
        EXPECT_TRUE(help->findChild<QTextBrowser*>()->toPlainText().contains(QStringLiteral("番号の付け方")));
    }
}

} // namespace
} // namespace zanto::test
