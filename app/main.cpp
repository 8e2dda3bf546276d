#include "CommandLine.h"
#include "InstanceHandover.h"
#include "Localization.h"
#include "ProgramValues.h"
#include "SingleInstance.h"
#include "StartupRecovery.h"
#include "Tolva.h"
#include "fs/NativeFileSystem.h"
#include "fs/StandardStreams.h"
#include "fs/StateFolder.h"
#include "rename/BatchJournal.h"
#include "ui/IniSettingsStore.h"
#include "ui/QtMessenger.h"
#include "ui/QtShellOpener.h"

#include <QApplication>

#include <cstdlib>

int main(int argc, char** argv)
{
    zanto::openMissingStandardStreams();
    QCoreApplication::setApplicationName(QStringLiteral("ZANTO"));
    if (zanto::CommandLine::wantsTextOnly(argc, argv)) {
        // Printed and ended here, before anything asks for a display.
        QCoreApplication textOnly(argc, argv);
        zanto::CommandLine::startPath(textOnly);
    }
    QApplication app(argc, argv);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/zanto/zanto.svg")));
    const QString startPath = zanto::CommandLine::startPath(app);

    // A second copy hands its folder to the running one and ends at once,
    // silently, touching nothing.
    zanto::SingleInstance instance;
    if (!instance.acquire()) {
        zanto::InstanceHandover::send(instance.socketPath(), startPath);
        return EXIT_SUCCESS;
    }
    zanto::InstanceHandover handover(instance.socketPath());
    handover.listen();

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
    QObject::connect(&handover, &zanto::InstanceHandover::requested, &window, &zanto::Tolva::openRequested);
    window.Form_Load(startPath);
    window.show();
    return QApplication::exec();
}
