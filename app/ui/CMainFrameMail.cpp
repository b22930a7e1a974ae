// The main window's web links of the file menu: the mail link ("发送邮件"), whose address
// the user confirms in the mail dialog, and the fax service's web page ("网络传真").

#include "AppMessages.h"
#include "CMainFrame.h"
#include "CQuorvanDoc.h"
#include "CommandIds.h"
#include "MailDialog.h"

#include <QDesktopServices>
#include <QUrl>

namespace vestrel {

using namespace cmd;

void CMainFrame::registerMailHandlers()
{
    handlers_[ID_SEND_MAIL] = [this] { OnSendMail(); };
    handlers_[ID_NET_FAX] = [] { QDesktopServices::openUrl(QUrl(QString::fromUtf8(appmsg::kFaxWebsite))); };
}

void CMainFrame::OnSendMail()
{
    // A tool or a paste in progress ends first, as with every document command.
    doc_->ResetTools();
    redrawPanes();
    output::MailDialog dialog(prompter_, doc_->MailUrl(), this);
    if (dialog.exec() != QDialog::Accepted) return;
    doc_->SetMailUrl(dialog.address());
    // The settings carry it too: the next library refresh hands them to the document again.
    settings_.address = dialog.address();
    QDesktopServices::openUrl(QUrl(QString::fromStdString(dialog.address())));
}

}  // namespace vestrel
