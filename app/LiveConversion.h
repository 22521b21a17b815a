#pragma once

#include <QObject>
#include <QTimer>

class frmMain;
class MessageBox;
class StatusLine;
class QAction;

// Picture > "Convert as Options Change": while it is checked, choosing a MODE, a halftone, Stagger
// or a Picture-menu choice converts at once, through the Convert command, so the files are
// written just as Convert writes them. Choices made together (Photo Settings sets four) convert
// once. A new Sampling or Fit samples the picture again on a worker thread first, with its
// progress in the status line, and the window stays responsive meanwhile; a choice made while
// that runs supersedes the one it was started for. Nothing converts before the first sampling
// pass of a picture, nor while that pass is still to come.
class LiveConversion : public QObject {
    Q_OBJECT

public:
    LiveConversion(frmMain& window, QAction& toggle, StatusLine& status, MessageBox& messages);

    // An option was chosen.
    void OptionChosen();

private:
    void Run();

    frmMain& window_;
    QAction& toggle_;
    StatusLine& status_;
    MessageBox& messages_;
    QTimer soon_;  // gathers the choices of one event into one conversion
};
