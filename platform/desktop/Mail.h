#pragma once

#include <QString>
#include <cstdint>
#include <stdexcept>

// The mail system in two small objects, as the contact mail drives it: a session, and the
// messages composed in it. Every failing call raises MailError.
class MailError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class MailSession {
public:
    virtual ~MailSession() = default;
    virtual void SignOn() = 0;
    // The signed-on session's identifier.
    virtual std::int32_t SessionID() = 0;
    virtual void SignOff() = 0;
};

// Action 2: hand the composed message to the mail system's own send dialog, where the user
// writes subject and text and sends or cancels.
inline constexpr std::int16_t kMailActionSend = 2;

class MailMessages {
public:
    virtual ~MailMessages() = default;
    virtual void SetSessionID(std::int32_t id) = 0;
    // Starts a new, empty outgoing message.
    virtual void Compose() = 0;
    virtual void SetRecipAddress(const QString& address) = 0;
    virtual void SetRecipDisplayName(const QString& name) = 0;
    virtual void SetAction(std::int16_t action) = 0;
};
