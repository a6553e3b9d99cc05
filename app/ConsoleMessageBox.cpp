#include "ConsoleMessageBox.h"

#include <QRegularExpression>

qint32 ConsoleMessageBox::Show(const QString& text, qint32 /*style*/, const QString& title) {
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = text.split(lineEnd);
    lines.prepend(title.isEmpty() ? QStringLiteral("Velmar") : title);
    for (const QString& line : lines)
        std::fprintf(m_stream, "%s\n", line.toLocal8Bit().constData());
    std::fflush(m_stream);
    return MsgBoxAnswer::Ok;
}
