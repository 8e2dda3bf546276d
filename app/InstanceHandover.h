#pragma once

#include <QObject>
#include <QStringList>
#include <QTimer>

class QLocalServer;
class QLocalSocket;

namespace zanto {

// Later starts hand their folder to the running copy through a local socket.
// The running copy takes a request only between commands: never inside a
// batch, never while a modal box is open.
class InstanceHandover final : public QObject {
    Q_OBJECT
public:
    explicit InstanceHandover(QString socketPath, QObject* parent = nullptr);

    // The running copy: listens for later starts. Called only by the holder
    // of the lock, so a socket already there was left by a copy that is gone.
    bool listen();

    // A later start: hands `path` (empty: none) to the running copy. False
    // when no running copy took it.
    static bool send(const QString& socketPath, const QString& path);

    // A request was put off: it waits for the running command or modal box to end.
    bool holding() const { return m_held; }

signals:
    // A later start asked for `path`; the empty text asks only for the window.
    void requested(const QString& path);

private:
    void accept();
    void received(QLocalSocket* socket);
    void deliver();
    static bool busy();

    QString m_socketPath;
    QLocalServer* m_server;
    QStringList m_pending;
    QTimer m_delivery;
    bool m_held = false;
};

} // namespace zanto
