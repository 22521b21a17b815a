#include "app/PictureToOpen.h"

#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

std::optional<QString> PictureFromArguments(int argc, const char* const* argv) {
    if (argc < 2) return std::nullopt;
    return QFileInfo(QFile::decodeName(argv[1])).absoluteFilePath();
}

std::optional<QString> DroppedPicture(const QMimeData& data) {
    const QList<QUrl> urls = data.urls();
    if (urls.isEmpty() || !urls.first().isLocalFile()) return std::nullopt;
    return urls.first().toLocalFile();
}
