#include "app/frmMain.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>
#include <exception>
#include <filesystem>
#include <optional>

#include "about/ShowAbout.h"
#include "app/AdjustPictureDialog.h"
#include "app/CaptureSampleGrid.h"
#include "app/ConversionSettings.h"
#include "app/Module1.h"
#include "app/PictureToOpen.h"
#include "app/WindowExtras.h"
#include "app/WriteImage.h"
#include "colour/PaletteText.h"
#include "disc/SlideshowDisc.h"
#include "platform/desktop/ApplicationTitle.h"
#include "platform/desktop/Clipboard.h"
#include "platform/desktop/FileChooser.h"
#include "platform/desktop/MessageBox.h"
#include "platform/desktop/ProgramIcon.h"
#include "platform/desktop/SettingsStore.h"
#include "platform/desktop/StartFolder.h"
#include "platform/desktop/Twips.h"
#include "platform/files/ControlEscapes.h"
#include "platform/files/FileError.h"
#include "platform/files/PlainFile.h"

namespace {

constexpr int kClientWidth = 671;   // 10065 twips
constexpr int kClientHeight = 495;  // 7425 twips
constexpr int kSamplingDelayMs = 1000;

const char* const kSettingsSection = "Settings";
const char* const kRootKey = "Root";
const char* const kRootDefault = "C:\\";

const char* const kModeCaptions[5] = {"Mode 0", "Mode 1", "Mode 2", "Mode 4", "Mode 5"};
const std::int16_t kModeOfIndex[5] = {0, 1, 2, 4, 5};
const char* const kToneCaptions[5] = {"None", "Fine", "Coarse", "Spiral", "Diagonal"};

QString Text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

// A file name as a message shows it: control characters escaped, so that it stays on its line.
QString NameText(const std::string& path) {
    return Text(WithControlsEscaped(path));
}

// An option button of a frame: Index counts down from the top, 360 twips apart.
QRadioButton* MakeOption(const char* caption, int index, QGroupBox* frame) {
    auto* option = new QRadioButton(QString::fromUtf8(caption), frame);
    option->setGeometry(TwipsRect(240, 240 + 360 * index, 1380, 345));
    return option;
}

}  // namespace

frmMain::frmMain(frmMainServices services) {
    if (services.fileChooser == nullptr) {
        ownFileChooser_ = std::make_unique<QtFileChooser>(this);
        services.fileChooser = ownFileChooser_.get();
    }
    if (services.messageBox == nullptr) {
        ownMessageBox_ = std::make_unique<QtMessageBox>(this);
        services.messageBox = ownMessageBox_.get();
    }
    if (services.settings == nullptr) {
        ownSettings_ = std::make_unique<QtSettingsStore>();
        services.settings = ownSettings_.get();
    }
    if (!services.showAbout) services.showAbout = ShowAboutDialog;
    if (services.clipboard == nullptr) {
        ownClipboard_ = std::make_unique<QtClipboard>();
        services.clipboard = ownClipboard_.get();
    }
    if (services.pictureAdjuster == nullptr) {
        ownPictureAdjuster_ = std::make_unique<QtPictureAdjuster>();
        services.pictureAdjuster = ownPictureAdjuster_.get();
    }
    pictureAdjuster_ = services.pictureAdjuster;
    clipboard_ = services.clipboard;
    dlgCommonDialog_ = services.fileChooser;
    messageBox_ = services.messageBox;
    settings_ = services.settings;
    showAbout_ = std::move(services.showAbout);

    setWindowTitle(QString::fromUtf8(kApplicationTitle));
    setWindowIcon(ProgramIcon());
    setAcceptDrops(true);
    CreateControls();
    CreateMenus();
    ConnectHandlers();
    SetTabOrder();
    extras = new WindowExtras(*this, {dlgCommonDialog_, messageBox_, services.desktop});
    resize(kClientWidth,
           kClientHeight + menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
}

frmMain::~frmMain() = default;

void frmMain::CreateControls() {
    auto* client = new QWidget(this);
    setCentralWidget(client);

    cmdConvert = new QPushButton(QStringLiteral("Convert"), client);
    cmdConvert->setGeometry(TwipsRect(3360, 6720, 1215, 495));
    // Neither the default nor the cancel button: Enter and Esc never start a conversion.
    cmdConvert->setAutoDefault(false);
    cmdConvert->setDefault(false);

    picImage2 = new PictureBoxView(PictureBox(kPreviewWidth, kPreviewHeight), client);
    picImage2->setGeometry(TwipsRect(120, 165, 4860, 3900));

    picImage1 = new PictureBoxView(PictureBox(), client);
    picImage1->setGeometry(TwipsRect(5100, 165, 4860, 3900));
    picImage1->SetAutoSize(true);

    Frame1 = new QGroupBox(QStringLiteral("BBC Screen Mode"), client);
    Frame1->setGeometry(TwipsRect(120, 4200, 2355, 2220));
    for (int index = 0; index < 5; ++index) {
        optMode[index] = MakeOption(kModeCaptions[index], index, Frame1);
    }

    Frame2 = new QGroupBox(QStringLiteral("Half Toning"), client);
    Frame2->setGeometry(TwipsRect(2640, 4200, 2355, 2220));
    for (int index = 0; index < 5; ++index) {
        optTone[index] = MakeOption(kToneCaptions[index], index, Frame2);
    }

    Frame3 = new QGroupBox(QStringLiteral("Options"), client);
    Frame3->setGeometry(TwipsRect(120, 6480, 2415, 855));
    chkStagger = new QCheckBox(QStringLiteral("Stagger"), Frame3);
    chkStagger->setGeometry(TwipsRect(360, 360, 1215, 255));

    Timer1 = new QTimer(this);
    Timer1->setSingleShot(true);
}

void frmMain::CreateMenus() {
    mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuFileOpen = mnuFile->addAction(QStringLiteral("Open..."));
    mnuFileSaveDisc = mnuFile->addAction(QStringLiteral("Save &Disc Image..."));
    mnuFileSaveDisc->setEnabled(false);  // until the first conversion of this run
    mnuFileSep = mnuFile->addSeparator();
    mnuFileCompress = mnuFile->addAction(QStringLiteral("&Compress Screens"));  // on saved discs
    mnuFileCompress->setCheckable(true);
    mnuFile->addSeparator();
    mnuFileExit = mnuFile->addAction(QStringLiteral("E&xit"));
    mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    mnuHelpAbout = mnuHelp->addAction(QStringLiteral("About..."));
    mnuPicture = CreatePictureMenu(menuBar(), mnuHelp->menuAction());
}

void frmMain::ConnectHandlers() {
    for (int index = 0; index < 5; ++index) {
        // Choosing an option, by the user or by the program, runs its Click handler.
        connect(optMode[index], &QRadioButton::toggled, this, [this, index](bool chosen) {
            if (chosen) optMode_Click(static_cast<std::int16_t>(index));
        });
        connect(optTone[index], &QRadioButton::toggled, this, [this, index](bool chosen) {
            if (chosen) optTone_Click(static_cast<std::int16_t>(index));
        });
    }
    connect(chkStagger, &QCheckBox::toggled, this, [this] { chkStagger_Click(); });
    connect(cmdConvert, &QPushButton::clicked, this, [this] { cmdConvert_Click(); });
    connect(mnuFileOpen, &QAction::triggered, this, [this] { mnuFileOpen_Click(); });
    connect(mnuFileSaveDisc, &QAction::triggered, this, [this] { mnuFileSaveDisc_Click(); });
    connect(mnuFileExit, &QAction::triggered, this, [this] { mnuFileExit_Click(); });
    connect(mnuHelpAbout, &QAction::triggered, this, [this] { mnuHelpAbout_Click(); });
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });

    // Like the option buttons: checking an item, by the user or the program, runs its handler.
    const auto onChosen = [this](const auto& actions, void (frmMain::*handler)(std::int16_t)) {
        for (std::size_t index = 0; index < actions.size(); ++index) {
            connect(actions[index], &QAction::toggled, this, [this, handler, index](bool chosen) {
                if (chosen) (this->*handler)(static_cast<std::int16_t>(index));
            });
        }
    };
    onChosen(mnuPicture.diffusion, &frmMain::mnuPictureDiffusion_Click);
    onChosen(mnuPicture.palette, &frmMain::mnuPicturePalette_Click);
    onChosen(mnuPicture.sampling, &frmMain::mnuPictureSampling_Click);
    onChosen(mnuPicture.fit, &frmMain::mnuPictureFit_Click);
    connect(mnuPicture.adjust, &QAction::triggered, this, [this] { mnuPictureAdjust_Click(); });
    connect(mnuPicture.photo, &QAction::triggered, this, [this] { mnuPicturePhoto_Click(); });
    connect(mnuPicture.copyPalette, &QAction::triggered, this,
            [this] { mnuPictureCopyPalette_Click(); });
    connect(mnuPicture.teletext, &QAction::triggered, this, [this] { mnuPictureTeletext_Click(); });
}

void frmMain::SetTabOrder() {
    // The picture boxes keep their places in the order but take no keyboard focus themselves.
    picImage2->setFocusPolicy(Qt::NoFocus);
    picImage1->setFocusPolicy(Qt::NoFocus);
    QWidget* previous = cmdConvert;
    const auto follow = [&previous](QWidget* next) {
        setTabOrder(previous, next);
        previous = next;
    };
    follow(picImage2);
    follow(picImage1);
    for (QRadioButton* option : optMode) follow(option);
    // The halftone options are tabbed through from the bottom up.
    for (int index = 4; index >= 0; --index) follow(optTone[index]);
    follow(chkStagger);
}

bool frmMain::focusNextPrevChild(bool next) {
    // Tab visits each option group once, landing on its chosen option; the arrow keys move
    // within the group.
    const auto chosen = [](const std::array<QRadioButton*, 5>& group, QRadioButton* fallback) {
        for (QRadioButton* option : group) {
            if (option->isChecked()) return option;
        }
        return fallback;
    };
    const std::array<QWidget*, 4> stops = {cmdConvert, chosen(optMode, optMode[0]),
                                           chosen(optTone, optTone[4]), chkStagger};
    QWidget* current = focusWidget();
    int at = -1;
    if (current == cmdConvert) at = 0;
    if (std::find(optMode.begin(), optMode.end(), current) != optMode.end()) at = 1;
    if (std::find(optTone.begin(), optTone.end(), current) != optTone.end()) at = 2;
    if (current == chkStagger) at = 3;
    if (at < 0) return QMainWindow::focusNextPrevChild(next);

    const int count = static_cast<int>(stops.size());
    stops[(at + (next ? 1 : count - 1)) % count]->setFocus(next ? Qt::TabFocusReason
                                                                : Qt::BacktabFocusReason);
    return true;
}

void frmMain::Form_Load() {
    show();
    ConversionSettings.ScreenMode = 2;
    ConversionSettings.ScaleToGrid = 1;
    ConversionSettings.ToneStyle = 0;
    ConversionSettings.StaggerOn = 0;
    optMode[2]->setChecked(true);
    optTone[0]->setChecked(true);
    ConversionSettings.GridWidth = 320;
    ConversionSettings.GridHeight = 256;
    mnuPicture.diffusion[0]->setChecked(true);
    mnuPicture.palette[0]->setChecked(true);
    mnuPicture.sampling[0]->setChecked(true);
    mnuPicture.fit[0]->setChecked(true);
    ConversionSettings.Adjustments = PictureAdjustments{};
    ShowPalette(DefaultPalette(ConversionSettings.ScreenMode));
}

void frmMain::optMode_Click(std::int16_t Index) {
    if (Index < 0 || Index > 4) return;
    ConversionSettings.ScreenMode = kModeOfIndex[Index];
}

void frmMain::optTone_Click(std::int16_t Index) {
    if (Index < 0 || Index > 4) return;
    ConversionSettings.ToneStyle = Index;
}

void frmMain::chkStagger_Click() {
    ConversionSettings.StaggerOn = chkStagger->isChecked() ? 1 : 0;
}

void frmMain::cmdConvert_Click() {
    document_.ResampleIfChoicesChanged(picImage1->Surface(), picImage2->Surface());
    Module1::InitTables();
    Module1::BuildThresholdTable();
    ShowConversion([this] { return WriteImage(kScreenFileName, kConvertMaxVal); });
}

void frmMain::ShowConversion(const std::function<Palette()>& convert) {
    // A conversion that cannot be written leaves the previous files as they were, so the preview
    // goes back to what it showed; the user keeps the picture and settings and may try again.
    const PictureBox shownBefore = picImage2->Surface();
    std::optional<QString> failure;
    Palette palette;
    try {
        palette = convert();
    } catch (const FileError& error) {
        failure = "Cannot Write File : " + NameText(error.Path()) + "\n\n" + Text(error.Reason());
    } catch (const std::exception& error) {
        failure = "Cannot Convert : " + Text(error.what());
    }
    if (failure) {
        picImage2->Surface() = shownBefore;
        picImage2->Surface().Touch();
    } else {
        ShowPalette(palette);
        mnuFileSaveDisc->setEnabled(true);
    }
    RefreshPictures();
    if (failure) messageBox_->Show(*failure);
}

Palette frmMain::WriteImage(const std::string& fileName, std::int32_t maxVal) {
    return document_.WriteImage(picImage2->Surface(), fileName, maxVal).screen.palette;
}

void frmMain::mnuFileOpen_Click() {
    const OpenFileRequest request{
        QStringLiteral("Open Picture File"),
        {QStringLiteral("Picture File (*.bmp;*.jpg)"), QStringLiteral("All Files (*.*)")},
        StartFolder(settings_->GetSetting(kSettingsSection, kRootKey, kRootDefault))};
    const QString fileName = dlgCommonDialog_->ShowOpen(request);
    if (fileName.isEmpty()) return;
    OpenPicture(fileName);
}

void frmMain::OpenPicture(const QString& fileName) {
    const std::string path = fileName.toStdString();
    if (!PlainFileExists(path)) {
        messageBox_->Show("File Not Found : " + NameText(path));
        return;
    }
    settings_->SaveSetting(kSettingsSection, kRootKey, fileName);

    // A file that is no picture changes nothing else: the shown picture, the samples, the timer
    // and the output files stay as they were.
    try {
        document_.Open(path, picImage1->Surface());
    } catch (const FileError& error) {
        messageBox_->Show("Cannot Read Picture : " + NameText(path) + "\n\n" +
                          Text(error.Reason()));
        return;
    } catch (const std::exception& error) {
        messageBox_->Show("Cannot Read Picture : " + NameText(path) + "\n\n" + Text(error.what()));
        return;
    }
    RefreshPictures();

    Timer1->setInterval(kSamplingDelayMs);
    Timer1->start();
}

void frmMain::mnuFileSaveDisc_Click() {
    if (!document_.LastConversion()) return;
    const std::filesystem::path picture(document_.LastConversion()->picture);
    const std::string stem = document_.DiscStem();
    const QString folder =
        picture.empty()
            ? StartFolder(settings_->GetSetting(kSettingsSection, kRootKey, kRootDefault))
            : Text(picture.parent_path().string());
    const SaveFileRequest request{QStringLiteral("Save Disc Image"),
                                  {QStringLiteral("Disc Image (*.ssd)")},
                                  Text(stem + ".ssd"),
                                  folder};
    const QString fileName = dlgCommonDialog_->ShowSave(request);
    if (fileName.isEmpty()) return;

    try {
        document_.SaveDisc(fileName.toStdString(), mnuFileCompress->isChecked());
    } catch (const FileError& error) {
        messageBox_->Show("Cannot Write File : " + NameText(error.Path()) + "\n\n" +
                          Text(error.Reason()));
    }
}

void frmMain::OpenPictureLater(const QString& fileName) {
    // After the event that asked for it has ended: a dropped file's source is not kept waiting,
    // and a picture named at start opens in the window already shown.
    QMetaObject::invokeMethod(
        this, [this, fileName] { OpenPicture(fileName); }, Qt::QueuedConnection);
}

void frmMain::dragEnterEvent(QDragEnterEvent* event) {
    if (DroppedPicture(*event->mimeData())) event->acceptProposedAction();
}

void frmMain::dropEvent(QDropEvent* event) {
    const std::optional<QString> picture = DroppedPicture(*event->mimeData());
    if (!picture) return;
    event->acceptProposedAction();
    OpenPictureLater(*picture);
}

void frmMain::mnuFileExit_Click() {
    Timer1->stop();
    close();
    QCoreApplication::quit();
}

void frmMain::mnuHelpAbout_Click() {
    showAbout_(this);
}

void frmMain::Timer1_Timer() {
    // One arming, one pass.
    Timer1->stop();
    document_.Sample(picImage1->Surface(), picImage2->Surface());
    cmdConvert_Click();
}

void frmMain::mnuPictureDiffusion_Click(std::int16_t Index) {
    ConversionSettings.Diffusion = Index;
    // The halftone patterns play no part while diffusing; the choice is kept for later.
    Frame2->setEnabled(Index == 0);
}

void frmMain::mnuPicturePalette_Click(std::int16_t Index) {
    ConversionSettings.PaletteChoice = Index;
}

void frmMain::mnuPictureSampling_Click(std::int16_t Index) {
    ConversionSettings.Sampling = Index;
}

void frmMain::mnuPictureFit_Click(std::int16_t Index) {
    ConversionSettings.Fit = Index;
}

void frmMain::mnuPicturePhoto_Click() {
    ConversionSettingsFields photo = ConversionSettings;
    ApplyPhotoSettings(photo);
    mnuPicture.diffusion.at(photo.Diffusion)->setChecked(true);
    mnuPicture.palette.at(photo.PaletteChoice)->setChecked(true);
    mnuPicture.sampling.at(photo.Sampling)->setChecked(true);
    mnuPicture.fit.at(photo.Fit)->setChecked(true);
    AdjustmentsChanged(photo.Adjustments);
}

void frmMain::mnuPictureAdjust_Click() {
    const PictureAdjustments before = ConversionSettings.Adjustments;
    const std::optional<PictureAdjustments> chosen = pictureAdjuster_->Adjust(
        this, before, [this](const PictureAdjustments& a) { AdjustmentsChanged(a); });
    AdjustmentsChanged(chosen.value_or(before));
}

void frmMain::AdjustmentsChanged(const PictureAdjustments& adjustments) {
    ConversionSettings.Adjustments = adjustments;
    if (extras != nullptr) extras->OptionChosen();
}

void frmMain::mnuPictureCopyPalette_Click() {
    clipboard_->SetText(QString::fromStdString(paletteCommands_));
}

void frmMain::mnuPictureTeletext_Click() {
    document_.ResampleIfChoicesChanged(picImage1->Surface(), picImage2->Surface());
    ShowConversion([this] {
        document_.WriteTeletext(picImage2->Surface(), kScreenFileName);
        return DefaultPalette(ConversionSettings.ScreenMode);  // teletext takes no VDU 19
    });
}

void frmMain::ShowPalette(const Palette& palette) {
    paletteCommands_ = Vdu19Line(palette, ConversionSettings.ScreenMode);
    picImage2->setToolTip(QString::fromStdString(paletteCommands_));
    mnuPicture.copyPalette->setEnabled(!paletteCommands_.empty());
}

void frmMain::closeEvent(QCloseEvent* event) {
    // A pass that has not started yet never will.
    Timer1->stop();
    QMainWindow::closeEvent(event);
}

void frmMain::RefreshPictures() {
    picImage1->Refresh();
    picImage2->Refresh();
}
