#include "platform/desktop/FileChooser.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QRegularExpression>

namespace {

// Qt reads a filter's patterns as a space-separated list, so "*.bmp;*.jpg" would be one pattern
// matching nothing, and "*.*" would hide files without a dot. The dialog's own model therefore
// gets the patterns worked out here whenever a filter comes into force.
void ApplyFilter(QFileDialog& dialog, const QString& filter) {
    if (auto* model = dialog.findChild<QFileSystemModel*>()) {
        model->setNameFilters(FilterPatterns(filter));
    }
}

}  // namespace

QStringList FilterPatterns(const QString& filter) {
    static const QRegularExpression inParentheses(QStringLiteral("\\(([^()]*)\\)\\s*$"));
    const QRegularExpressionMatch match = inParentheses.match(filter);
    const QString list = match.hasMatch() ? match.captured(1) : filter;
    static const QRegularExpression separators(QStringLiteral("[;\\s]+"));
    QStringList patterns = list.split(separators, Qt::SkipEmptyParts);
    if (patterns.contains(QStringLiteral("*.*")) || patterns.contains(QStringLiteral("*"))) {
        return {};
    }
    return patterns;
}

std::unique_ptr<QFileDialog> MakeOpenFileDialog(QWidget* owner, const OpenFileRequest& request) {
    auto dialog = std::make_unique<QFileDialog>(owner, request.title, request.startFolder);
    // Qt's own dialog, whatever the desktop offers, so that the filters behave as described.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setNameFilters(request.filters);
    if (!request.filters.isEmpty()) {
        dialog->selectNameFilter(request.filters.front());
        ApplyFilter(*dialog, request.filters.front());
    }
    QFileDialog* raw = dialog.get();
    // Emitted after the dialog has applied its own reading of the newly chosen filter.
    QObject::connect(raw, &QFileDialog::filterSelected, raw,
                     [raw](const QString& filter) { ApplyFilter(*raw, filter); });
    return dialog;
}

std::unique_ptr<QFileDialog> MakeSaveFileDialog(QWidget* owner, const SaveFileRequest& request) {
    auto dialog = std::make_unique<QFileDialog>(owner, request.title, request.startFolder);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setNameFilters(request.filters);
    if (!request.filters.isEmpty()) {
        const QStringList patterns = FilterPatterns(request.filters.front());
        // "*.ssd" gives "ssd": a name typed without an extension gets the filter's.
        if (!patterns.isEmpty() && patterns.front().startsWith(QStringLiteral("*."))) {
            dialog->setDefaultSuffix(patterns.front().mid(2));
        }
    }
    dialog->selectFile(request.suggestedName);
    return dialog;
}

QString QtFileChooser::ShowSave(const SaveFileRequest& request) {
    const std::unique_ptr<QFileDialog> dialog = MakeSaveFileDialog(owner_, request);
    if (dialog->exec() != QDialog::Accepted) return {};
    const QStringList chosen = dialog->selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.front();
}

QString QtFileChooser::ShowOpen(const OpenFileRequest& request) {
    const std::unique_ptr<QFileDialog> dialog = MakeOpenFileDialog(owner_, request);
    if (dialog->exec() != QDialog::Accepted) return {};
    const QStringList chosen = dialog->selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.front();
}

QStringList QtFileChooser::ShowOpenMany(const OpenFileRequest& request) {
    const std::unique_ptr<QFileDialog> dialog = MakeOpenFileDialog(owner_, request);
    dialog->setFileMode(QFileDialog::ExistingFiles);
    if (dialog->exec() != QDialog::Accepted) return {};
    return dialog->selectedFiles();
}
