#include "QtShellOpener.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

#include <algorithm>

namespace zanto {

QtShellOpener::QtShellOpener() = default;

QtShellOpener::~QtShellOpener()
{
    // xdg-open may wait for the program it started; that program is not its
    // to end and outlives it, with no pipe back to this one.
    for (const auto& process : m_running) {
        process->disconnect();
        process->kill();
        process->waitForFinished();
    }
}

void QtShellOpener::openPath(const QString& path, Failed failed)
{
    auto process = std::make_unique<QProcess>();
    QProcess* const started = process.get();
    started->setProgram(QStringLiteral("xdg-open"));
    started->setArguments({path});
    // The opened program inherits these: a pipe to this program would break
    // when it ends.
    started->setStandardInputFile(QProcess::nullDevice());
    started->setStandardOutputFile(QProcess::nullDevice());
    started->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(started, &QProcess::finished, started, [this, started, failed](int exitCode, QProcess::ExitStatus status) {
        if ((exitCode != 0 || status != QProcess::NormalExit) && failed)
            failed();
        forget(started);
    });
    QObject::connect(started, &QProcess::errorOccurred, started, [this, started, path, failed](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)) && failed)
            failed();
        forget(started);
    });
    m_running.push_back(std::move(process));
    started->start();
}

void QtShellOpener::openAddress(const QString& address)
{
    QDesktopServices::openUrl(QUrl(address));
}

void QtShellOpener::forget(QProcess* process)
{
    const auto it = std::find_if(m_running.begin(), m_running.end(), [process](const auto& held) { return held.get() == process; });
    if (it == m_running.end())
        return;
    // Deleted once its signal has returned.
    it->release()->deleteLater();
    m_running.erase(it);
}

} // namespace zanto
