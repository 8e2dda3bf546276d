#include "WindowFixture.h"

#include "app/Localization.h"
#include "app/SingleInstance.h"

#include <QDir>
#include <QLockFile>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTextLayout>
#include <QGlyphRun>
#include <QAction>


#include <filesystem>

namespace zanto::test {
namespace {

using StartUp = WindowFixture;

struct ModeCase {
    const char* family;
    const char* stored;
    bool simple;
};

class StoredMode : public WindowFixture, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(StoredMode, ChoosesTheLayoutAndCaption)
{
    start(QString::fromUtf8(GetParam().stored));
    const bool simple = GetParam().simple;
    EXPECT_EQ(window->windowTitle(), simple ? QStringLiteral("ZANTO＿[単純モード]") : QStringLiteral("ZANTO＿[連続モード]"));
    EXPECT_EQ(values.NOW_MODE, simple ? QStringLiteral("0") : QStringLiteral("1"));
    EXPECT_EQ(file().isVisible(), simple);
    EXPECT_EQ(text().isVisible(), simple);
    EXPECT_EQ(list().isVisible(), !simple);
    EXPECT_EQ(base().isVisible(), !simple);
    EXPECT_EQ(find<QPushButton>("cmdOK")->isVisible(), !simple);
    EXPECT_EQ(find<QWidget>("Frame1")->isVisible(), !simple);
    EXPECT_TRUE(messenger.shown().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Modes, StoredMode,
                         ::testing::Values(ModeCase{"simple", "0", true}, ModeCase{"continuous", "1", false},
                                           ModeCase{"empty", "", false}, ModeCase{"other", "2", false}),
                         [](const auto& info) { return std::string(info.param.family); });

TEST_F(StartUp, ControlsStandAtTheirPlacesWithTheirTexts)
{
    start(QStringLiteral("1"));
    EXPECT_EQ(find<QWidget>("client")->size(), QSize(502, 385));
    EXPECT_EQ(find<QWidget>("List")->geometry(), QRect(316, 124, 143, 196));
    EXPECT_EQ(find<QWidget>("cmdOK")->geometry(), QRect(316, 354, 117, 24));
    EXPECT_EQ(find<QWidget>("Image1")->geometry(), QRect(-2, -2, 312, 380));
    EXPECT_EQ(find<QPushButton>("cmdERASE")->toolTip(), QStringLiteral("リストから除く"));
    EXPECT_EQ(find<QPushButton>("cmdUE")->toolTip(), QStringLiteral("上の移動"));
    EXPECT_EQ(base().maxLength(), 100);
    EXPECT_EQ(text().maxLength(), 100);
    EXPECT_EQ(label("Label9"), QStringLiteral("ファイル名："));
    EXPECT_FALSE(find<QAction>("NO")->isEnabled());
}

TEST_F(StartUp, JapaneseCaptionsRenderWithoutMissingGlyphs)
{
    installJapanese(*qApp);
    start(QStringLiteral("1"));
    for (const QString& caption : {QStringLiteral("ファイル名："), QStringLiteral("変換"), QStringLiteral("設定(&E)"),
                                   QStringLiteral("ごみ箱には入りません！！")}) {
        QTextLayout layout(caption, find<QWidget>("Label9")->font());
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        for (const QGlyphRun& run : layout.glyphRuns())
            for (const quint32 glyph : run.glyphIndexes())
                EXPECT_NE(glyph, 0u) << caption.toStdString();
    }
}

TEST_F(StartUp, MinimizingShowsTheTitleAlone)
{
    start(QStringLiteral("0"));
    window->setWindowState(Qt::WindowMinimized);
    QTRY_COMPARE(window->windowTitle(), QStringLiteral("ZANTO"));
    window->setWindowState(Qt::WindowNoState);
    QTRY_COMPARE(window->windowTitle(), QStringLiteral("ZANTO＿[単純モード]"));
}

TEST_F(StartUp, RestoresTheRememberedFolderAndStoresItWhenClosing)
{
    folder.writeAll({"a.jpg", "b.txt", "c.png"});
    start(QStringLiteral("1"));
    EXPECT_EQ(find<FolderListBox>("Dir")->path(), folder.path());
    EXPECT_EQ(listed(), (std::vector<std::string>{"a.jpg", "b.txt"}));
    store.writes.clear();
    window->close();
    EXPECT_EQ(store.writes, QStringList{QStringLiteral("KALDEN=") + QString::fromStdString(folder.path())});
}

TEST_F(StartUp, AGoneFolderFallsBackToTheStartingFolderSilently)
{
    store.preset(settings::kFolder, QString::fromStdString(folder.pathOf("gone")));
    store.preset(settings::kMode, QStringLiteral("1"));
    store.preset(settings::kPatterns, QStringLiteral("*.jpg"));
    startWithStore();
    EXPECT_EQ(find<FolderListBox>("Dir")->path(), std::filesystem::current_path().string());
    EXPECT_TRUE(messenger.shown().isEmpty());
}

TEST_F(StartUp, TheRootIsStoredWithItsSeparator)
{
    store.preset(settings::kFolder, QStringLiteral("/"));
    store.preset(settings::kMode, QStringLiteral("1"));
    store.preset(settings::kPatterns, QStringLiteral("*.nothing"));
    startWithStore();
    EXPECT_EQ(find<FolderListBox>("Dir")->path(), "/");
    window->close();
    EXPECT_EQ(store.value(settings::kFolder), QStringLiteral("/"));
}

using Folders = WindowFixture;

TEST_F(Folders, AFolderChangeResetsThePanelAndRefillsTheRenameList)
{
    folder.writeAll({"IMG_10.jpg", "IMG_9.jpg", "x.png"});
    const std::string sub = folder.makeSubfolder("sub");
    start(QStringLiteral("0"));
    file().setListIndex(0);
    ASSERT_FALSE(text().text().isEmpty());
    std::filesystem::copy_file(folder.pathOf("IMG_9.jpg"), sub + "/p2.jpg");
    std::filesystem::copy_file(folder.pathOf("IMG_9.jpg"), sub + "/p10.jpg");

    ASSERT_EQ(find<FolderListBox>("Dir")->setPath(sub), FsError::None);
    EXPECT_TRUE(text().text().isEmpty());
    EXPECT_FALSE(text().isEnabled());
    EXPECT_TRUE(text().isReadOnly());
    EXPECT_TRUE(label("Label1").isEmpty());
    EXPECT_TRUE(label("Label2").isEmpty());
    EXPECT_FALSE(find<QLabel>("Label5")->isVisible());
    EXPECT_EQ(file().listIndex(), -1);
    EXPECT_EQ(file().items(), (std::vector<std::string>{"p2.jpg", "p10.jpg"}));
    EXPECT_EQ(list().items(), file().items());
}

TEST_F(Folders, FilesAreListedInNaturalOrder)
{
    folder.writeAll({"IMG_10.jpg", "IMG_9.jpg", "img_1.JPG", "notes.txt"});
    start(QStringLiteral("1"));
    EXPECT_EQ(listed(), (std::vector<std::string>{"img_1.JPG", "IMG_9.jpg", "IMG_10.jpg", "notes.txt"}));
}

TEST_F(Folders, AFolderThatCannotBeOpenedChangesNothing)
{
    folder.writeAll({"a.jpg", "plain.txt"});
    start(QStringLiteral("1"));
    EXPECT_EQ(find<FolderListBox>("Dir")->setPath(folder.pathOf("plain.txt")), FsError::PathNotFound);
    EXPECT_EQ(find<FolderListBox>("Dir")->setPath(folder.pathOf("gone")), FsError::PathNotFound);
    EXPECT_EQ(find<FolderListBox>("Dir")->path(), folder.path());
    EXPECT_EQ(listed(), (std::vector<std::string>{"a.jpg", "plain.txt"}));
    EXPECT_FALSE(stopped);
}

using Keys = WindowFixture;

TEST_F(Keys, ArrowKeysStepThroughTheFilesInSimpleModeWithWrap)
{
    folder.writeAll({"a.jpg", "b.jpg", "c.jpg"});
    start(QStringLiteral("0"));
    file().setFocus();
    QTest::keyClick(&file(), Qt::Key_Down);
    EXPECT_EQ(file().listIndex(), 0) << "nothing selected: Down selects the first";
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    EXPECT_EQ(file().listIndex(), 2) << "Up on the first wraps to the last";
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(file().listIndex(), 0) << "Down on the last wraps to the first";
    EXPECT_EQ(text().text(), QStringLiteral("a"));
    EXPECT_EQ(label("Label1"), QStringLiteral(" a"));
}

TEST_F(Keys, ArrowKeysWrapInTheRenameList)
{
    folder.writeAll({"a.jpg", "b.jpg", "c.jpg"});
    start(QStringLiteral("1"));
    list().setFocus();
    QTest::keyClick(&list(), Qt::Key_Up);
    EXPECT_EQ(list().listIndex(), -1) << "Up with nothing selected does nothing";
    QTest::keyClick(&list(), Qt::Key_Down);
    EXPECT_EQ(list().listIndex(), 0);
    QTest::keyClick(&list(), Qt::Key_Up);
    EXPECT_EQ(list().listIndex(), 2);
    QTest::keyClick(&list(), Qt::Key_Down);
    EXPECT_EQ(list().listIndex(), 0);
}

TEST_F(Keys, EnterPressesTheModesDefaultButton)
{
    folder.writeAll({"a.jpg"});
    start(QStringLiteral("1"));
    base().setFocus();
    messenger.answer(MsgAnswer::Cancel);
    QTest::keyClick(&base(), Qt::Key_Return);
    ASSERT_EQ(messenger.shown().size(), 1);
    EXPECT_EQ(messenger.shown().first().title, QStringLiteral("ファイル名変更"));

    window->TANJUN();
    file().setListIndex(0);
    text().setText(QStringLiteral("b"));
    QTest::keyClick(&text(), Qt::Key_Return);
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"b.jpg"}));
}

TEST(SingleInstance, ASecondCopyIsRefusedAndACrashedOnesLockTakenOver)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("TOLVA.lock"));
    {
        SingleInstance first(path);
        ASSERT_TRUE(first.acquire());
        SingleInstance second(path);
        EXPECT_FALSE(second.acquire());
    }
    // A lock left by a process that no longer runs.
    QFile stale(path);
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write("999999999\nwindow_tests\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    stale.close();
    SingleInstance next(path);
    EXPECT_TRUE(next.acquire());
}

TEST(SingleInstance, TheSecondProgramEndsAtOnceAndStoresNothing)
{
    QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QDir().mkpath(home.filePath(QStringLiteral("config/TOLVA")));
    QFile ini(home.filePath(QStringLiteral("config/TOLVA/TOLVA.ini")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[TOLVA_DATA]\nMODE=1\nVORIS=*.jpg\n");
    ini.close();

    QProcess first;
    first.setProcessEnvironment(environment);
    first.start(QStringLiteral(ZANTO_PROGRAM), {});
    ASSERT_TRUE(first.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(home.filePath(QStringLiteral("TOLVA.lock"))), 10000);

    QProcess second;
    second.setProcessEnvironment(environment);
    second.start(QStringLiteral(ZANTO_PROGRAM), {});
    EXPECT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);
    first.kill();
    first.waitForFinished();

    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_EQ(ini.readAll(), QByteArray("[TOLVA_DATA]\nMODE=1\nVORIS=*.jpg\n"));
}

} // namespace
} // namespace zanto::test
