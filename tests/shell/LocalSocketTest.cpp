#include "WaitUntil.h"
#include "shell/LocalSocket.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

using ::testing::ElementsAre;

namespace {
// A sender that writes its text in parts, as a stream may deliver it.
void SendInParts(const QString& path, std::initializer_list<const char*> parts) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = path.toLocal8Bit();
    std::memcpy(address.sun_path, name.constData(), static_cast<size_t>(name.size()));
    int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    for (const char* part : parts) {
        ASSERT_EQ(::write(fd, part, std::strlen(part)), static_cast<ssize_t>(std::strlen(part)));
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    ::close(fd);
}
} // namespace

TEST(LocalSocketTest, LinesArriveWholeHoweverTheStreamCutsThem) {
    QTemporaryDir dir;
    const QString path = dir.filePath("talk.socket");
    LocalListener listener;
    std::vector<QByteArray> lines;
    listener.OnLine = [&](const QByteArray& line) { lines.push_back(line); };
    ASSERT_TRUE(listener.Listen(path));

    ASSERT_TRUE(SendToLocalSocket(path, "one\ntwo\n", 1000));
    EXPECT_TRUE(WaitUntil([&] { return lines.size() == 2; }));
    SendInParts(path, {"thr", "ee\nfo", "ur\nunfinished"});
    EXPECT_TRUE(WaitUntil([&] { return lines.size() == 4; }));
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_THAT(lines, ElementsAre("one\n", "two\n", "three\n", "four\n"));
}

TEST(LocalSocketTest, OnlyTheUserMayConnectAndClosingRemovesTheSocket) {
    QTemporaryDir dir;
    const QString path = dir.filePath("talk.socket");
    {
        LocalListener listener;
        ASSERT_TRUE(listener.Listen(path));
        const QFileInfo socket(path);
        EXPECT_EQ(socket.permissions() & (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther),
                  0);
    }
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_FALSE(SendToLocalSocket(path, "anyone?\n", 200)) << "sent with no one listening";
}

TEST(LocalSocketTest, APathTooLongForASocketIsRefused) {
    const QString path = "/tmp/" + QString(200, 'x') + ".socket";
    LocalListener listener;
    EXPECT_FALSE(listener.Listen(path));
    EXPECT_FALSE(SendToLocalSocket(path, "x\n", 100));
}
