#pragma once

#include <QObject>
#include <memory>

class DesktopOpener;
class DiscWindow;
class FileChooser;
class LiveConversion;
class MessageBox;
class MonitorView;
class QAction;
class QMenu;
class StatusLine;
class frmMain;

// What the main window offers beyond its own form, added around it without changing it: the
// status line, File > "Save Screen As...", "Add to Disc" and "Add Pictures to Disc...", the View
// menu with the monitor view and the Disc window, Picture > "Convert as Options Change", Help >
// "User Guide", the shortcuts and the status tips of every menu item, Photo Settings checked
// while its recipe is in force and Stagger disabled while a kernel diffuses.
class WindowExtras : public QObject {
    Q_OBJECT

public:
    // The services the window already has, and the desktop's handler for the user guide (the
    // real one when none is given).
    struct Services {
        FileChooser* fileChooser = nullptr;
        MessageBox* messageBox = nullptr;
        DesktopOpener* desktop = nullptr;
    };

    WindowExtras(frmMain& window, Services services);
    ~WindowExtras() override;

    // File > "Save Screen As...": the last conversion's screen file and sidecar under a name
    // the user picks, written as the Convert command writes them.
    void mnuFileSaveScreenAs_Click();
    // A choice made outside the option buttons and the Picture menu's groups (the picture
    // adjustments, as their dialog's sliders move): converts at once when that is asked for.
    void OptionChosen();
    // Help > "User Guide": the installed guide (or the source tree's README) in the desktop's
    // handler for it.
    void mnuHelpUserGuide_Click();

    StatusLine* status = nullptr;
    MonitorView* monitor = nullptr;
    DiscWindow* disc = nullptr;
    LiveConversion* live = nullptr;

    QAction* mnuFileSaveScreenAs = nullptr;
    QAction* mnuFileAddToDisc = nullptr;
    QAction* mnuFileAddPictures = nullptr;
    QAction* mnuPictureLive = nullptr;
    QMenu* mnuView = nullptr;
    QAction* mnuViewMonitor = nullptr;
    QAction* mnuViewDisc = nullptr;
    QAction* mnuHelpUserGuide = nullptr;

private:
    void CreateMenus();
    void SetStatusTips();
    void ConnectOptions();
    void ShowConversion();
    void PictureChoicesChanged();

    frmMain& window_;
    FileChooser& chooser_;
    MessageBox& messages_;
    std::unique_ptr<DesktopOpener> ownDesktop_;
    DesktopOpener* desktop_ = nullptr;
};
