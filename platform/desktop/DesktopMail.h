#pragma once

#include <QString>
#include <QUrl>
#include <functional>

#include "platform/desktop/Mail.h"

// The mail system of a Linux desktop: a message is composed in the user's own mail program
// through a mailto: link (QDesktopServices, i.e. xdg-open). Signing on never prompts.
class DesktopMailSession : public MailSession {
public:
    void SignOn() override;
    std::int32_t SessionID() override;
    void SignOff() override;
    // The identifier of the open session, or 0 when none is open.
    std::int32_t OpenSession() const { return session_; }

private:
    std::int32_t session_ = 0;
    std::int32_t lastSession_ = 0;
};

// Hands a link to the desktop; false when nothing could take it.
using UrlOpener = std::function<bool(const QUrl&)>;

class DesktopMailMessages : public MailMessages {
public:
    // opener defaults to QDesktopServices::openUrl.
    explicit DesktopMailMessages(const DesktopMailSession& session, UrlOpener opener = {});

    void SetSessionID(std::int32_t id) override;
    void Compose() override;
    void SetRecipAddress(const QString& address) override;
    void SetRecipDisplayName(const QString& name) override;
    void SetAction(std::int16_t action) override;

private:
    void RequireSession() const;
    void RequireMessage() const;

    const DesktopMailSession& session_;
    UrlOpener opener_;
    std::int32_t sessionId_ = 0;
    bool composing_ = false;
    QString address_;
    QString displayName_;
};

// The mailto: link that opens a new message to address, with subject and text left empty. Every
// character that could add a header or a second recipient ('?', '&', ',', '#', '%' ...) is
// escaped, so the address stays one address.
QUrl MailtoUrl(const QString& address);
