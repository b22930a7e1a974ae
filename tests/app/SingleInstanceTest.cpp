#include "SingleInstance.h"

#include "QtTestApp.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QUuid>

#include <gtest/gtest.h>

using namespace vestrel;

namespace {

QString UniqueName() { return "velk-test-" + QUuid::createUuid().toString(QUuid::Id128); }

void App() { testkit::TestApp(); }

TEST(SingleInstance, TheNameComesFromVelkAndTheUser)
{
    EXPECT_TRUE(SingleInstanceServerName().startsWith("velk-"));
    EXPECT_GT(SingleInstanceServerName().size(), 5);
}

TEST(SingleInstance, ASecondClaimWakesTheFirstAndIsRefused)
{
    App();
    const QString name = UniqueName();
    SingleInstance first("标题 key", name);
    ASSERT_TRUE(first.claim());
    QSignalSpy woken(&first, &SingleInstance::wakeRequested);

    SingleInstance second("标题 key", name);
    EXPECT_FALSE(second.claim());
    EXPECT_TRUE(woken.wait(2000));
    EXPECT_EQ(woken.count(), 1);
}

TEST(SingleInstance, AWrongKeyWakesNothing)
{
    App();
    const QString name = UniqueName();
    SingleInstance first("right", name);
    ASSERT_TRUE(first.claim());
    QSignalSpy woken(&first, &SingleInstance::wakeRequested);
    SingleInstance other("wrong", name);
    EXPECT_FALSE(other.claim());
    EXPECT_FALSE(woken.wait(300));
}

TEST(SingleInstance, AStaleSocketOfADeadInstanceIsTakenOver)
{
    App();
    const QString name = UniqueName();
    {
        SingleInstance gone("k", name);
        ASSERT_TRUE(gone.claim());
    }
    SingleInstance next("k", name);
    EXPECT_TRUE(next.claim());
}

}  // namespace
