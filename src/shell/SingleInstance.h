#pragma once
// Keeps the program to one running instance per user: the first takes a
// lock file and listens on a local socket; a later one finds the lock taken,
// asks the first over the socket to raise and focus its window, and ends.

#include "shell/LocalSocket.h"

#include <QLockFile>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class SingleInstance : public QObject {
public:
    // key names the lock and the socket ("PYX32"); folder is a per-user
    // place: by default $XDG_RUNTIME_DIR, else "vorel-<user id>" in the
    // temporary folder (made 0700 when missing). The folder is used only when
    // it belongs to the user and no one else may write in it, so that no
    // other user can block the toy or listen in its place.
    explicit SingleInstance(const QString& key, const QString& folder = QString());
    ~SingleInstance() override;

    // True when this is the first instance (the lock is now held and the
    // socket listens); false when another instance runs, in which case it
    // has been asked to come to the front.
    bool Claim();
    // After Claim returned false: empty when the running instance was asked
    // to come forward, else what stopped the claim, in words for a parent.
    const QString& Problem() const { return Trouble; }
    // Called in the first instance when a later one asks for the window.
    std::function<void()> OnActivateRequest;

    QString SocketPath() const { return Folder + "/" + Key + ".socket"; }
    QString LockPath() const { return Folder + "/" + Key + ".lock"; }

private:
    bool AskRunningInstance();
    void Listen();

    QString Key;
    QString Folder;
    QLockFile Lock;
    QString Trouble;
    LocalListener Listener;
};
