#pragma once

#include <QString>

class QWidget;

// A message to the user: OK button only, no icon, the application's title. Tests replace it so
// that nothing blocks.
class MessageBox {
public:
    virtual ~MessageBox() = default;
    virtual void Show(const QString& text) = 0;
};

// The real, modal message box, owned by the given window.
class QtMessageBox : public MessageBox {
public:
    explicit QtMessageBox(QWidget* owner) : owner_(owner) {}
    void Show(const QString& text) override;

private:
    QWidget* owner_;
};
