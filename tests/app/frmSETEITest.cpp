#include "app/ProgramValues.h"
#include "app/SettingsHost.h"
#include "app/SettingsKeys.h"
#include "app/frmSETEI.h"
#include "tests/support/MemoryStore.h"
#include "tests/support/ScriptedMessenger.h"
#include "ui/SettingsStore.h"

#include <QApplication>
#include <QHash>
#include <QInputMethodEvent>
#include <QKeyEvent>
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

const QString kHalfWidthOnly = QStringLiteral("半角英数字を記入してください");
const QString kListFull = QStringLiteral("拡張子は101個まで登録できます");


// The main window as the dialog sees it: a log of what was asked of it.
class FakeHost final : public SettingsHost {
public:
    explicit FakeHost(ProgramValues& values) : m_values(values) {}

    void RENZOKU() override
    {
        m_values.NOW_MODE = settings::kModeContinuous;
        calls.append(QStringLiteral("RENZOKU"));
    }
    void TANJUN() override
    {
        m_values.NOW_MODE = settings::kModeSimple;
        calls.append(QStringLiteral("TANJUN"));
    }
    void applyFilterChange(const QString& pattern) override
    {
        calls.append(QStringLiteral("applyFilterChange ") + pattern);
    }
    void applyModeChange() override { calls.append(QStringLiteral("applyModeChange")); }
    void setFilePattern(const QString& pattern) override { calls.append(QStringLiteral("setFilePattern ") + pattern); }

    QStringList calls;

private:
    ProgramValues& m_values;
};

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
    QListWidget* list1() const { return child<QListWidget>("List1"); }

    QStringList listed() const
    {
        QStringList entries;
        for (int i = 0; i < list1()->count(); ++i)
            entries.append(list1()->item(i)->text());
        return entries;
    }

    // A key that types `text`, as a keyboard would send it.
    void typeKey(const QString& text)
    {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
        QApplication::sendEvent(text1(), &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, text);
        QApplication::sendEvent(text1(), &release);
    }

    void select(int row) { list1()->setCurrentRow(row, QItemSelectionModel::ClearAndSelect); }

    ProgramValues values;
    MemoryStore store;
    test::ScriptedMessenger messenger;
    FakeHost host{values};
    std::unique_ptr<frmSETEI> dialog;
};

struct RefusedCase {
    const char* family;
    const char* typed; // UTF-8
};

class RefusedKey : public SettingsDialog, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedKey, ShowsTheNoticeAndEmptiesTheBox)
{
    open(settings::kModeContinuous, {});
    QTest::keyClicks(text1(), QStringLiteral("jp"));
    typeKey(QString::fromUtf8(GetParam().typed));

    EXPECT_EQ(messenger.texts(), QStringList{kHalfWidthOnly});
    EXPECT_EQ(text1()->text(), QString());

    // The box starts over.
    QTest::keyClicks(text1(), QStringLiteral("g"));
    EXPECT_EQ(text1()->text(), QStringLiteral("g"));
}

INSTANTIATE_TEST_SUITE_P(Families, RefusedKey,
                         ::testing::Values(RefusedCase{"upper_case", "J"}, RefusedCase{"full_stop", "."},
                                           RefusedCase{"full_width_letter", "ｊ"}),
                         [](const auto& info) { return std::string(info.param.family); });

TEST_F(SettingsDialog, InputMethodTextPassesTheSameRule)
{
    open(settings::kModeContinuous, {});
    QInputMethodEvent composed;
    composed.setCommitString(QStringLiteral("ｊｐｇ"));
    QApplication::sendEvent(text1(), &composed);
    EXPECT_EQ(messenger.texts(), QStringList{kHalfWidthOnly});
    EXPECT_EQ(text1()->text(), QString());
}

TEST_F(SettingsDialog, PastedTextMustBeLowerCaseLettersOrDigits)
{
    open(settings::kModeContinuous, {});
    text1()->insert(QStringLiteral("JPG")); // the path of a paste or a drop
    EXPECT_EQ(text1()->text(), QString());
    text1()->insert(QStringLiteral("png"));
    EXPECT_EQ(text1()->text(), QStringLiteral("png"));
}

TEST_F(SettingsDialog, HundredAndSecondEntryIsRefused)
{
    QStringList full;
    for (int i = 0; i < 101; ++i)
        full.append(QStringLiteral("*.e%1").arg(i));
    open(settings::kModeContinuous, full + QStringList{QStringLiteral("*.more")});
    EXPECT_EQ(listed(), full) << "the caller cannot exceed the bound either";

    QTest::keyClicks(text1(), QStringLiteral("x"));
    child<QPushButton>("Command1")->click();
    EXPECT_EQ(list1()->count(), 101);
    EXPECT_EQ(messenger.texts(), QStringList{kListFull});

    // A duplicate of a full list is still only a duplicate.
    messenger.clear();
    QTest::keyClicks(text1(), QStringLiteral("e5"));
    child<QPushButton>("Command1")->click();
    EXPECT_TRUE(messenger.shown().isEmpty());

    dialog->close();
    EXPECT_EQ(frmSETEI::splitStored(store.value(settings::kPatterns)), full);
}

struct LoadCase {
    const char* family;
    const char* nowMode;
    bool continuous;
};

class LoadMode : public SettingsDialog, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(LoadMode, SelectsTheOptionOfTheCurrentMode)
{
    open(QString::fromLatin1(GetParam().nowMode), {});
    EXPECT_EQ(child<QRadioButton>("Option1")->isChecked(), GetParam().continuous);
    EXPECT_EQ(child<QRadioButton>("Option0")->isChecked(), !GetParam().continuous);
}

INSTANTIATE_TEST_SUITE_P(Families, LoadMode,
                         ::testing::Values(LoadCase{"simple", "0", false}, LoadCase{"continuous", "1", true},
                                           LoadCase{"empty", "", false}, LoadCase{"other", "2", false}),
                         [](const auto& info) { return std::string(info.param.family); });

TEST_F(SettingsDialog, MainButtonAppliesTheChosenModeAndStoresIt)
{
    store.preset(settings::kMode, QStringLiteral("1"));
    store.preset(settings::kPatterns, QStringLiteral("*.jpg"));
    open(settings::kModeContinuous, {QStringLiteral("*.jpg")});
    QTest::mouseClick(child<QRadioButton>("Option0"), Qt::LeftButton);
    child<QPushButton>("Command3")->click();

    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(values.NOW_MODE, QStringLiteral("0"));
    EXPECT_EQ(values.OLD_MODE, QStringLiteral("1"));
    EXPECT_EQ(values.EXT_LIST, QStringLiteral("*.jpg"));
    // The list is unchanged: no filter reset, only the mode change.
    EXPECT_EQ(host.calls, (QStringList{QStringLiteral("TANJUN"), QStringLiteral("applyModeChange"),
                                       QStringLiteral("setFilePattern *.jpg")}));
    EXPECT_EQ(store.writes, (QStringList{QStringLiteral("VORIS=*.jpg"), QStringLiteral("MODE=0")}));
}

// How the dialog ends decides what the main window is asked to do and what is stored.
enum class Ending { MainButton, CloseBox, Escape };

struct UnloadCase {
    const char* family;
    const char* nowMode;
    const char* oldMode; // also the stored mode where a list is stored
    const char* stored;  // the stored list, or none
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
        select(0);
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
        UnloadCase{"changed_list_resets_the_filter", "1", "1", "*.jpg", "*.jpg", false, "png", false, Ending::MainButton,
                   "*.png;*.jpg", "RENZOKU|applyFilterChange *.png;*.jpg|setFilePattern *.png;*.jpg",
                   "VORIS=*.png;*.jpg|MODE=1"},
        // An emptied list is stored empty and shows no files.
        UnloadCase{"emptied_list", "1", "1", "*.png;*.jpg", "*.jpg;*.png", false, nullptr, true, Ending::MainButton, "*.a",
                   "RENZOKU|setFilePattern *.a|applyFilterChange *.a|setFilePattern *.a", "VORIS=|MODE=1"},
        UnloadCase{"close_box_keeps_the_mode_but_stores_the_list", "1", "1", "*.jpg", "*.jpg", true, "gif", false,
                   Ending::CloseBox, "*.gif;*.jpg", "setFilePattern *.gif;*.jpg", "VORIS=*.gif;*.jpg|MODE=1"},
        // OLD_MODE is still empty before any main button, so the mode differs from it.
        UnloadCase{"close_box_before_any_main_button", "1", "", nullptr, "*.jpg", false, nullptr, false, Ending::CloseBox,
                   "*.jpg", "applyModeChange|setFilePattern *.jpg", "VORIS=*.jpg|MODE=1"},
        UnloadCase{"escape", "0", "", nullptr, "*.jpg", false, nullptr, false, Ending::Escape, "*.jpg",
                   "applyModeChange|setFilePattern *.jpg", "VORIS=*.jpg|MODE=0"}),
    [](const auto& info) { return std::string(info.param.family); });

TEST_F(SettingsDialog, UnloadRunsOnceWhateverCloses)
{
    open(settings::kModeSimple, {QStringLiteral("*.jpg")});
    child<QPushButton>("Command3")->click();
    dialog->close();
    dialog->reject();
    EXPECT_EQ(store.writes.size(), 2);
    EXPECT_EQ(host.calls.count(QStringLiteral("setFilePattern *.jpg")), 1);
}

// Runs `step` on the modal settings dialog once exec() has shown it.
void whileModal(const std::function<void(frmSETEI&)>& step)
{
    QTimer::singleShot(0, [step] {
        auto* open = qobject_cast<frmSETEI*>(QApplication::activeModalWidget());
        ASSERT_NE(open, nullptr);
        step(*open);
    });
}

QStringList listedIn(const frmSETEI& open)
{
    QStringList entries;
    const auto* list = open.findChild<QListWidget*>(QStringLiteral("List1"));
    for (int i = 0; i < list->count(); ++i)
        entries.append(list->item(i)->text());
    return entries;
}

TEST_F(SettingsDialog, MenuOpensTheStoredListInItsSavedOrder)
{
    store.preset(settings::kPatterns, QStringLiteral("*.png;*.gif;*.jpg"));
    values.NOW_MODE = settings::kModeContinuous;
    values.OLD_MODE = settings::kModeContinuous;
    QStringList seen;
    QString extListWhileOpen = QStringLiteral("unset");
    whileModal([&](frmSETEI& open) {
        seen = listedIn(open);
        extListWhileOpen = values.EXT_LIST;
        open.close();
    });
    frmSETEI::openFromMenu(values, store, messenger, host, nullptr);

    EXPECT_EQ(seen, (QStringList{QStringLiteral("*.jpg"), QStringLiteral("*.gif"), QStringLiteral("*.png")}));
    EXPECT_EQ(extListWhileOpen, QString());
    EXPECT_EQ(store.value(settings::kPatterns), QStringLiteral("*.png;*.gif;*.jpg"));
    EXPECT_EQ(values.EXT_LIST, QStringLiteral("*.png;*.gif;*.jpg"));
}

TEST_F(SettingsDialog, FirstRunWithMainButtonStoresSimpleMode)
{
    whileModal([](frmSETEI& open) {
        EXPECT_EQ(listedIn(open), QStringList{QStringLiteral("*.jpg")});
        EXPECT_TRUE(open.findChild<QRadioButton*>(QStringLiteral("Option0"))->isChecked());
        open.findChild<QPushButton*>(QStringLiteral("Command3"))->click();
    });
    frmSETEI::openAtFirstRun(values, store, messenger, host, nullptr);

    EXPECT_EQ(store.value(settings::kPatterns), QStringLiteral("*.jpg"));
    EXPECT_EQ(store.value(settings::kMode), QStringLiteral("0"));
    EXPECT_EQ(host.calls.first(), QStringLiteral("TANJUN"));
}

TEST_F(SettingsDialog, FirstRunWithCloseBoxStoresAnEmptyMode)
{
    whileModal([](frmSETEI& open) { open.close(); });
    frmSETEI::openAtFirstRun(values, store, messenger, host, nullptr);

    EXPECT_EQ(store.writes, (QStringList{QStringLiteral("VORIS=*.jpg"), QStringLiteral("MODE=")}));
    EXPECT_EQ(host.calls, QStringList{QStringLiteral("setFilePattern *.jpg")});
}

} // namespace
} // namespace zanto
