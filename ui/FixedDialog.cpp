#include "FixedDialog.h"

#include <QKeyEvent>

#include "FormLayout.h"

FixedDialog::FixedDialog(QWidget* owner, const QString& caption, int widthTwips, int heightTwips)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                         Qt::MSWindowsFixedSizeDialogHint) {
    setWindowTitle(caption);
    setFont(DefaultFormFont());
    setFixedSize(Twips(widthTwips), Twips(heightTwips));
}

void FixedDialog::keyPressEvent(QKeyEvent* event) {
    // These windows have no cancel button, so Escape must not close them.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

QPushButton* FixedDialog::Button(QWidget* parent, const char* name, const QString& text, int left,
                                 int top, int width, int height) {
    auto* button = Place(new QPushButton(text, parent), name, left, top, width, height);
    button->setAutoDefault(false);
    return button;
}
