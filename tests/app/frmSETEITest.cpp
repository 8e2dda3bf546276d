#include "app/ProgramSettings.h"
#include "app/ProgramValues.h"
#include "app/SettingsHost.h"
#include "app/frmSETEI.h"
#include "tests/support/MemoryStore.h"
#include "tests/support/ScriptedMessenger.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace zanto {
namespace {

// The main window as the dialog sees it.
class FakeHost final : public SettingsHost {
public:
    explicit FakeHost(ProgramValues& values) : m_values(values) {}
    void RENZOKU() override { m_values.NOW_MODE = Mode::continuous(); }
    void TANJUN() override { m_values.NOW_MODE = Mode::simple(); }
    void applyFilterChange(const QString& pattern) override { applied << pattern; }
    void applyModeChange() override {}
    void setFilePattern(const QString&) override {}

    QStringList applied;

private:
    ProgramValues& m_values;
};

class SettingsDialog : public ::testing::Test {
protected:
    // Runs `step` on the modal dialog once it shows, then `open` it.
    void whileModal(const std::function<void(QDialog&)>& step,
                    void (*open)(ProgramValues&, ProgramSettings&, Messenger&, SettingsHost&, QWidget*))
    {
        QTimer::singleShot(0, [step] {
            auto* shown = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(shown, nullptr);
            step(*shown);
        });
        open(values, settings, messenger, host, nullptr);
    }

    ProgramValues values;
    test::MemoryStore store;
    ProgramSettings settings{store};
    test::ScriptedMessenger messenger;
    FakeHost host{values};
};

// Whatever closes the dialog, and however often, it stores once.
TEST_F(SettingsDialog, UnloadsOnce)
{
    store.preset(QStringLiteral("VORIS"), QStringLiteral("*.png;*.jpg"));
    whileModal(
        [](QDialog& dialog) {
            dialog.findChild<QPushButton*>(QStringLiteral("Command3"))->click();
            dialog.close();
            dialog.reject();
        },
        frmSETEI::openFromMenu);
    EXPECT_EQ(store.writes, (QStringList{QStringLiteral("VORIS=*.png;*.jpg"), QStringLiteral("MODE=0")}));
}

// The first run: "*.jpg" listed, simple mode preset; メインへ stores simple
// mode, the close box an empty mode.
TEST_F(SettingsDialog, FirstRunStoresTheModeAsTheDialogEnds)
{
    whileModal(
        [](QDialog& dialog) {
            EXPECT_EQ(dialog.findChild<QListWidget*>(QStringLiteral("List1"))->item(0)->text(), QStringLiteral("*.jpg"));
            EXPECT_TRUE(dialog.findChild<QRadioButton*>(QStringLiteral("Option0"))->isChecked());
            dialog.findChild<QPushButton*>(QStringLiteral("Command3"))->click();
        },
        frmSETEI::openAtFirstRun);
    EXPECT_EQ(store.writes, (QStringList{QStringLiteral("VORIS=*.jpg"), QStringLiteral("MODE=0")}));

    store.writes.clear();
    values = ProgramValues{};
    whileModal([](QDialog& dialog) { dialog.close(); }, frmSETEI::openAtFirstRun);
    EXPECT_EQ(store.writes, (QStringList{QStringLiteral("VORIS=*.jpg"), QStringLiteral("MODE=")}));
}

// Used to leave the rename list with the files of a removed extension when
// the dialog was closed by its close box.
TEST_F(SettingsDialog, EveryWayOutAppliesAChangedFilterOnce)
{
    for (const bool byMain : {true, false}) {
        store.preset(QStringLiteral("VORIS"), QStringLiteral("*.png;*.jpg"));
        host.applied.clear();
        whileModal(
            [byMain](QDialog& dialog) {
                auto* list = dialog.findChild<QListWidget*>(QStringLiteral("List1"));
                list->setCurrentRow(list->findItems(QStringLiteral("*.png"), Qt::MatchExactly).first()->listWidget()->row(
                    list->findItems(QStringLiteral("*.png"), Qt::MatchExactly).first()));
                dialog.findChild<QPushButton*>(QStringLiteral("Command2"))->click();
                if (byMain)
                    dialog.findChild<QPushButton*>(QStringLiteral("Command3"))->click();
                else
                    dialog.close();
            },
            frmSETEI::openFromMenu);
        EXPECT_EQ(host.applied, QStringList{QStringLiteral("*.jpg")}) << byMain;
    }
}

} // namespace
} // namespace zanto
