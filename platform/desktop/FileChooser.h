#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class QFileDialog;
class QWidget;

// What an Open dialog is asked to show: its title, the filters in the form "Name (*.a;*.b)"
// (the first one in force when it opens) and the folder it starts in.
struct OpenFileRequest {
    QString title;
    QStringList filters;
    QString startFolder;
};

// What a Save dialog is asked to show: its title, the filters (the first one in force, and its
// extension added to a name typed without one), the file name it suggests and its folder.
struct SaveFileRequest {
    QString title;
    QStringList filters;
    QString suggestedName;
    QString startFolder;
};

// Lets the user choose one file to open, or a file to save to. Tests replace it so that nothing
// blocks.
class FileChooser {
public:
    virtual ~FileChooser() = default;
    // The full path of the chosen file, or empty text when the user cancels.
    virtual QString ShowOpen(const OpenFileRequest& request) = 0;
    // The full paths of the files chosen, several at once; none when the user cancels.
    virtual QStringList ShowOpenMany(const OpenFileRequest& request) = 0;
    // The full path to save to, or empty text when the user cancels. Replacing an existing file
    // has been confirmed by the user.
    virtual QString ShowSave(const SaveFileRequest& request) = 0;
};

// The real, modal Open dialog, owned by the given window.
class QtFileChooser : public FileChooser {
public:
    explicit QtFileChooser(QWidget* owner) : owner_(owner) {}
    QString ShowOpen(const OpenFileRequest& request) override;
    QStringList ShowOpenMany(const OpenFileRequest& request) override;
    QString ShowSave(const SaveFileRequest& request) override;

private:
    QWidget* owner_;
};

// The dialog QtFileChooser shows, set up but not yet shown. Filters list the files matching any
// of their patterns, whatever the case of the name, and "*.*" lists every file.
std::unique_ptr<QFileDialog> MakeOpenFileDialog(QWidget* owner, const OpenFileRequest& request);

// The Save dialog QtFileChooser shows, set up but not yet shown.
std::unique_ptr<QFileDialog> MakeSaveFileDialog(QWidget* owner, const SaveFileRequest& request);

// The patterns of one filter: "Picture File (*.bmp;*.jpg)" gives *.bmp and *.jpg. "*.*" stands
// for every file and gives no pattern at all, which is how an unfiltered listing is asked for.
QStringList FilterPatterns(const QString& filter);
