#include "platform/desktop/DesktopOpener.h"

#include <QDesktopServices>

bool QtDesktopOpener::Open(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}
