// The About box "Info": the start-up picture above the program and maker lines, and "OK".
// It lives as long as the main window and is only shown and hidden (never modal).
#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace ymt {

class AboutBox : public QDialog {
public:
    explicit AboutBox(QWidget* parent = nullptr);
    // The seven lines below the picture.
    static QStringList textLines();
};

} // namespace ymt
