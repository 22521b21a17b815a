#include "app/DiscWindow.h"

#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <exception>
#include <filesystem>
#include <new>

#include "app/ConversionDocument.h"
#include "app/ConversionSettings.h"
#include "app/MonitorPicture.h"
#include "app/StatusLine.h"
#include "app/StatusText.h"
#include "disc/DfsCatalogue.h"
#include "pipeline/Pipeline.h"
#include "platform/desktop/FileChooser.h"
#include "platform/desktop/MessageBox.h"
#include "platform/files/ControlEscapes.h"
#include "platform/files/FileError.h"
#include "screen/DisplayScreen.h"

namespace {

constexpr int kThumbnailWidth = 96;  // 4:3, as the monitor shows it
constexpr int kThumbnailHeight = 72;

QString Text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

QString NameText(const std::string& path) {
    return Text(WithControlsEscaped(path));
}

std::string FileName(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

QIcon Thumbnail(const EncodedScreen& screen) {
    const PictureBox display = DisplayScreen(screen);
    return QIcon(QPixmap::fromImage(ImageOf(display).scaled(
        kThumbnailWidth, kThumbnailHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
}

QList<QUrl> LocalFiles(const QMimeData* data) {
    QList<QUrl> files;
    if (data == nullptr) return files;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) files.push_back(url);
    }
    return files;
}

// "2 pictures, 247 of 800 sectors used"
std::string DiscListSummary(const DiscList& disc, int tracks) {
    const std::size_t count = disc.Size();
    return std::to_string(count) + (count == 1 ? " picture, " : " pictures, ") +
           std::to_string(disc.SectorsUsed()) + " of " +
           std::to_string(tracks * kDfsSectorsPerTrack) + " sectors used";
}

}  // namespace

void DiscPictureList::dragEnterEvent(QDragEnterEvent* event) {
    if (!LocalFiles(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
        return;
    }
    QTreeWidget::dragEnterEvent(event);
}

void DiscPictureList::dragMoveEvent(QDragMoveEvent* event) {
    if (!LocalFiles(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
        return;
    }
    QTreeWidget::dragMoveEvent(event);
}

void DiscPictureList::dropEvent(QDropEvent* event) {
    const QList<QUrl> files = LocalFiles(event->mimeData());
    if (!files.isEmpty() && event->source() == nullptr) {
        event->acceptProposedAction();
        QStringList paths;
        for (const QUrl& url : files) paths.push_back(url.toLocalFile());
        emit FilesDropped(paths);
        return;
    }
    QTreeWidget::dropEvent(event);
    emit Reordered();
}

DiscWindow::DiscWindow(QWidget* owner, ConversionDocument& document, FileChooser& chooser,
                       MessageBox& messages, StatusLine& status)
    : QWidget(owner, Qt::Window),
      document_(document),
      chooser_(chooser),
      messages_(messages),
      status_(status) {
    setWindowTitle(QStringLiteral("Disc"));
    CreateControls();
    Refresh();
    resize(520, 460);
}

void DiscWindow::CreateControls() {
    lstPictures = new DiscPictureList(this);
    lstPictures->setHeaderLabels(
        {QStringLiteral("Name"), QStringLiteral("MODE"), QStringLiteral("Picture")});
    lstPictures->setRootIsDecorated(false);
    lstPictures->setIconSize(QSize(kThumbnailWidth, kThumbnailHeight));
    lstPictures->setDragDropMode(QAbstractItemView::DragDrop);
    lstPictures->setDefaultDropAction(Qt::MoveAction);
    lstPictures->setDragEnabled(true);
    lstPictures->setAcceptDrops(true);
    lstPictures->setEditTriggers(QAbstractItemView::EditKeyPressed);
    lstPictures->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    lstPictures->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);

    cmdAdd = new QPushButton(QStringLiteral("&Add Pictures..."), this);
    cmdMoveUp = new QPushButton(QStringLiteral("Move &Up"), this);
    cmdMoveDown = new QPushButton(QStringLiteral("Move &Down"), this);
    cmdRemove = new QPushButton(QStringLiteral("&Remove"), this);
    cmdRename = new QPushButton(QStringLiteral("Re&name"), this);
    cmbTracks = new QComboBox(this);
    cmbTracks->addItems({QStringLiteral("80 tracks"), QStringLiteral("40 tracks")});
    auto* tracksLabel = new QLabel(QStringLiteral("Disc &size:"), this);
    tracksLabel->setBuddy(cmbTracks);
    barCapacity = new QProgressBar(this);
    barCapacity->setTextVisible(false);
    lblCapacity = new QLabel(this);
    lblCapacity->setWordWrap(true);
    cmdSave = new QPushButton(QStringLiteral("&Save Disc Image..."), this);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {cmdAdd, cmdMoveUp, cmdMoveDown, cmdRemove, cmdRename})
        buttons->addWidget(button);
    buttons->addStretch();
    auto* list = new QHBoxLayout;
    list->addWidget(lstPictures, 1);
    list->addLayout(buttons);
    auto* disc = new QHBoxLayout;
    disc->addWidget(tracksLabel);
    disc->addWidget(cmbTracks);
    disc->addWidget(barCapacity, 1);
    disc->addWidget(cmdSave);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(list, 1);
    layout->addLayout(disc);
    layout->addWidget(lblCapacity);

    connect(cmdAdd, &QPushButton::clicked, this, [this] { ChooseAndAddPictureFiles(); });
    connect(cmdMoveUp, &QPushButton::clicked, this, [this] { MoveUp(); });
    connect(cmdMoveDown, &QPushButton::clicked, this, [this] { MoveDown(); });
    connect(cmdRemove, &QPushButton::clicked, this, [this] { RemoveSelected(); });
    connect(cmdRename, &QPushButton::clicked, this, [this] {
        if (QTreeWidgetItem* item = lstPictures->currentItem()) lstPictures->editItem(item, 0);
    });
    connect(cmdSave, &QPushButton::clicked, this, [this] { SaveDisc(); });
    connect(cmbTracks, &QComboBox::currentIndexChanged, this, [this] { ShowCapacity(); });
    // Once the drag has ended: the list is rebuilt, which the drag must not see.
    connect(
        lstPictures, &DiscPictureList::Reordered, this, [this] { TakeShownOrder(); },
        Qt::QueuedConnection);
    connect(lstPictures, &DiscPictureList::FilesDropped, this,
            [this](const QStringList& files) { AddPictureFiles(files); });
    connect(lstPictures, &QTreeWidget::itemChanged, this,
            [this](QTreeWidgetItem* item, int column) {
                if (!refreshing_ && column == 0)
                    Rename(lstPictures->indexOfTopLevelItem(item), item->text(0));
            });
    connect(lstPictures, &QTreeWidget::currentItemChanged, this, [this] { ShowCapacity(); });
}

int DiscWindow::Tracks() const {
    return cmbTracks->currentIndex() == 1 ? 40 : 80;
}

int DiscWindow::SelectedRow() const {
    return lstPictures->currentItem() == nullptr
               ? -1
               : lstPictures->indexOfTopLevelItem(lstPictures->currentItem());
}

void DiscWindow::Select(int row) {
    if (row >= 0 && row < lstPictures->topLevelItemCount())
        lstPictures->setCurrentItem(lstPictures->topLevelItem(row));
}

void DiscWindow::Refresh() {
    const int row = SelectedRow();
    refreshing_ = true;
    lstPictures->clear();
    const DiscList& disc = document_.Disc();
    const std::vector<std::string> names = disc.Names();
    for (std::size_t i = 0; i < disc.Size(); ++i) {
        const DiscEntry& entry = disc.Entries()[i];
        auto* item = new QTreeWidgetItem(lstPictures);
        auto icon = thumbnails_.find(entry.id);
        if (icon == thumbnails_.end())
            icon = thumbnails_.emplace(entry.id, Thumbnail(entry.screen)).first;
        item->setIcon(0, icon->second);
        item->setText(0, Text(names[i]));
        item->setText(1, QString::number(ModeNumber(entry.screen.screenMode)));
        item->setText(2, NameText(FileName(entry.picture)));
        item->setToolTip(2, NameText(entry.picture));
        item->setData(0, Qt::UserRole, QVariant::fromValue<qulonglong>(entry.id));
        // Moved by dragging, never dropped into.
        item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable |
                       Qt::ItemIsDragEnabled);
    }
    refreshing_ = false;
    Select(std::min(row, lstPictures->topLevelItemCount() - 1));
    ShowCapacity();
}

void DiscWindow::ShowCapacity() {
    const DiscList& disc = document_.Disc();
    const int tracks = Tracks();
    const int sectors = tracks * kDfsSectorsPerTrack;
    const int used = disc.SectorsUsed();
    barCapacity->setRange(0, sectors);
    barCapacity->setValue(std::min(used, sectors));
    const int mode = ConversionSettings.ScreenMode;
    const bool packed = disc.Compress();
    std::string text = std::to_string(used) + " of " + std::to_string(sectors) + " sectors used" +
                       (packed ? " with the screens compressed" : "");
    if (used > sectors) {
        text += ": too many pictures for " + std::to_string(tracks) + " tracks";
    } else {
        // A picture not yet converted cannot be packed: those to come count as they are.
        text += ". Room for " + std::to_string(disc.MoreThatFit(mode, 80)) + " more MODE " +
                std::to_string(mode) + (packed ? " pictures uncompressed" : " pictures") +
                " on 80 tracks, " + std::to_string(disc.MoreThatFit(mode, 40)) + " on 40.";
    }
    lblCapacity->setText(Text(text));
    const QString tip = packed ? QStringLiteral(
                                     "Sectors used by the screens as packed (File > Compress "
                                     "Screens); the pictures still to come are counted "
                                     "uncompressed, so more may fit")
                               : QString();
    lblCapacity->setToolTip(tip);
    barCapacity->setToolTip(tip);
    const int row = SelectedRow();
    const bool busy = adder_.Busy();
    cmdMoveUp->setEnabled(row > 0);
    cmdMoveDown->setEnabled(row >= 0 && row + 1 < static_cast<int>(disc.Size()));
    cmdRemove->setEnabled(row >= 0);
    cmdRename->setEnabled(row >= 0);
    cmdSave->setEnabled(disc.Size() > 0);
    cmdAdd->setEnabled(!busy);
}

void DiscWindow::SetCompress(bool compress) {
    document_.Disc().SetCompress(compress);
    ShowCapacity();
}

void DiscWindow::TakeShownOrder() {
    // The list has moved its items itself; the disc follows the order shown.
    DiscList& disc = document_.Disc();
    for (int row = 0; row < lstPictures->topLevelItemCount(); ++row) {
        const auto id = lstPictures->topLevelItem(row)->data(0, Qt::UserRole).toULongLong();
        for (std::size_t at = 0; at < disc.Size(); ++at) {
            if (disc.Entries()[at].id == id) disc.Move(at, static_cast<std::size_t>(row));
        }
    }
    QTreeWidgetItem* current = lstPictures->currentItem();
    const int row = current ? lstPictures->indexOfTopLevelItem(current) : -1;
    Refresh();
    Select(row);
}

void DiscWindow::MoveUp() {
    const int row = SelectedRow();
    if (row <= 0) return;
    document_.Disc().Move(static_cast<std::size_t>(row), static_cast<std::size_t>(row - 1));
    Refresh();
    Select(row - 1);
}

void DiscWindow::MoveDown() {
    const int row = SelectedRow();
    if (row < 0 || row + 1 >= static_cast<int>(document_.Disc().Size())) return;
    document_.Disc().Move(static_cast<std::size_t>(row), static_cast<std::size_t>(row + 1));
    Refresh();
    Select(row + 1);
}

void DiscWindow::RemoveSelected() {
    const int row = SelectedRow();
    if (row < 0) return;
    thumbnails_.erase(document_.Disc().Entries()[static_cast<std::size_t>(row)].id);
    document_.Disc().Remove(static_cast<std::size_t>(row));
    Refresh();
}

void DiscWindow::Rename(int row, const QString& name) {
    if (row < 0) return;
    const std::string refusal =
        document_.Disc().Rename(static_cast<std::size_t>(row), name.trimmed().toStdString());
    // Shown again either way: in capitals, or with the old name back.
    QMetaObject::invokeMethod(
        this, [this] { Refresh(); }, Qt::QueuedConnection);
    if (!refusal.empty())
        messages_.Show("Cannot Rename : " + NameText(name.toStdString()) + "\n\n" + Text(refusal));
}

void DiscWindow::AddLastConversion() {
    const auto& last = document_.LastConversion();
    if (!last) return;
    const int mode = ModeNumber(last->screen.screenMode);
    const std::string refusal = document_.Disc().RefusalToAdd(1, mode, Tracks());
    if (!refusal.empty()) {
        messages_.Show(Text(refusal));
        return;
    }
    document_.Disc().Add(last->picture, document_.DiscStem(), last->screen);
    Refresh();
    Select(static_cast<int>(document_.Disc().Size()) - 1);
    status_.Say("Added " + document_.Disc().Names().back() + " (MODE " + std::to_string(mode) +
                ") to the disc: " + DiscListSummary(document_.Disc(), Tracks()));
}

void DiscWindow::ChooseAndAddPictureFiles() {
    const std::string first =
        document_.OpenedPicture().empty()
            ? std::string()
            : std::filesystem::path(document_.OpenedPicture()).parent_path().string();
    const OpenFileRequest request{
        QStringLiteral("Add Pictures to Disc"),
        {QStringLiteral("Picture File (*.bmp;*.jpg)"), QStringLiteral("All Files (*.*)")},
        Text(first)};
    AddPictureFiles(chooser_.ShowOpenMany(request));
}

void DiscWindow::AddPictureFiles(const QStringList& files) {
    if (files.isEmpty()) return;
    if (adder_.Busy()) {
        messages_.Show(QStringLiteral("Pictures are still being added to the disc."));
        return;
    }
    const ConversionChoices choices = ChoicesOf(ConversionSettings);
    const std::string refusal = document_.Disc().RefusalToAdd(
        static_cast<int>(files.size()), ModeNumber(choices.screenMode), Tracks());
    if (!refusal.empty()) {
        messages_.Show(Text(refusal));
        return;
    }
    std::vector<std::string> paths;
    for (const QString& file : files) paths.push_back(file.toStdString());
    addFailures_.clear();
    added_ = 0;
    const int total = static_cast<int>(paths.size());
    status_.Busy("Adding " + FileName(paths[0]) + " to the disc...", 0, total);
    ShowCapacity();
    adder_.Start([this, paths, choices, total](const BackgroundWorker::Post& post) {
        for (std::size_t i = 0; i < paths.size(); ++i) {
            const std::string& path = paths[i];
            std::string failure;
            try {
                post([this, path, screen = ConvertPictureFile(path, choices)]() mutable {
                    AddConverted(path, std::move(screen));
                });
            } catch (const FileError& error) {
                failure = error.what();
            } catch (const std::bad_alloc&) {
                failure = path + ": not enough memory for this picture";
            } catch (const std::exception& error) {
                failure = path + ": " + error.what();
            }
            const std::string next = i + 1 < paths.size() ? FileName(paths[i + 1]) : "";
            post([this, failure, next, done = static_cast<int>(i) + 1, total] {
                if (!failure.empty()) addFailures_.push_back(failure);
                if (!next.empty()) status_.Busy("Adding " + next + " to the disc...", done, total);
            });
        }
        return [this, count = paths.size()] { FinishAdding(count); };
    });
}

void DiscWindow::AddConverted(const std::string& picture, EncodedScreen screen) {
    // Checked again: the disc may have filled up since the pictures were asked for.
    const std::string refusal =
        document_.Disc().RefusalToAdd(1, ModeNumber(screen.screenMode), Tracks());
    if (!refusal.empty()) {
        addFailures_.push_back(picture + ": " + refusal);
        return;
    }
    document_.Disc().Add(picture, std::filesystem::path(picture).stem().string(),
                         std::move(screen));
    ++added_;
    Refresh();
}

void DiscWindow::FinishAdding(std::size_t asked) {
    ShowCapacity();
    std::string text = "Added " + std::to_string(added_) + " of " + std::to_string(asked) +
                       " pictures to the disc: " + DiscListSummary(document_.Disc(), Tracks());
    status_.Say(text);
    if (addFailures_.empty()) return;
    QString message = QStringLiteral("Cannot Add Pictures :\n");
    for (const std::string& failure : addFailures_) message += "\n" + NameText(failure);
    messages_.Show(message);
}

void DiscWindow::SaveDisc() {
    const DiscList& disc = document_.Disc();
    if (disc.Size() == 0) return;
    const std::filesystem::path first(disc.Entries().front().picture);
    const SaveFileRequest request{
        QStringLiteral("Save Disc Image"),
        {QStringLiteral("Disc Image (*.ssd)"), QStringLiteral("Double-Sided Disc Image (*.dsd)")},
        QStringLiteral("slideshow.ssd"),
        Text(first.parent_path().string())};
    const QString fileName = chooser_.ShowSave(request);
    if (fileName.isEmpty()) return;
    const std::string path = fileName.toStdString();
    DiscSummary summary;
    try {
        summary = disc.Save(path, Tracks());
    } catch (const FileError& error) {
        messages_.Show("Cannot Write File : " + NameText(error.Path()) + "\n\n" +
                       Text(error.Reason()));
        return;
    }
    status_.Say(SavedDiscText(path, summary, disc.Compress()));
}
