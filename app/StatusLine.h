#pragma once

#include <QWidget>
#include <string>

class QLabel;
class QProgressBar;
class QStatusBar;

// The main window's status line: what the last command did, and what a long step is doing with
// its progress. It sits in the window's status bar as a permanent part of it, so a menu item's
// status tip covers it only while the item is highlighted.
class StatusLine : public QWidget {
    Q_OBJECT

public:
    explicit StatusLine(QStatusBar* bar);

    // Says what was done; ends any progress shown.
    void Say(const std::string& text);
    // Says what a long step is doing: done of total steps, or busy without a count when total
    // is 0.
    void Busy(const std::string& text, int done = 0, int total = 0);

    QString Text() const;
    bool ShowsProgress() const;

    QLabel* label = nullptr;
    QProgressBar* progress = nullptr;
};
