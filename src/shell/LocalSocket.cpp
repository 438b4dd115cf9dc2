#include "shell/LocalSocket.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {
// The socket's address; false when the path does not fit.
bool AddressOf(const QString& path, sockaddr_un& address) {
    const QByteArray name = QFile::encodeName(path);
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (name.size() >= static_cast<qsizetype>(sizeof address.sun_path)) return false;
    std::memcpy(address.sun_path, name.constData(), static_cast<size_t>(name.size()));
    return true;
}

// Waits for fd to be ready for events until the deadline.
bool WaitFor(int fd, short events, const QDeadlineTimer& deadline) {
    pollfd watched{fd, events, 0};
    int ready;
    do
        ready = ::poll(&watched, 1, static_cast<int>(deadline.remainingTime()));
    while (ready < 0 && errno == EINTR);
    return ready > 0 && (watched.revents & events);
}

class Descriptor {
public:
    explicit Descriptor(int fd) : Fd(fd) {}
    ~Descriptor() {
        if (Fd >= 0) ::close(Fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return Fd; }
    int Release() { return std::exchange(Fd, -1); }

private:
    int Fd;
};
} // namespace

bool SendToLocalSocket(const QString& path, const QByteArray& text, int timeoutMs) {
    sockaddr_un address;
    if (!AddressOf(path, address)) return false;
    Descriptor socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (socket.Get() < 0) return false;
    const QDeadlineTimer deadline(timeoutMs);
    if (::connect(socket.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        if (errno != EINPROGRESS && errno != EAGAIN) return false;
        if (!WaitFor(socket.Get(), POLLOUT, deadline)) return false;
        int fault = 0;
        socklen_t size = sizeof fault;
        if (::getsockopt(socket.Get(), SOL_SOCKET, SO_ERROR, &fault, &size) != 0 || fault != 0) return false;
    }
    qsizetype sent = 0;
    while (sent < text.size()) {
        ssize_t n = ::send(socket.Get(), text.constData() + sent, static_cast<size_t>(text.size() - sent), MSG_NOSIGNAL);
        if (n > 0) {
            sent += n;
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && errno == EAGAIN && WaitFor(socket.Get(), POLLOUT, deadline)) {
            continue;
        } else {
            return false;
        }
    }
    return true;
}

struct LocalListener::Connection {
    int Fd;
    QSocketNotifier* Readable; // a child of the listener
    QByteArray Pending;
};

LocalListener::LocalListener() = default;

LocalListener::~LocalListener() {
    Close();
}

bool LocalListener::Listen(const QString& path) {
    Close();
    sockaddr_un address;
    if (!AddressOf(path, address)) return false;
    Descriptor socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (socket.Get() < 0) return false;
    ::unlink(address.sun_path);
    if (::bind(socket.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) return false;
    // Before listening, so that no one else can ever connect.
    if (::chmod(address.sun_path, S_IRUSR | S_IWUSR) != 0 || ::listen(socket.Get(), 8) != 0) {
        ::unlink(address.sun_path);
        return false;
    }
    Fd = socket.Release();
    Path = path;
    Incoming = new QSocketNotifier(Fd, QSocketNotifier::Read, this);
    connect(Incoming, &QSocketNotifier::activated, this, [this] { Accept(); });
    return true;
}

void LocalListener::Close() {
    while (!Connections.empty())
        Drop(*Connections.back());
    if (Fd < 0) return;
    delete std::exchange(Incoming, nullptr);
    ::close(Fd);
    Fd = -1;
    QFile::remove(Path);
}

void LocalListener::Accept() {
    int fd;
    while ((fd = ::accept4(Fd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC)) >= 0) {
        auto connection = std::make_unique<Connection>(
            Connection{fd, new QSocketNotifier(fd, QSocketNotifier::Read, this), {}});
        Connection* made = connection.get();
        connect(made->Readable, &QSocketNotifier::activated, this, [this, made] { Read(*made); });
        Connections.push_back(std::move(connection));
    }
}

// Reads what has come; at the end of the stream the connection goes. A
// sender that never ends a line gets at most a page of it kept.
void LocalListener::Read(Connection& connection) {
    char buffer[512];
    ssize_t n;
    while ((n = ::read(connection.Fd, buffer, sizeof buffer)) > 0) {
        connection.Pending.append(buffer, n);
        qsizetype end;
        while ((end = connection.Pending.indexOf('\n')) >= 0) {
            const QByteArray line = connection.Pending.left(end + 1);
            connection.Pending.remove(0, end + 1);
            if (OnLine) OnLine(line);
        }
        if (connection.Pending.size() > 4096) connection.Pending.clear();
    }
    if (n == 0 || (errno != EAGAIN && errno != EINTR)) Drop(connection);
}

// The notifier may be the one whose signal is being handled: it goes later.
void LocalListener::Drop(Connection& connection) {
    connection.Readable->setEnabled(false);
    connection.Readable->deleteLater();
    ::close(connection.Fd);
    auto found = std::find_if(Connections.begin(), Connections.end(),
                              [&](const std::unique_ptr<Connection>& c) { return c.get() == &connection; });
    if (found != Connections.end()) Connections.erase(found);
}
