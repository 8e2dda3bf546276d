#include "Localization.h"
#include "ProgramValues.h"
#include "SingleInstance.h"
#include "StartupRecovery.h"
#include "Tolva.h"
#include "rename/BatchJournal.h"
#include "ui/IniSettingsStore.h"
#include "ui/NativeFileSystem.h"
#include "ui/QtMessenger.h"
#include "ui/QtShellOpener.h"
#include "ui/StateFolder.h"

#include <QApplication>

#include <cstdlib>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZANTO"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/zanto/zanto.svg")));

    // A second copy ends at once, silently, touching nothing.
    zanto::SingleInstance instance;
    if (!instance.acquire())
        return EXIT_SUCCESS;

    zanto::installJapanese(app);

    zanto::ProgramValues values;
    zanto::IniSettingsStore store;
    zanto::QtMessenger messenger;
    zanto::NativeFileSystem fileSystem;
    zanto::QtShellOpener shell;
    zanto::StateFolder stateFolder;
    zanto::BatchJournal journal(stateFolder, fileSystem);
    zanto::StartupRecovery(journal, fileSystem, [&](const zanto::MessageRequest& request) {
        return messenger.show(nullptr, request);
    }).run();
    zanto::Tolva window(values,
                        {store, messenger, fileSystem, shell, [] { std::_Exit(EXIT_FAILURE); }, &journal});
    window.Form_Load();
    window.show();
    return QApplication::exec();
}
