#include "platform/desktop/StartFolder.h"

#include <QDir>
#include <QFileInfo>

#include "platform/files/DrivePath.h"

QString StartFolder(const QString& rememberedPath) {
    const QString local = QString::fromStdString(ToLocalPath(rememberedPath.toStdString()));
    if (!local.isEmpty()) {
        QFileInfo info(local);
        QString folder = info.isDir() ? info.absoluteFilePath() : info.absolutePath();
        // Walk up past folders that have gone since, but never to a relative guess.
        while (QFileInfo(folder).isAbsolute() && !QFileInfo(folder).isDir()) {
            const QString parent = QFileInfo(folder).absolutePath();
            if (parent == folder) break;
            folder = parent;
        }
        if (QFileInfo(folder).isDir()) return QDir::cleanPath(folder);
    }
    return QDir::homePath();
}
