#include "app/ProgramValues.h"
#include "app/SettingsHost.h"
#include "app/SettingsKeys.h"
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
#include <memory>

namespace zanto {
using test::MemoryStore;
namespace {

// The main window as the dialog sees it: a log of what was asked of it.
class FakeHost final : public SettingsHost {
public:
    explicit FakeHost(ProgramValues& values) : m_values(values) {}
    void RENZOKU() override { log(QStringLiteral("RENZOKU"), settings::kModeContinuous); }
    void TANJUN() override { log(QStringLiteral("TANJUN"), settings::kModeSimple); }
    void applyFilterChange(const QString& pattern) override { calls.append(QStringLiteral("applyFilterChange ") + pattern); }
    void applyModeChange() override { calls.append(QStringLiteral("applyModeChange")); }
    void setFilePattern(const QString& pattern) override { calls.append(QStringLiteral("setFilePattern ") + pattern); }
    QStringList calls;

private:
    void log(const QString& call, const QString& mode)
    {
        m_values.NOW_MODE = mode;
        calls.append(call);
    }
    ProgramValues& m_values;
};

QStringList listedIn(const QDialog& dialog)
{
    QStringList entries;
    const auto* list = dialog.findChild<QListWidget*>(QStringLiteral("List1"));
    for (int i = 0; i < list->count(); ++i)
        entries.append(list->item(i)->text());
    return entries;
}

class SettingsDialog : public ::testing::Test {
protected:
    void open(const QString& nowMode, const QStringList& patterns)
    {
        values.NOW_MODE = nowMode;
        dialog = std::make_unique<frmSETEI>(values, store, messenger, host);
        for (const QString& pattern : patterns)
            dialog->addPattern(pattern);
        dialog->show();
    }
    template <typename Widget>
    Widget* child(const char* name) const
    {
        auto* widget = dialog->findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    ProgramValues values;
    MemoryStore store;
    test::ScriptedMessenger messenger;
    FakeHost host{values};
    std::unique_ptr<frmSETEI> dialog;
};

TEST_F(SettingsDialog, OpensOnTheOptionOfTheCurrentModeAndUnloadsOnce)
{
    for (const char* mode : {"1", "0", "", "2"}) {
        open(QString::fromLatin1(mode), {QStringLiteral("*.jpg")});
        EXPECT_EQ(child<QRadioButton>("Option1")->isChecked(), QString::fromLatin1(mode) == u"1") << mode;
    }
    store.writes.clear();
    child<QPushButton>("Command3")->click();
    dialog->close();
    dialog->reject();
    EXPECT_EQ(store.writes.size(), 2);
}

// Runs `step` on the modal settings dialog once exec() has shown it.
void whileModal(const std::function<void(QDialog&)>& step)
{
    QTimer::singleShot(0, [step] {
        auto* open = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(open, nullptr);
        step(*open);
    });
}

// The first run: "*.jpg" listed, simple mode preset; メインへ stores simple
// mode, the close box an empty mode.
TEST_F(SettingsDialog, FirstRunStoresTheModeAsTheDialogEnds)
{
    whileModal([](QDialog& open) {
        EXPECT_EQ(listedIn(open), QStringList{QStringLiteral("*.jpg")});
        EXPECT_TRUE(open.findChild<QRadioButton*>(QStringLiteral("Option0"))->isChecked());
        open.findChild<QPushButton*>(QStringLiteral("Command3"))->click();
    });
    frmSETEI::openAtFirstRun(values, store, messenger, host, nullptr);
    EXPECT_EQ(store.writes, (QStringList{QStringLiteral("VORIS=*.jpg"), QStringLiteral("MODE=0")}));

    store.writes.clear();
    values = ProgramValues{};
    whileModal([](QDialog& open) { open.close(); });
    frmSETEI::openAtFirstRun(values, store, messenger, host, nullptr);
    EXPECT_EQ(store.writes, (QStringList{QStringLiteral("VORIS=*.jpg"), QStringLiteral("MODE=")}));
}

} // namespace
} // namespace zanto
