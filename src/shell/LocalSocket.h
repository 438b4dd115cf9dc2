#pragma once
// A stream socket in the file system for a few lines between processes of
// the same user: a listener on the event loop, and a sender that waits a
// bounded time. Plain POSIX sockets watched by QSocketNotifier, as this is
// all the program asks of a network library.

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QSocketNotifier;

// Sends text to the listener at path and closes; false when there is none,
// or it did not take the text within timeoutMs.
bool SendToLocalSocket(const QString& path, const QByteArray& text, int timeoutMs);

class LocalListener : public QObject {
public:
    LocalListener();
    ~LocalListener() override;

    // Listens at path, replacing what an earlier listener left there; only
    // the user may connect. False when the socket cannot be made.
    bool Listen(const QString& path);
    void Close();
    // Each complete line a sender sent, with its '\n'.
    std::function<void(const QByteArray& line)> OnLine;

private:
    struct Connection;
    void Accept();
    void Read(Connection& connection);
    void Drop(Connection& connection);

    int Fd = -1;
    QString Path;
    QSocketNotifier* Incoming = nullptr;
    std::vector<std::unique_ptr<Connection>> Connections;
};
