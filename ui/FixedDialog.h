#pragma once

#include <QDialog>
#include <QPushButton>

// A window with a fixed dialog border: fixed client size, a close button, no minimise or
// maximise button. Escape does nothing, and no button is the default unless one is made so.
class FixedDialog : public QDialog {
public:
    FixedDialog(QWidget* owner, const QString& caption, int widthTwips, int heightTwips);

protected:
    void keyPressEvent(QKeyEvent* event) override;

    // A push button that Enter does not press unless it is made the default.
    static QPushButton* Button(QWidget* parent, const char* name, const QString& text, int left,
                               int top, int width, int height);
};
