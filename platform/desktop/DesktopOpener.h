#pragma once

#include <QUrl>

// Opens a document or a web address in the program the desktop chooses for it (the browser for
// a web page). Tests replace it so that nothing starts.
class DesktopOpener {
public:
    virtual ~DesktopOpener() = default;
    // Whether the desktop took it on.
    virtual bool Open(const QUrl& url) = 0;
};

// The desktop's own handler (QDesktopServices, that is xdg-open on Linux).
class QtDesktopOpener : public DesktopOpener {
public:
    bool Open(const QUrl& url) override;
};
