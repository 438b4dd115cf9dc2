#include "shell/SingleInstance.h"

#include "shell/EventBoundary.h"

#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>

namespace {
constexpr char Request[] = "Check for PYX instance\n";

QString PerUserFolder(const QString& folder) {
    if (!folder.isEmpty()) return folder;
    QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty()) return runtime;
    return QDir::tempPath();
}
} // namespace

SingleInstance::SingleInstance(const QString& key, const QString& folder)
    : Key(key), Folder(PerUserFolder(folder)), Lock(PerUserFolder(folder) + "/" + key + ".lock") {
    Lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() {
    if (Server) Server->close();
}

bool SingleInstance::Claim() {
    QDir().mkpath(Folder);
    if (!Lock.tryLock(0)) {
        AskRunningInstance();
        return false;
    }
    Listen();
    return true;
}

bool SingleInstance::AskRunningInstance() {
    QLocalSocket socket;
    socket.connectToServer(SocketPath());
    if (!socket.waitForConnected(1000)) return false;
    socket.write(Request);
    bool sent = socket.waitForBytesWritten(1000);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(1000);
    return sent;
}

void SingleInstance::Listen() {
    // A socket file left by a crashed instance would block listening; it is
    // safe to remove now that the lock is ours.
    QLocalServer::removeServer(SocketPath());
    Server = std::make_unique<QLocalServer>();
    Server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(Server.get(), &QLocalServer::newConnection, this, [this] { Guarded([this] { ReadRequest(); }); });
    Server->listen(SocketPath());
}

void SingleInstance::ReadRequest() {
    while (QLocalSocket* socket = Server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            Guarded([&] {
                while (socket->canReadLine())
                    if (socket->readLine() == Request && OnActivateRequest) OnActivateRequest();
            });
        });
    }
}
