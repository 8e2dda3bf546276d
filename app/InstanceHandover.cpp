#include "InstanceHandover.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

namespace zanto {

namespace {

// A request is the path in UTF-8 closed by a NUL, which no path holds; a
// message cut short by a killed sender lacks it and is dropped.
constexpr char kEnd = '\0';
// Far beyond any path; a longer message is not ours.
constexpr qint64 kMaxMessage = 64 * 1024;
// A running copy that has just taken the lock may not listen yet.
constexpr int kConnectMs = 5000;
constexpr int kWriteMs = 2000;
constexpr int kRetryMs = 200;

} // namespace

InstanceHandover::InstanceHandover(QString socketPath, QObject* parent)
    : QObject(parent)
    , m_socketPath(std::move(socketPath))
    , m_server(new QLocalServer(this))
{
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &InstanceHandover::accept);
    m_delivery.setSingleShot(true);
    connect(&m_delivery, &QTimer::timeout, this, &InstanceHandover::deliver);
}

bool InstanceHandover::listen()
{
    QLocalServer::removeServer(m_socketPath);
    return m_server->listen(m_socketPath);
}

bool InstanceHandover::send(const QString& socketPath, const QString& path)
{
    QLocalSocket socket;
    const QDeadlineTimer deadline(kConnectMs);
    for (;;) {
        socket.connectToServer(socketPath);
        if (socket.waitForConnected(static_cast<int>(deadline.remainingTime())))
            break;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(100);
    }
    socket.write(path.toUtf8().append(kEnd));
    if (!socket.waitForBytesWritten(kWriteMs))
        return false;
    socket.disconnectFromServer();
    return true;
}

void InstanceHandover::accept()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, [socket] {
            if (socket->bytesAvailable() > kMaxMessage)
                socket->abort();
        });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] { received(socket); });
        // Sent and gone before this copy looked.
        if (socket->state() != QLocalSocket::ConnectedState)
            received(socket);
    }
}

void InstanceHandover::received(QLocalSocket* socket)
{
    socket->disconnect(this);
    const QByteArray message = socket->readAll();
    socket->deleteLater();
    if (message.size() > kMaxMessage || message.indexOf(kEnd) != message.size() - 1)
        return;
    m_pending.append(QString::fromUtf8(message.chopped(1)));
    if (!m_delivery.isActive())
        m_delivery.start(0);
}

void InstanceHandover::deliver()
{
    if (m_pending.isEmpty())
        return;
    // Looked at again shortly: no signal says that a command has ended.
    m_held = busy();
    if (m_held) {
        m_delivery.start(kRetryMs);
        return;
    }
    const QString path = m_pending.takeFirst();
    if (!m_pending.isEmpty())
        m_delivery.start(0);
    emit requested(path);
}

bool InstanceHandover::busy()
{
    // A nested event loop is a command waiting on its modal box.
    return QApplication::activeModalWidget() != nullptr || QApplication::activePopupWidget() != nullptr ||
           QThread::currentThread()->loopLevel() > 1;
}

} // namespace zanto
