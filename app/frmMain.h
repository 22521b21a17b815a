#pragma once

#include <QMainWindow>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/ConversionDocument.h"
#include "app/PictureBoxView.h"
#include "app/PictureMenu.h"
#include "colour/Palette.h"
#include "convert/PictureAdjustments.h"

class Clipboard;
class DesktopOpener;
class PictureAdjuster;
class FileChooser;
class MessageBox;
class QAction;
class QCheckBox;
class QCloseEvent;
class QDragEnterEvent;
class QDropEvent;
class QGroupBox;
class QMenu;
class QPushButton;
class QRadioButton;
class QTimer;
class SettingsStore;
class WindowExtras;

// The platform services the main window reaches out to. Any left empty is the real one, made
// and owned by the window; tests pass their own so that no dialog blocks.
struct frmMainServices {
    FileChooser* fileChooser = nullptr;
    MessageBox* messageBox = nullptr;
    SettingsStore* settings = nullptr;
    std::function<void(QWidget* owner)> showAbout;
    Clipboard* clipboard = nullptr;
    PictureAdjuster* pictureAdjuster = nullptr;
    DesktopOpener* desktop = nullptr;
};

// The main window: the two picture boxes, the MODE, halftone and Stagger options, the Convert
// button and the menu. Each handler is named after its control and event.
class frmMain : public QMainWindow {
    Q_OBJECT

public:
    explicit frmMain(frmMainServices services = {});
    ~frmMain() override;

    // Start-up: shows the window and sets the conversion settings to their start values.
    void Form_Load();

    void optMode_Click(std::int16_t Index);
    void optTone_Click(std::int16_t Index);
    void chkStagger_Click();
    void cmdConvert_Click();
    void mnuFileOpen_Click();
    void mnuFileSaveDisc_Click();
    void mnuFileExit_Click();
    void mnuHelpAbout_Click();
    void Timer1_Timer();

    // The Picture menu: each choice only changes ConversionSettings, as the option buttons do.
    void mnuPictureDiffusion_Click(std::int16_t Index);
    void mnuPicturePalette_Click(std::int16_t Index);
    void mnuPictureSampling_Click(std::int16_t Index);
    void mnuPictureFit_Click(std::int16_t Index);
    void mnuPicturePhoto_Click();
    // Adjust Picture: the dialog's values become the settings' adjustments as the user changes
    // them (AdjustmentsChanged); Cancel puts back those it started from.
    void mnuPictureAdjust_Click();
    void AdjustmentsChanged(const PictureAdjustments& adjustments);
    void mnuPictureCopyPalette_Click();
    // Converts the sampled picture in MODE 7, as a teletext page, with the current Sampling and
    // Fit; the option buttons and the Convert button keep to the bitmap MODEs.
    void mnuPictureTeletext_Click();
    // The Open command after its chooser, for the chosen file's full path: checks that it is a
    // plain file (else "File Not Found"), remembers it, loads it into picImage1 (else "Cannot
    // Read Picture") and schedules the sampling pass.
    void OpenPicture(const QString& fileName);
    // The same, once the current event has been handled: for a picture named at start or
    // dropped onto the window.
    void OpenPictureLater(const QString& fileName);

    // Encodes the SampleGrid into the screen file and its sidecar, drawing the converted picture
    // into picImage2. Returns the palette of the screen file.
    Palette WriteImage(const std::string& fileName, std::int32_t maxVal);

    // What was opened, sampled and converted.
    const ConversionDocument& Document() const { return document_; }
    ConversionDocument& Document() { return document_; }

    // The controls, for the handlers and for tests that drive the window as a user would.
    QPushButton* cmdConvert = nullptr;
    PictureBoxView* picImage2 = nullptr;
    PictureBoxView* picImage1 = nullptr;
    QGroupBox* Frame1 = nullptr;
    std::array<QRadioButton*, 5> optMode{};
    QGroupBox* Frame2 = nullptr;
    std::array<QRadioButton*, 5> optTone{};
    QGroupBox* Frame3 = nullptr;
    QCheckBox* chkStagger = nullptr;
    QTimer* Timer1 = nullptr;

    QMenu* mnuFile = nullptr;
    QAction* mnuFileOpen = nullptr;
    QAction* mnuFileSaveDisc = nullptr;
    QAction* mnuFileCompress = nullptr;
    QAction* mnuFileSep = nullptr;
    QAction* mnuFileExit = nullptr;
    PictureMenu mnuPicture;
    QMenu* mnuHelp = nullptr;
    QAction* mnuHelpAbout = nullptr;

    // The menus, windows and status line added around the form (WindowExtras.h).
    WindowExtras* extras = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void CreateControls();
    void CreateMenus();
    void ConnectHandlers();
    void SetTabOrder();
    void RefreshPictures();
    void ShowPalette(const Palette& palette);
    // Runs a conversion that writes the screen files and shows it, or on failure puts the
    // preview back and says why.
    void ShowConversion(const std::function<Palette()>& convert);

    ConversionDocument document_;

    std::unique_ptr<FileChooser> ownFileChooser_;
    std::unique_ptr<MessageBox> ownMessageBox_;
    std::unique_ptr<SettingsStore> ownSettings_;
    FileChooser* dlgCommonDialog_ = nullptr;
    MessageBox* messageBox_ = nullptr;
    SettingsStore* settings_ = nullptr;
    std::function<void(QWidget*)> showAbout_;
    std::unique_ptr<Clipboard> ownClipboard_;
    Clipboard* clipboard_ = nullptr;
    std::unique_ptr<PictureAdjuster> ownPictureAdjuster_;
    PictureAdjuster* pictureAdjuster_ = nullptr;
    // The VDU 19 commands of the last conversion's palette; empty for the MODE's own colours.
    std::string paletteCommands_;
};
