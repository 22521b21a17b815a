#pragma once

#include <QDialog>
#include <array>
#include <string>

#include "about/AboutServices.h"
#include "about/SysInfoLauncher.h"

class QFrame;
class QLabel;
class QPushButton;

// The About dialog: name, version, the maker's notice and contact address (a link that composes a
// mail to it), the legal warning, OK and "System Info...". Fixed size, laid out in pixels of
// twips / 15. It keeps no state: every showing builds it afresh.
class frmAbout : public QDialog {
    Q_OBJECT

public:
    frmAbout(const AboutServices& services, QWidget* owner);

    // Builds the dialog, shows it modally centred over owner and returns when it is closed.
    static void ShowModal(QWidget* owner, const AboutServices& services);

    void StartSysInfo();
    bool GetKeyValue(RegKey KeyRoot, const std::string& KeyName, const std::string& SubKeyRef,
                     std::string& KeyVal);

    QPushButton* cmdOK;
    QPushButton* cmdSysInfo;
    QLabel* picIcon;
    QLabel* lblDisclaimer;
    QLabel* lblVersion;
    QLabel* lblTitle;
    QLabel* lblCopyright;
    QLabel* Label2;
    std::array<QFrame*, 2> Line1;
    MailSession& MAPISession1;
    MailMessages& MAPIMessages1;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    void cmdOK_Click();
    void cmdSysInfo_Click();
    void Label2_Click();

    SysInfoLauncher launcher_;
};
