#include "ui/QtShellOpener.h"

#include "tests/support/TempFolder.h"

#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>

namespace zanto::test {
namespace {

// xdg-open's end tells whether the desktop opened the file: a desktop
// without a program for it ends xdg-open with a non-zero code.
TEST(QtShellOpenerTest, AFileTheDesktopCannotOpenIsTold)
{
    TempFolder bin;
    bin.write("xdg-open", "#!/bin/sh\ncase \"$1\" in *missing*) exit 3 ;; esac\nexit 0\n");
    std::filesystem::permissions(bin.pathOf("xdg-open"), std::filesystem::perms::owner_all);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QByteArray::fromStdString(bin.path()));
    QStringList failed;
    {
        QtShellOpener opener;
        for (const QString& file : {QStringLiteral("/help/readme.html"), QStringLiteral("/help/missing.html")})
            opener.openPath(file, [&failed, file] { failed.append(file); });
        // Waits for the report, and then gives the file opened its time to end.
        for (int wait = 0; wait < 100 && failed.isEmpty(); ++wait)
            QTest::qWait(50);
        QTest::qWait(200);
    }
    qputenv("PATH", path);
    EXPECT_EQ(failed, QStringList{QStringLiteral("/help/missing.html")});
}

} // namespace
} // namespace zanto::test
