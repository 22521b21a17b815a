#include "platform/desktop/MessageBox.h"

#include <QMessageBox>

#include "platform/desktop/ApplicationTitle.h"

void QtMessageBox::Show(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(kApplicationTitle), text,
                    QMessageBox::Ok, owner_);
    box.exec();
}
