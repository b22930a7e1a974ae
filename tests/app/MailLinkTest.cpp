// The mail link and the fax web page of the main window: what they open, and the mail
// address kept across a restart through config.ini.

#include "AppMessages.h"
#include "AppTestSupport.h"
#include "CQuorvanDoc.h"
#include "CommandIds.h"
#include "IniFile.h"
#include "MailDialog.h"
#include "ProgramDir.h"

#include <QApplication>
#include <QDesktopServices>
#include <QLineEdit>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <functional>

namespace vestrel {
namespace {

using namespace cmd;

// Stands in for the desktop's browser: records what the program asks to open.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    std::vector<std::string> opened;
public slots:
    void open(const QUrl& url) { opened.push_back(url.toString().toStdString()); }
};

class MailLinkTest : public testkit::MainFrameTest {
protected:
    void SetUp() override
    {
        MainFrameTest::SetUp();
        QDesktopServices::setUrlHandler("http", &catcher, "open");
        QDesktopServices::setUrlHandler("https", &catcher, "open");
    }
    void TearDown() override
    {
        QDesktopServices::unsetUrlHandler("http");
        QDesktopServices::unsetUrlHandler("https");
        MainFrameTest::TearDown();
    }

    // Runs `act` on the mail dialog once it is shown by the next command.
    static void whenMailDialogShows(std::function<void(output::MailDialog&)> act)
    {
        QTimer::singleShot(0, [act] {
            auto* dialog = qobject_cast<output::MailDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            act(*dialog);
        });
    }

    UrlCatcher catcher;
};

TEST_F(MailLinkTest, ConfirmedAddressIsOpenedAndSurvivesARestart)
{
    CMainFrame& f = make(false);
    EXPECT_EQ(f.document().MailUrl(), DefaultMailAddress());
    whenMailDialogShows([](output::MailDialog& dialog) {
        EXPECT_EQ(dialog.address(), DefaultMailAddress());
        dialog.field()->setText("https://webmail.example.net/");
        dialog.accept();
    });
    f.OnCommand(ID_SEND_MAIL);
    EXPECT_EQ(catcher.opened, std::vector<std::string>{"https://webmail.example.net/"});
    EXPECT_EQ(f.document().MailUrl(), "https://webmail.example.net/");

    frame.reset();  // closing the program writes config.ini
    IniFile ini(programpath::ConfigFile());
    ASSERT_TRUE(ini.load());
    EXPECT_EQ(ini.readString("Other", "address", "", 260), "https://webmail.example.net/");
    EXPECT_EQ(make(false).document().MailUrl(), "https://webmail.example.net/");
}

TEST_F(MailLinkTest, CancelOpensNothingAndKeepsTheAddress)
{
    CMainFrame& f = make(false);
    const std::string before = f.document().MailUrl();
    whenMailDialogShows([](output::MailDialog& dialog) {
        dialog.field()->setText("https://elsewhere.example.net/");
        dialog.reject();
    });
    f.OnCommand(ID_SEND_MAIL);
    EXPECT_TRUE(catcher.opened.empty());
    EXPECT_EQ(f.document().MailUrl(), before);
    EXPECT_TRUE(prompter.shown().empty());
}

TEST_F(MailLinkTest, FaxWebPageOpensTheFaxService)
{
    CMainFrame& f = make(false);
    ASSERT_TRUE(f.State().features.has(Feature::Mail));
    f.OnCommand(ID_NET_FAX);
    EXPECT_EQ(catcher.opened, std::vector<std::string>{appmsg::kFaxWebsite});
}

}  // namespace
}  // namespace vestrel

#include "MailLinkTest.moc"
