#include "shell/SingleInstance.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {
template <class Condition> bool WaitUntil(Condition condition) {
    QDeadlineTimer deadline(3000);
    while (!condition() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return condition();
}

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
} // namespace

TEST(SingleInstanceTest, SecondProcessRaisesTheFirstAndEnds) {
    QTemporaryDir folder;
    SingleInstance first("PYX32", folder.path());
    int requests = 0;
    first.OnActivateRequest = [&] { ++requests; };
    ASSERT_TRUE(first.Claim());
    EXPECT_EQ(RunSecondInstance(folder.path()), 1);
    EXPECT_TRUE(WaitUntil([&] { return requests == 1; }));
    EXPECT_EQ(RunSecondInstance(folder.path()), 1);
    EXPECT_TRUE(WaitUntil([&] { return requests == 2; }));
}

TEST(SingleInstanceTest, LeftoverSocketOfACrashedInstanceDoesNotBlock) {
    QTemporaryDir folder;
    {
        QFile junk(folder.path() + "/PYX32.socket");
        ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    }
    SingleInstance first("PYX32", folder.path());
    int requests = 0;
    first.OnActivateRequest = [&] { ++requests; };
    ASSERT_TRUE(first.Claim());
    EXPECT_EQ(RunSecondInstance(folder.path()), 1);
    EXPECT_TRUE(WaitUntil([&] { return requests == 1; }));
}

TEST(SingleInstanceTest, AfterTheFirstEndsANewOneIsFirst) {
    QTemporaryDir folder;
    {
        SingleInstance first("PYX32", folder.path());
        ASSERT_TRUE(first.Claim());
    }
    EXPECT_EQ(RunSecondInstance(folder.path()), 0);
}
