#include "WaitUntil.h"
#include "shell/SingleInstance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {
int RunSecondInstance(const QString& folder) {
    QProcess second;
    second.start(INSTANCE_HELPER, {folder});
    // The first instance must keep answering while the second one waits.
    for (int i = 0; i < 500 && !second.waitForFinished(10);) {
        QCoreApplication::processEvents();
        ++i;
    }
    return second.exitStatus() == QProcess::NormalExit ? second.exitCode() : -1;
}
// The running instance, counting the requests to come forward.
struct FirstInstance {
    explicit FirstInstance(const QString& folder) : Instance("PYX32", folder) {
        Instance.OnActivateRequest = [this] { ++Requests; };
    }
    // A second process ends at once as "not first" and the first hears it.
    void ExpectSecondRaisesFirst(const QString& folder) {
        int before = Requests;
        EXPECT_EQ(RunSecondInstance(folder), 1);
        EXPECT_TRUE(WaitUntil([&] { return Requests == before + 1; }));
    }
    SingleInstance Instance;
    int Requests = 0;
};
} // namespace

TEST(SingleInstanceTest, SecondProcessRaisesTheFirstAndEnds) {
    QTemporaryDir folder;
    FirstInstance first(folder.path());
    ASSERT_TRUE(first.Instance.Claim());
    first.ExpectSecondRaisesFirst(folder.path());
    first.ExpectSecondRaisesFirst(folder.path());
}

TEST(SingleInstanceTest, LeftoverSocketOfACrashedInstanceDoesNotBlock) {
    QTemporaryDir folder;
    {
        QFile junk(folder.path() + "/PYX32.socket");
        ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    }
    FirstInstance first(folder.path());
    ASSERT_TRUE(first.Instance.Claim());
    first.ExpectSecondRaisesFirst(folder.path());
}

TEST(SingleInstanceTest, AfterTheFirstEndsANewOneIsFirst) {
    QTemporaryDir folder;
    {
        SingleInstance first("PYX32", folder.path());
        ASSERT_TRUE(first.Claim());
    }
    EXPECT_EQ(RunSecondInstance(folder.path()), 0);
}

TEST(SingleInstanceTest, AFolderOthersMayWriteIsRefusedWithAMessage) {
    QTemporaryDir folder;
    QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                             QFile::WriteOther | QFile::ExeOther | QFile::ReadOther);
    SingleInstance instance("PYX32", folder.path());
    EXPECT_FALSE(instance.Claim());
    EXPECT_TRUE(instance.Problem().contains(folder.path())) << instance.Problem().toStdString();
    EXPECT_FALSE(QFile::exists(instance.LockPath()));
}

TEST(SingleInstanceTest, AFolderOfAnotherUserIsRefused) {
    QTemporaryDir folder;
    if (::chown(folder.path().toLocal8Bit().constData(), 65534, 65534) != 0)
        GTEST_SKIP() << "only an administrator can give the folder away";
    SingleInstance instance("PYX32", folder.path());
    EXPECT_FALSE(instance.Claim());
    EXPECT_TRUE(instance.Problem().contains("another user")) << instance.Problem().toStdString();
}

TEST(SingleInstanceTest, AHolderThatDoesNotAnswerIsReported) {
    QTemporaryDir folder;
    QLockFile silent(folder.path() + "/PYX32.lock");
    ASSERT_TRUE(silent.tryLock(0));
    SingleInstance instance("PYX32", folder.path());
    EXPECT_FALSE(instance.Claim());
    EXPECT_TRUE(instance.Problem().contains("does not answer")) << instance.Problem().toStdString();
}

TEST(SingleInstanceTest, WithoutARuntimeFolderAPrivateOneIsMade) {
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    qunsetenv("XDG_RUNTIME_DIR");
    const QString key = "PYX32-test-" + QString::number(QCoreApplication::applicationPid());
    {
        SingleInstance instance(key);
        EXPECT_TRUE(instance.Claim()) << instance.Problem().toStdString();
        const QFileInfo folder(QFileInfo(instance.LockPath()).path());
        EXPECT_TRUE(folder.filePath().startsWith(QDir::tempPath() + "/vorel-")) << folder.filePath().toStdString();
        EXPECT_EQ(folder.ownerId(), ::getuid());
        EXPECT_EQ(folder.permissions() & (QFile::WriteGroup | QFile::WriteOther | QFile::ReadOther), 0);
    }
    if (!runtime.isEmpty()) qputenv("XDG_RUNTIME_DIR", runtime);
}
