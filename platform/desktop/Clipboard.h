#pragma once

#include <QString>

// The system clipboard, for text. Tests replace it so that they leave the user's clipboard
// alone.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual void SetText(const QString& text) = 0;
};

// The application's real clipboard.
class QtClipboard : public Clipboard {
public:
    void SetText(const QString& text) override;
};
