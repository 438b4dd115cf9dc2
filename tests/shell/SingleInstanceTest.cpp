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
