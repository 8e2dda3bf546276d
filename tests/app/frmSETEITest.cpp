#include "app/ProgramValues.h"
#include "app/SettingsHost.h"
#include "app/SettingsKeys.h"
#include "app/frmSETEI.h"
#include "tests/support/MemoryStore.h"
#include "tests/support/ScriptedMessenger.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
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
    QLineEdit* text1() const { return child<QLineEdit>("Text1"); }

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

// How the dialog ends decides what the main window is asked to do and what is stored.
enum class Ending { MainButton, CloseBox, Escape };

struct UnloadCase {
    const char* family;
    const char* nowMode;
    const char* oldMode;  // also the stored mode where a list is stored
    const char* stored;   // the stored list, or none
    const char* patterns; // listed at opening, ';' between them
    bool chooseSimple;
    const char* typed; // added with Enter, or none
    bool removeAll;
    Ending ending;
    const char* extList;
    const char* calls;  // '|' between them
    const char* writes; // '|' between them
};

class Unload : public SettingsDialog, public ::testing::WithParamInterface<UnloadCase> {};

TEST_P(Unload, AsksTheWindowAndStores)
{
    const auto& p = GetParam();
    values.OLD_MODE = QString::fromLatin1(p.oldMode);
    if (p.stored != nullptr) {
        store.preset(settings::kMode, values.OLD_MODE);
        store.preset(settings::kPatterns, QString::fromLatin1(p.stored));
    }
    const QStringList patterns = QString::fromLatin1(p.patterns).split(u';');
    open(QString::fromLatin1(p.nowMode), patterns);
    if (p.chooseSimple)
        QTest::mouseClick(child<QRadioButton>("Option0"), Qt::LeftButton);
    if (p.typed != nullptr) {
        QTest::keyClicks(text1(), QString::fromLatin1(p.typed));
        QTest::keyClick(text1(), Qt::Key_Return);
    }
    for (int i = 0; p.removeAll && i < patterns.size(); ++i) {
        child<QListWidget>("List1")->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
        child<QPushButton>("Command2")->click();
    }
    switch (p.ending) {
    case Ending::MainButton: child<QPushButton>("Command3")->click(); break;
    case Ending::CloseBox: dialog->close(); break;
    case Ending::Escape: QTest::keyClick(text1(), Qt::Key_Escape); break;
    }

    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(values.EXT_LIST, QString::fromUtf8(p.extList));
    EXPECT_EQ(host.calls, QString::fromUtf8(p.calls).split(u'|'));
    EXPECT_EQ(store.writes, QString::fromUtf8(p.writes).split(u'|'));
}

INSTANTIATE_TEST_SUITE_P(
    Families, Unload,
    ::testing::Values(
        UnloadCase{"main_button_changes_only_the_mode", "1", "1", "*.jpg", "*.jpg", true, nullptr, false,
                   Ending::MainButton, "*.jpg", "TANJUN|applyModeChange|setFilePattern *.jpg", "VORIS=*.jpg|MODE=0"},
        UnloadCase{"changed_list_resets_the_filter", "1", "1", "*.jpg", "*.jpg", false, "png", false, Ending::MainButton,
                   "*.png;*.jpg", "RENZOKU|applyFilterChange *.png;*.jpg|setFilePattern *.png;*.jpg",
                   "VORIS=*.png;*.jpg|MODE=1"},
        // An emptied list is stored empty and shows no files.
        UnloadCase{"emptied_list", "1", "1", "*.png;*.jpg", "*.jpg;*.png", false, nullptr, true, Ending::MainButton, "*.a",
                   "RENZOKU|setFilePattern *.a|applyFilterChange *.a|setFilePattern *.a", "VORIS=|MODE=1"},
        UnloadCase{"close_box_keeps_the_mode_but_stores_the_list", "1", "1", "*.jpg", "*.jpg", true, "gif", false,
                   Ending::CloseBox, "*.gif;*.jpg", "setFilePattern *.gif;*.jpg", "VORIS=*.gif;*.jpg|MODE=1"},
        // OLD_MODE is still empty before any main button, so the mode differs from it.
        UnloadCase{"escape_before_any_main_button", "0", "", nullptr, "*.jpg", false, nullptr, false, Ending::Escape,
                   "*.jpg", "applyModeChange|setFilePattern *.jpg", "VORIS=*.jpg|MODE=0"}),
    [](const auto& info) { return std::string(info.param.family); });

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
