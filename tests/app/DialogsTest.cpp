#include "AppDialogs.h"
#include "ScriptedPrompter.h"
#include "QtTestApp.h"

#include <QLineEdit>

#include <gtest/gtest.h>

#include <vector>

using namespace vestrel;

namespace {

TEST(FileNameDialog, RefusalsAreToldAndTheDialogStaysOpen)
{
    testkit::TestApp();
    testkit::ScriptedPrompter prompter;
    FileNameDialog dialog(prompter, ".jpg");
    EXPECT_EQ(dialog.field()->maxLength(), 255);

    dialog.field()->setText("");
    dialog.accept();
    EXPECT_TRUE(prompter.showed("请输入保存的文件名！！！"));
    EXPECT_NE(dialog.result(), QDialog::Accepted);

    dialog.field()->setText("a*b");
    dialog.accept();
    EXPECT_TRUE(prompter.showed("文件名不能包含特殊字符！！！"));
    EXPECT_TRUE(dialog.field()->text().isEmpty()) << "the field is emptied after this refusal";
    EXPECT_NE(dialog.result(), QDialog::Accepted);

    dialog.field()->setText(QStringLiteral("会议记录.final.jpg"));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.acceptedName(), "会议记录");
}

TEST(ZoomDialog, EveryMoveAppliesAndCancelPutsTheFormerLevelBack)
{
    testkit::TestApp();
    std::vector<int> applied;
    ZoomDialog dialog(2, [&](int level) { applied.push_back(level); });
    dialog.setLevel(5);
    dialog.setLevel(6);
    EXPECT_EQ(dialog.level(), 6);
    dialog.reject();
    EXPECT_EQ(applied, (std::vector<int>{5, 6, 2}));

    applied.clear();
    ZoomDialog kept(0, [&](int level) { applied.push_back(level); });
    kept.setLevel(9);  // the slider stops at 6
    EXPECT_EQ(kept.level(), 6);
    kept.accept();
    EXPECT_EQ(applied, (std::vector<int>{6}));
}

}  // namespace
