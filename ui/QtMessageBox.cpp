#include "QtMessageBox.h"

#include <QApplication>

namespace {

const QString kProgramName = QStringLiteral("Velmar");

QMessageBox::Icon IconOf(qint32 style) {
    switch (style & 0xF0) {
        case 16:
            return QMessageBox::Critical;
        case 48:
            return QMessageBox::Warning;
        case 64:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

QMessageBox::StandardButtons ButtonsOf(qint32 style) {
    switch (style & 0x0F) {
        case 1:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case 2:
            return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
        case 5:
            return QMessageBox::Retry | QMessageBox::Cancel;
        default:
            return QMessageBox::Ok;
    }
}

}  // namespace

void QtMessageBox::Configure(QMessageBox& box, const QString& text, qint32 style,
                             const QString& title) {
    box.setWindowTitle(title.isEmpty() ? kProgramName : title);
    box.setText(text);
    box.setIcon(IconOf(style));
    box.setStandardButtons(ButtonsOf(style));
}

qint32 QtMessageBox::AnswerCode(int button) {
    switch (button) {
        case QMessageBox::Cancel:
            return MsgBoxAnswer::Cancel;
        case QMessageBox::Abort:
            return MsgBoxAnswer::Abort;
        case QMessageBox::Retry:
            return MsgBoxAnswer::Retry;
        case QMessageBox::Ignore:
            return MsgBoxAnswer::Ignore;
        default:
            return MsgBoxAnswer::Ok;
    }
}

qint32 QtMessageBox::Show(const QString& text, qint32 style, const QString& title) {
    // Owned by the active window, so it shows above a dialog that stays on top.
    QMessageBox box(QApplication::activeWindow());
    Configure(box, text, style, title);
    return AnswerCode(box.exec());
}
