#pragma once

#include "app/ProgramValues.h"
#include "app/Tolva.h"
#include "browse/FileListBox.h"
#include "browse/FolderListBox.h"
#include "browse/ListBox.h"
#include "fs/NativeFileSystem.h"
#include "tests/support/LoggingOpener.h"
#include "tests/support/MemoryStore.h"
#include "tests/support/ScriptedMessenger.h"
#include "tests/support/TempFolder.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>

namespace zanto::test {

// A fresh main window per test over a real temporary folder; its message
// boxes are answered by a script, its settings kept in memory.
class WindowFixture : public ::testing::Test {
protected:
    // Starts the window on `folder` in the given mode with the given filter.
    void start(const QString& mode, const QString& patterns = QStringLiteral("*.jpg;*.txt"),
               const QString& startPath = {})
    {
        store.preset(QStringLiteral("MODE"), mode);
        store.preset(QStringLiteral("VORIS"), patterns);
        store.preset(QStringLiteral("KALDEN"), QString::fromStdString(folder.path()));
        startWithStore(startPath);
    }
    void startWithStore(const QString& startPath = {})
    {
        window = std::make_unique<Tolva>(values, TolvaServices{store, messenger, *windowFileSystem, opener, [] {}, journal});
        window->Form_Load(startPath);
        window->show();
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    // The window's control of that objectName and type. A missing one fails the
    // test with its name and ends the test with an exception, which GoogleTest
    // catches, so no test goes on with a null pointer.
    template <typename T>
    T* find(const char* name) const
    {
        T* widget = window ? window->findChild<T*>(QString::fromLatin1(name)) : nullptr;
        if (widget == nullptr) {
            ADD_FAILURE() << "the window has no control \"" << name << "\" of the type asked for";
            throw std::logic_error(std::string("missing control ") + name);
        }
        return widget;
    }

    ListBox& list() const { return *find<ListBox>("List"); }
    FileListBox& file() const { return *find<FileListBox>("File"); }
    QLineEdit& text() const { return *find<QLineEdit>("Text"); }
    QLineEdit& base() const { return *find<QLineEdit>("txtRENAME"); }
    QString label(const char* name) const { return find<QLabel>(name)->text(); }
    void press(const char* button) const { find<QPushButton>(button)->click(); }

    std::vector<std::string> listed() const { return list().items(); }

    TempFolder folder;
    MemoryStore store;
    ScriptedMessenger messenger;
    NativeFileSystem fileSystem;
    // What the window renames and deletes through; a test may hand in a faulty one.
    FileSystem* windowFileSystem = &fileSystem;
    BatchJournal* journal = nullptr; // none: batches unrecorded
    LoggingOpener opener;
    ProgramValues values;
    std::unique_ptr<Tolva> window;
};

} // namespace zanto::test
