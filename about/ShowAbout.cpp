#include "about/ShowAbout.h"

#include <QApplication>

#include "about/frmAbout.h"
#include "platform/desktop/DesktopMail.h"
#include "platform/desktop/MessageBox.h"
#include "platform/desktop/ProgramStarter.h"
#include "platform/files/FileLookup.h"
#include "platform/registry/LinuxRegistry.h"

namespace {

// Message boxes over whichever window is modal when one is shown: the About dialog itself.
class TopmostMessageBox : public MessageBox {
public:
    explicit TopmostMessageBox(QWidget* fallbackOwner) : fallbackOwner_(fallbackOwner) {}
    void Show(const QString& text) override {
        QWidget* modal = QApplication::activeModalWidget();
        QtMessageBox(modal != nullptr ? modal : fallbackOwner_).Show(text);
    }

private:
    QWidget* fallbackOwner_;
};

}  // namespace

void ShowAboutDialog(QWidget* owner) {
    LinuxRegistry registry = LinuxRegistry::FromEnvironment();
    LocalFileLookup files;
    DetachedProgramStarter programs;
    TopmostMessageBox messages(owner);
    DesktopMailSession mailSession;
    DesktopMailMessages mailMessages(mailSession);
    frmAbout::ShowModal(owner, {registry, files, programs, messages, mailSession, mailMessages});
}
