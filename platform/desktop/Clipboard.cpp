#include "platform/desktop/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

void QtClipboard::SetText(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}
