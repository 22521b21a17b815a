#include "app/WindowExtras.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QStatusBar>
#include <filesystem>

#include "app/ConversionSettings.h"
#include "app/DiscWindow.h"
#include "app/LiveConversion.h"
#include "app/MonitorView.h"
#include "app/StatusLine.h"
#include "app/StatusText.h"
#include "app/UserGuide.h"
#include "app/frmMain.h"
#include "platform/desktop/DesktopOpener.h"
#include "platform/desktop/FileChooser.h"
#include "platform/desktop/MessageBox.h"
#include "platform/files/ControlEscapes.h"
#include "platform/files/FileError.h"
#include "screen/ScreenFiles.h"

namespace {

QString Text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

QString NameText(const std::string& path) {
    return Text(WithControlsEscaped(path));
}

QAction* MakeAction(QObject* owner, const char* caption, const QKeySequence& shortcut,
                    const char* tip) {
    auto* action = new QAction(QString::fromUtf8(caption), owner);
    action->setShortcut(shortcut);
    action->setStatusTip(QString::fromUtf8(tip));
    return action;
}

void Show(QWidget* window) {
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace

WindowExtras::WindowExtras(frmMain& window, Services services)
    : QObject(&window),
      window_(window),
      chooser_(*services.fileChooser),
      messages_(*services.messageBox) {
    if (services.desktop == nullptr) {
        ownDesktop_ = std::make_unique<QtDesktopOpener>();
        services.desktop = ownDesktop_.get();
    }
    desktop_ = services.desktop;

    status = new StatusLine(window.statusBar());
    monitor = new MonitorView(&window);
    disc = new DiscWindow(&window, window.Document(), chooser_, messages_, *status);
    // Open or not, they never keep the program running once the main window has closed.
    monitor->setAttribute(Qt::WA_QuitOnClose, false);
    disc->setAttribute(Qt::WA_QuitOnClose, false);
    CreateMenus();
    SetStatusTips();
    live = new LiveConversion(window, *mnuPictureLive, *status, messages_);
    ConnectOptions();

    ConversionDocument& document = window.Document();
    document.onConverted = [this](const ConversionDocument::Conversion& conversion) {
        status->Say(
            WroteText(conversion.screenFile, conversion.choices, conversion.screen.palette));
        mnuFileSaveScreenAs->setEnabled(true);
        mnuFileAddToDisc->setEnabled(true);
        monitor->ShowConversion(conversion.screen, window_.picImage1->Surface(),
                                conversion.choices.fit);
    };
    document.onDiscSaved = [this](const std::string& path, const DiscSummary& summary,
                                  bool compress) {
        status->Say(SavedDiscText(path, summary, compress));
    };
    // The Disc window counts and saves its screens as File > "Compress Screens" says.
    disc->SetCompress(window.mnuFileCompress->isChecked());
    connect(window.mnuFileCompress, &QAction::toggled, disc,
            [this](bool compress) { disc->SetCompress(compress); });
}

WindowExtras::~WindowExtras() = default;

void WindowExtras::CreateMenus() {
    QMenu* file = window_.mnuFile;
    window_.mnuFileOpen->setShortcut(QKeySequence::Open);
    mnuFileSaveScreenAs = MakeAction(file, "Save Screen &As...", QKeySequence(Qt::CTRL | Qt::Key_S),
                                     "Saves the last conversion's screen file and its .inf "
                                     "sidecar under a name and in a folder of your choice");
    mnuFileAddToDisc = MakeAction(file, "Add &to Disc", QKeySequence(Qt::CTRL | Qt::Key_D),
                                  "Adds the last conversion to the slideshow disc (View > Disc)");
    mnuFileAddPictures = MakeAction(
        file, "Add &Pictures to Disc...", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O),
        "Converts picture files with the current settings and adds them to the slideshow disc");
    for (QAction* action : {mnuFileSaveScreenAs, mnuFileAddToDisc, mnuFileAddPictures})
        file->insertAction(window_.mnuFileExit, action);
    file->insertSeparator(window_.mnuFileExit);
    mnuFileSaveScreenAs->setEnabled(false);  // until the first conversion, as Save Disc Image
    mnuFileAddToDisc->setEnabled(false);

    QMenu* picture = window_.mnuPicture.menu;
    picture->addSeparator();
    mnuPictureLive = picture->addAction(QStringLiteral("&Convert as Options Change"));
    mnuPictureLive->setCheckable(true);
    mnuPictureLive->setStatusTip(QStringLiteral(
        "Converts and writes the files at once whenever a MODE, tone or picture choice changes"));
    window_.mnuPicture.photo->setCheckable(true);

    mnuView = new QMenu(QStringLiteral("&View"), window_.menuBar());
    window_.menuBar()->insertMenu(window_.mnuHelp->menuAction(), mnuView);
    mnuViewMonitor = MakeAction(mnuView, "&Monitor", QKeySequence(Qt::CTRL | Qt::Key_M),
                                "Shows the last conversion as the BBC Micro's monitor shows it");
    mnuViewDisc = MakeAction(mnuView, "&Disc", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D),
                             "Shows the slideshow disc being put together");
    mnuView->addActions({mnuViewMonitor, mnuViewDisc});

    QMenu* help = window_.mnuHelp;
    mnuHelpUserGuide = MakeAction(help, "&User Guide", QKeySequence::HelpContents,
                                  "Opens the user guide in your browser");
    help->insertAction(window_.mnuHelpAbout, mnuHelpUserGuide);
    help->insertSeparator(window_.mnuHelpAbout);

    connect(mnuFileSaveScreenAs, &QAction::triggered, this,
            [this] { mnuFileSaveScreenAs_Click(); });
    connect(mnuFileAddToDisc, &QAction::triggered, disc, [this] { disc->AddLastConversion(); });
    connect(mnuFileAddPictures, &QAction::triggered, disc,
            [this] { disc->ChooseAndAddPictureFiles(); });
    connect(mnuViewMonitor, &QAction::triggered, monitor, [this] { Show(monitor); });
    connect(mnuViewDisc, &QAction::triggered, disc, [this] { Show(disc); });
    connect(mnuHelpUserGuide, &QAction::triggered, this, [this] { mnuHelpUserGuide_Click(); });
}

void WindowExtras::SetStatusTips() {
    const auto tip = [](QAction* action, const char* text) {
        action->setStatusTip(QString::fromUtf8(text));
    };
    tip(window_.mnuFileOpen, "Opens a picture to convert");
    tip(window_.mnuFileSaveDisc, "Saves the last conversion as a bootable one-picture disc image");
    tip(window_.mnuFileExit, "Ends Quillix");
    tip(window_.mnuHelpAbout, "Shows the version and how to reach the maker");
    const PictureMenu& picture = window_.mnuPicture;
    for (QAction* action : picture.diffusion)
        tip(action, "Error diffusion in linear light; Off uses the Half Toning patterns");
    tip(picture.palette[0], "The MODE's own colours");
    tip(picture.palette[1], "The colours of the eight that suit the picture best");
    tip(picture.sampling[0], "Each sample is the one pixel under it");
    tip(picture.sampling[1], "Each sample is the mean of all the pixels it covers");
    tip(picture.fit[0], "The whole picture fills the whole screen, whatever its shape");
    tip(picture.fit[1], "The whole picture in its own shape, centred on black");
    tip(picture.fit[2], "The screen covered in the picture's own shape, cropped centrally");
    tip(picture.photo,
        "Atkinson, the best palette, area sampling and keep aspect: the recipe "
        "for photographs");
    tip(picture.copyPalette, "Copies the VDU 19 commands that set the conversion's colours");
}

void WindowExtras::ConnectOptions() {
    // Connected after the window's own handlers, so each runs once the setting has changed.
    const auto chosen = [this](bool) { live->OptionChosen(); };
    for (QRadioButton* option : window_.optMode) {
        connect(option, &QRadioButton::toggled, this, chosen);
        connect(option, &QRadioButton::toggled, disc, [this] { disc->ShowCapacity(); });
    }
    for (QRadioButton* option : window_.optTone)
        connect(option, &QRadioButton::toggled, this, chosen);
    connect(window_.chkStagger, &QCheckBox::toggled, this, chosen);
    const PictureMenu& picture = window_.mnuPicture;
    const auto picked = [this](bool) {
        PictureChoicesChanged();
        live->OptionChosen();
    };
    for (QAction* action : picture.diffusion) connect(action, &QAction::toggled, this, picked);
    for (QAction* action : picture.palette) connect(action, &QAction::toggled, this, picked);
    for (QAction* action : picture.sampling) connect(action, &QAction::toggled, this, picked);
    for (QAction* action : picture.fit) connect(action, &QAction::toggled, this, picked);
    connect(picture.photo, &QAction::triggered, this, [this] { PictureChoicesChanged(); });
}

void WindowExtras::OptionChosen() {
    PictureChoicesChanged();
    live->OptionChosen();
}

void WindowExtras::PictureChoicesChanged() {
    ConversionSettingsFields photo = ConversionSettings;
    ApplyPhotoSettings(photo);
    window_.mnuPicture.photo->setChecked(photo == ConversionSettings);
    // Stagger shifts the halftone screens, which play no part while a kernel diffuses; its
    // choice is kept for later.
    window_.chkStagger->setEnabled(ConversionSettings.Diffusion == 0);
}

void WindowExtras::mnuFileSaveScreenAs_Click() {
    const auto& last = window_.Document().LastConversion();
    if (!last) return;
    const std::filesystem::path picture(last->picture);
    const QString folder =
        picture.empty() ? QDir::homePath() : Text(picture.parent_path().string());
    const SaveFileRequest request{
        QStringLiteral("Save Screen As"),
        {QStringLiteral("Screen File (*.screen)"), QStringLiteral("All Files (*.*)")},
        Text(window_.Document().DiscStem() + ".screen"),
        folder};
    const QString fileName = chooser_.ShowSave(request);
    if (fileName.isEmpty()) return;
    const std::string path = fileName.toStdString();
    try {
        WriteScreenFiles(path, last->screen);
    } catch (const FileError& error) {
        messages_.Show("Cannot Write File : " + NameText(error.Path()) + "\n\n" +
                       Text(error.Reason()));
        return;
    }
    status->Say(WroteText(path, last->choices, last->screen.palette));
}

void WindowExtras::mnuHelpUserGuide_Click() {
    const std::vector<std::string> candidates =
        UserGuideCandidates(QCoreApplication::applicationDirPath().toStdString());
    const std::string guide = FindUserGuide(candidates);
    if (guide.empty()) {
        messages_.Show("User Guide Not Found : " + NameText(candidates.front()));
        return;
    }
    if (!desktop_->Open(QUrl::fromLocalFile(Text(guide)))) {
        messages_.Show("Cannot Open User Guide : " + NameText(guide));
        return;
    }
    status->Say("Opened the user guide, " + guide);
}
