#pragma once

#include <QIcon>
#include <QStringList>
#include <QTreeWidget>
#include <QWidget>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "app/BackgroundWorker.h"
#include "screen/EncodedScreen.h"

class ConversionDocument;
class FileChooser;
class MessageBox;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class StatusLine;

// The list of the Disc window: drag and drop reorders its pictures, and picture files dropped
// onto it are added.
class DiscPictureList : public QTreeWidget {
    Q_OBJECT

public:
    using QTreeWidget::QTreeWidget;

signals:
    void Reordered();
    void FilesDropped(const QStringList& files);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};

// View > "Disc": the slideshow disc being put together from the window's conversions. Each
// picture shows its thumbnail as the monitor shows it, its MODE and its DFS name; they can be
// reordered, removed and renamed. A meter shows the sectors used of the disc's 400 or 800 and how
// many more pictures of the current MODE fit on 40 and 80 tracks, and "Save Disc Image..." writes
// them all as one bootable slideshow, double-sided when its name ends in .dsd. With File >
// "Compress Screens" the screens are counted and saved packed. Pictures can be added from files,
// several at once, each converted with the current settings on a worker thread.
class DiscWindow : public QWidget {
    Q_OBJECT

public:
    DiscWindow(QWidget* owner, ConversionDocument& document, FileChooser& chooser,
               MessageBox& messages, StatusLine& status);

    // The disc's size in tracks, as chosen: 80 or 40.
    int Tracks() const;

    // File > "Add to Disc": the last conversion, named after its picture. A full disc is refused
    // with a message naming how many fit.
    void AddLastConversion();
    // File > "Add Pictures to Disc..." and files dropped: each converted with the current settings
    // and added in order, unless together they do not fit (then nothing is converted). Those that
    // cannot be read are listed in one message at the end.
    void AddPictureFiles(const QStringList& files);
    void ChooseAndAddPictureFiles();
    bool Adding() const { return adder_.Busy(); }

    void MoveUp();
    void MoveDown();
    void RemoveSelected();
    // Gives the picture at row a DFS name of its own; a name that is refused is reported and the
    // old one kept.
    void Rename(int row, const QString& name);
    void SaveDisc();

    // Shows the document's list again, keeping the chosen row.
    void Refresh();
    // Shows the meter again, for the current MODE.
    void ShowCapacity();
    // File > "Compress Screens" checked or not: the disc is counted and saved so from now on.
    void SetCompress(bool compress);

    DiscPictureList* lstPictures = nullptr;
    QPushButton* cmdAdd = nullptr;
    QPushButton* cmdMoveUp = nullptr;
    QPushButton* cmdMoveDown = nullptr;
    QPushButton* cmdRemove = nullptr;
    QPushButton* cmdRename = nullptr;
    QComboBox* cmbTracks = nullptr;
    QProgressBar* barCapacity = nullptr;
    QLabel* lblCapacity = nullptr;
    QPushButton* cmdSave = nullptr;

private:
    void CreateControls();
    void TakeShownOrder();
    void AddConverted(const std::string& picture, EncodedScreen screen);
    void FinishAdding(std::size_t asked);
    int SelectedRow() const;
    void Select(int row);

    ConversionDocument& document_;
    FileChooser& chooser_;
    MessageBox& messages_;
    StatusLine& status_;
    bool refreshing_ = false;
    std::map<std::uint64_t, QIcon> thumbnails_;  // by entry id
    std::vector<std::string> addFailures_;       // of the files being added: "FILE: reason"
    std::size_t added_ = 0;
    BackgroundWorker adder_;  // last, so that it stops before the rest goes
};
