#include "shell/SingleInstance.h"

#include "shell/EventBoundary.h"

#include <QDir>
#include <QFileInfo>

#include <unistd.h>

namespace {
constexpr char Request[] = "Check for PYX instance\n";

QString PerUserFolder(const QString& folder) {
    if (!folder.isEmpty()) return folder;
    QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty()) return runtime;
    return QDir::tempPath() + "/vorel-" + QString::number(::getuid());
}

// Why the folder may not hold the lock, or nothing when it may. A missing
// folder is made for the user alone.
QString FolderTrouble(const QString& folder) {
    QFileInfo info(folder);
    if (!info.exists()) {
        if (!QDir().mkpath(folder)) return "cannot be made";
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        info.refresh();
    }
    if (!info.isDir()) return "is not a folder";
    if (info.ownerId() != ::getuid()) return "belongs to another user";
    if (info.permissions() & (QFile::WriteGroup | QFile::WriteOther)) return "may be changed by other users";
    return {};
}

QString CannotCheck(const QString& folder, const QString& why) {
    return "The toy cannot start, because the folder \"" + folder + "\", where it notes that it is running, " +
           why + ".\n\nAsk whoever looks after this computer to have a look at it.";
}
} // namespace

SingleInstance::SingleInstance(const QString& key, const QString& folder)
    : Key(key), Folder(PerUserFolder(folder)), Lock(PerUserFolder(folder) + "/" + key + ".lock") {
    Lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::Claim() {
    Trouble.clear();
    if (QString why = FolderTrouble(Folder); !why.isEmpty()) {
        Trouble = CannotCheck(Folder, why);
        return false;
    }
    if (!Lock.tryLock(0)) {
        if (Lock.error() != QLockFile::LockFailedError)
            Trouble = CannotCheck(Folder, "does not let it write there");
        else if (!AskRunningInstance())
            Trouble = "The toy seems to be running already, but that copy does not answer.\n\n"
                      "Close it (or log out and in again), then start the toy once more.";
        return false;
    }
    Listen();
    return true;
}

bool SingleInstance::AskRunningInstance() {
    return SendToLocalSocket(SocketPath(), Request, 1000);
}

// A socket file left by a crashed instance is replaced: the lock is ours.
void SingleInstance::Listen() {
    Listener.OnLine = [this](const QByteArray& line) {
        Guarded([&] {
            if (line == Request && OnActivateRequest) OnActivateRequest();
        });
    };
    Listener.Listen(SocketPath());
}
