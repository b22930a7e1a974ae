#include "QtPrompter.h"
#include "ScriptedPrompter.h"

#include "QtTestApp.h"

#include <QMessageBox>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

using namespace vestrel;
using testkit::ScriptedPrompter;

namespace {

TEST(ScriptedPrompter, AnswersInOrderAndRecordsTexts)
{
    ScriptedPrompter p;
    p.answer(Answer::Yes).answerPath("/tmp/x.pdf");
    p.message("没有找到视频采集设备！", "提示");
    EXPECT_EQ(p.askYesNo("此操作将停止合成pdf，是否继续？", "警告"), Answer::Yes);
    EXPECT_EQ(p.saveFile({.title = "save"}), "/tmp/x.pdf");
    EXPECT_TRUE(p.showed("没有找到视频采集设备！"));
    ASSERT_EQ(p.shown().size(), 3u);
    EXPECT_EQ(p.shown()[1].caption, "警告");
}

TEST(ScriptedPrompter, AnUnscriptedQuestionFailsTheTest)
{
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedPrompter p;
            p.askYesNo("unexpected?", "");
        },
        "unscripted");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedPrompter p;
            p.answer(Answer::Yes);
        },
        "never asked for");
}

TEST(QtPrompter, AMessageShownWhileTheWindowIsHiddenDoesNotEndTheProgram)
{
    // The program's window hidden in the tray, a box without a parent (a timed scan that
    // failed meanwhile), dismissed: the program must run on.
    testkit::TestApp();
    ASSERT_TRUE(QApplication::quitOnLastWindowClosed());
    QWidget window;
    window.show();
    window.hide();
    QtPrompter prompter(nullptr);
    bool shown = false;
    QTimer dismiss;
    QObject::connect(&dismiss, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = true;
            box->close();  // as the box's close button does
        }
    });
    dismiss.start(20);
    QTimer::singleShot(0, [&] { prompter.message("扫描图片保存失败：x"); });
    QTimer::singleShot(1000, [] { QCoreApplication::exit(42); });
    EXPECT_EQ(QCoreApplication::exec(), 42) << "the event loop ended when the box closed";
    EXPECT_TRUE(shown);
}

TEST(QtFilter, OldFiltersBecomeQtFilters)
{
    EXPECT_EQ(ToQtFilter("图片|*.jpg;*.bmp|All|*.*||"), "图片 (*.jpg *.bmp);;All (*.*)");
    EXPECT_EQ(ToQtFilter("Images (*.png)"), "Images (*.png)");
}

}  // namespace
