#include "about/frmAbout.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <exception>
#include <functional>

#include "about/AboutTexts.h"
#include "platform/desktop/ProgramIcon.h"
#include "platform/desktop/Twips.h"

namespace {

// A horizontal line from x1 to x2 at y (twips), thickness in pixels.
QFrame* MakeLine(QWidget* parent, int x1, int x2, int y, int thickness, const QColor& colour) {
    auto* line = new QFrame(parent);
    line->setObjectName(QStringLiteral("Line1"));
    line->setGeometry(TwipsToPixels(x1), TwipsToPixels(y), TwipsToPixels(x2) - TwipsToPixels(x1),
                      thickness);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, colour);
    line->setPalette(palette);
    line->setAutoFillBackground(true);
    return line;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const QRect& box) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(box);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

void SetTextColour(QLabel* label, const QColor& colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

// Runs one step of the contact mail; a failing step is skipped.
void Skipping(const std::function<void()>& step) {
    try {
        step();
    } catch (const std::exception&) {
    }
}

}  // namespace

frmAbout::frmAbout(const AboutServices& services, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      MAPISession1(services.mailSession),
      MAPIMessages1(services.mailMessages),
      launcher_(services.registry, services.files, services.programs, services.messages) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Quillix"));
    setWindowIcon(ProgramIcon());
    setFixedSize(TwipsToPixels(5655), TwipsToPixels(4050));
    setSizeGripEnabled(false);
    // Sized in pixels, as the layout is, so every text keeps to its box at any screen resolution.
    QFont font = QApplication::font();
    font.setPixelSize(11);
    setFont(font);

    // In tab order: OK first, so it has the focus when the dialog opens.
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(TwipsRect(4245, 2760, 1260, 345));
    cmdOK->setDefault(true);
    cmdSysInfo = new QPushButton(QStringLiteral("&System Info..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    cmdSysInfo->setGeometry(TwipsRect(4260, 3240, 1245, 345));
    setTabOrder(cmdOK, cmdSysInfo);

    picIcon = MakeLabel(this, "picIcon", QString(), TwipsRect(240, 240, 540, 540));
    picIcon->setPixmap(ProgramIcon().pixmap(32, 32));

    lblDisclaimer = MakeLabel(this, "lblDisclaimer", QString::fromUtf8(kLegalWarning),
                              TwipsRect(240, 2625, 3630, 1260));
    lblDisclaimer->setWordWrap(true);
    lblVersion =
        MakeLabel(this, "lblVersion", QStringLiteral("Version"), TwipsRect(1050, 480, 3885, 225));
    lblTitle =
        MakeLabel(this, "lblTitle", QStringLiteral("Quillix"), TwipsRect(1050, 240, 3885, 240));
    SetTextColour(lblTitle, Qt::black);
    lblCopyright = MakeLabel(this, "lblCopyright", QString::fromUtf8(kMakerNotice),
                             TwipsRect(1050, 720, 2415, 255));

    Label2 = MakeLabel(this, "Label2", QString::fromUtf8(kContactAddress),
                       TwipsRect(3600, 720, 1950, 255));
    SetTextColour(Label2, QColor(0, 0, 192));
    QFont linkFont = font;
    linkFont.setUnderline(true);
    Label2->setFont(linkFont);
    Label2->setCursor(Qt::PointingHandCursor);
    Label2->installEventFilter(this);

    // An etched separator: grey, and white one pixel lower and further right.
    Line1[1] = MakeLine(this, 225, 5450, 2430, 1, QColor(128, 128, 128));
    Line1[1]->setProperty("Index", 1);
    Line1[0] = MakeLine(this, 240, 5450, 2445, 2, QColor(255, 255, 255));
    Line1[0]->setProperty("Index", 0);

    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdSysInfo, &QPushButton::clicked, this, [this] { cmdSysInfo_Click(); });
    cmdOK->setFocus();

    Form_Load();
}

void frmAbout::ShowModal(QWidget* owner, const AboutServices& services) {
    frmAbout form(services, owner);
    form.exec();
}

void frmAbout::Form_Load() {
    lblVersion->setText(
        VersionCaption(QUILLIX_VERSION_MAJOR, QUILLIX_VERSION_MINOR, QUILLIX_VERSION_PATCH));
}

void frmAbout::cmdOK_Click() {
    accept();
}

void frmAbout::cmdSysInfo_Click() {
    StartSysInfo();
}

void frmAbout::StartSysInfo() {
    launcher_.StartSysInfo();
}

bool frmAbout::GetKeyValue(RegKey KeyRoot, const std::string& KeyName, const std::string& SubKeyRef,
                           std::string& KeyVal) {
    return launcher_.GetKeyValue(KeyRoot, KeyName, SubKeyRef, KeyVal);
}

void frmAbout::Label2_Click() {
    // Without a session and an empty message there is nothing to address: give up quietly,
    // signing off what was signed on, and leave the dialog as it was.
    bool signedOn = false;
    try {
        MAPISession1.SignOn();
        signedOn = true;
        MAPIMessages1.SetSessionID(MAPISession1.SessionID());
        MAPIMessages1.Compose();
    } catch (const std::exception&) {
        if (signedOn) Skipping([this] { MAPISession1.SignOff(); });
        return;
    }
    // From here a failing step is skipped: a cancelled send or an unknown address is the
    // user's business, and the session is always signed off.
    const QString address = QString::fromUtf8(kContactAddress);
    Skipping([&] { MAPIMessages1.SetRecipAddress(address); });
    Skipping([&] { MAPIMessages1.SetRecipDisplayName(address); });
    Skipping([this] { MAPIMessages1.SetAction(kMailActionSend); });
    Skipping([this] { MAPISession1.SignOff(); });
}

void frmAbout::keyPressEvent(QKeyEvent* event) {
    // OK is also the cancel button: Esc presses it.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        cmdOK->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Label2 && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton &&
            Label2->rect().contains(mouse->position().toPoint())) {
            Label2_Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
