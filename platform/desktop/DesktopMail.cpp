#include "platform/desktop/DesktopMail.h"

#include <QDesktopServices>

void DesktopMailSession::SignOn() {
    if (session_ != 0) return;  // already signed on: the same session
    lastSession_ = lastSession_ == INT32_MAX ? 1 : lastSession_ + 1;
    session_ = lastSession_;
}

std::int32_t DesktopMailSession::SessionID() {
    if (session_ == 0) throw MailError("not signed on to the mail system");
    return session_;
}

void DesktopMailSession::SignOff() {
    if (session_ == 0) throw MailError("not signed on to the mail system");
    session_ = 0;
}

DesktopMailMessages::DesktopMailMessages(const DesktopMailSession& session, UrlOpener opener)
    : session_(session), opener_(std::move(opener)) {
    if (!opener_) opener_ = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
}

void DesktopMailMessages::RequireSession() const {
    if (sessionId_ == 0 || sessionId_ != session_.OpenSession()) {
        throw MailError("the mail session is not open");
    }
}

void DesktopMailMessages::RequireMessage() const {
    RequireSession();
    if (!composing_) throw MailError("no message is being composed");
}

void DesktopMailMessages::SetSessionID(std::int32_t id) {
    sessionId_ = id;
}

void DesktopMailMessages::Compose() {
    RequireSession();
    composing_ = true;
    address_.clear();
    displayName_.clear();
}

void DesktopMailMessages::SetRecipAddress(const QString& address) {
    RequireMessage();
    address_ = address;
}

void DesktopMailMessages::SetRecipDisplayName(const QString& name) {
    RequireMessage();
    displayName_ = name;
}

void DesktopMailMessages::SetAction(std::int16_t action) {
    RequireMessage();
    if (action != kMailActionSend) throw MailError("unsupported mail action");
    if (address_.trimmed().isEmpty()) throw MailError("the message has no recipient");
    if (!opener_(MailtoUrl(address_))) throw MailError("no mail program could take the message");
    composing_ = false;
}

QUrl MailtoUrl(const QString& address) {
    const QByteArray encoded = QUrl::toPercentEncoding(address, "@+");
    return QUrl(QStringLiteral("mailto:") + QString::fromLatin1(encoded), QUrl::StrictMode);
}
