#include "QtTestApp.h"
#include "TempProgramDir.h"
#include "TestDataPath.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QUuid>

#include <gtest/gtest.h>

using vestrel::testkit::ProgramDirTest;
using vestrel::testkit::WaitFor;

namespace {

// Two real starts of the program on the virtual camera, sharing a private instance name.
class SecondStartTest : public ProgramDirTest {
protected:
    QProcess* start(const QString& suffix)
    {
        auto* p = new QProcess;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("VESTREL_HOME", QString::fromStdString(programDir.path().string()));
        env.insert("VESTREL_INSTANCE_SUFFIX", suffix);
        env.insert("VESTREL_CAMERA", "virtual");
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("ASAN_OPTIONS", "detect_leaks=0");
        p->setProcessEnvironment(env);
        p->setProcessChannelMode(QProcess::MergedChannels);
        p->start(QStringLiteral(VESTREL_STAGE_DIR "/vestrel"), {});
        processes_.emplace_back(p);
        return p;
    }
    void TearDown() override
    {
        for (auto& p : processes_) {
            if (p->state() != QProcess::NotRunning) {
                p->terminate();
                if (!p->waitForFinished(5000)) p->kill();
                p->waitForFinished(2000);
            }
        }
    }
    std::vector<std::unique_ptr<QProcess>> processes_;
};

TEST_F(SecondStartTest, ASecondStartWakesTheFirstAndEnds)
{
    vestrel::testkit::TestApp();
    const QString suffix = QUuid::createUuid().toString(QUuid::Id128);
    QProcess* first = start(suffix);
    ASSERT_TRUE(first->waitForStarted(5000));
    // The first one listens once its window is up: config.ini is read by then.
    QByteArray firstOutput;
    ASSERT_TRUE(WaitFor([&] { return std::filesystem::exists(programDir.path() / "Photo"); }));
    WaitFor([&] { return false; }, 3000);
    ASSERT_EQ(first->state(), QProcess::Running) << first->readAll().toStdString();

    QProcess* second = start(suffix);
    ASSERT_TRUE(second->waitForFinished(20000));
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second->exitCode(), 0);

    EXPECT_TRUE(WaitFor([&] {
        firstOutput += first->readAll();
        return firstOutput.contains("woken by a second start");
    }, 10000)) << firstOutput.toStdString();
    EXPECT_EQ(first->state(), QProcess::Running);
}

}  // namespace
