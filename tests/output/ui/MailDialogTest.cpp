// The mail dialog offscreen: what typing tells the user and what OK accepts.

#include "MailAddress.h"
#include "MailDialog.h"
#include "UiTestSupport.h"

#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace vestrel::output {
namespace {

class MailDialogTest : public ::testing::Test {
protected:
    MailDialogTest() { testkit::TestApp(); }
    testkit::ScriptedPrompter prompter;

    // Empties the field the way a user would and types `text`.
    static void retype(MailDialog& dialog, const QString& text)
    {
        dialog.field()->selectAll();
        QTest::keyClick(dialog.field(), Qt::Key_Delete);
        QTest::keyClicks(dialog.field(), text);
    }
};

TEST_F(MailDialogTest, SecureAddressIsTypedAndAcceptedWithoutComplaint)
{
    MailDialog dialog(prompter, "http://old.example.com/");
    retype(dialog, "https://mail.example.com/");
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.address(), "https://mail.example.com/");
    EXPECT_TRUE(prompter.shown().empty());
}

TEST_F(MailDialogTest, BarePrefixIsRefusedAndOneMoreCharacterAccepted)
{
    MailDialog dialog(prompter, "");
    retype(dialog, "http://");
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{mail::kInvalidMailAddress});

    QTest::keyClicks(dialog.field(), "m");
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.address(), "http://m");
}

TEST_F(MailDialogTest, OtherSchemeIsToldWhileTypingAndRefusedByOk)
{
    MailDialog dialog(prompter, "");
    retype(dialog, "ftp://x");  // the seventh character shows the scheme
    EXPECT_TRUE(prompter.showed(mail::kInvalidMailAddress));
    prompter.clear();
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{mail::kInvalidMailAddress});
}

TEST_F(MailDialogTest, CancelKeepsTheAddress)
{
    MailDialog dialog(prompter, "https://mail.example.com/");
    retype(dialog, "https://other.example.com/");
    dialog.reject();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_TRUE(prompter.shown().empty());
}

}  // namespace
}  // namespace vestrel::output
